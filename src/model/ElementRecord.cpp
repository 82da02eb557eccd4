// The element record of the schematic file: the header line with geometry and
// parameter state, and one body line per written parameter.
#include "model/TBaseElement.h"
#include "params/ValueText.h"

void TBaseElement::SaveToStrings(std::vector<std::string>& list) const {
    // Appended piece by piece: GCC 12 misreports `"," + std::string` chains (-Wrestrict).
    std::string header = Name();
    auto field = [&header](char sep, const std::string& text) {
        header += sep;
        header += text;
    };
    field(':', std::to_string(Left));
    field(',', std::to_string(Top));
    field(',', std::to_string(FAngle));
    field(',', GetXFlip() ? "1" : "0");
    field(',', GetYFlip() ? "1" : "0");
    if (ModelParamDefs) field(',', AutoModel ? "1" : "0");
    if (DbSection) {
        field('(', ManualRefs ? "1" : "0");
        field(',', DeviceType);
        header += ')';
    }
    if (ModelMethods) {
        field('[', std::to_string(MethodIndex));
        header += ']';
    }
    list.push_back(header);

    auto body = [&list](const ParamValue& v) {
        list.push_back(std::string(" ") + v.Def->Name + "=" + FormatValueText(v));
    };
    const int nRef = ParamRowCount(RefParamDefs);
    if (ManualRefs || !DbSection)
        for (int i = 0; i < nRef; ++i) body(ParamValues[std::size_t(i)]);
    if (!AutoModel)
        for (std::size_t i = std::size_t(nRef); i < ParamValues.size(); ++i)
            if (RowBelongsToMethod(*ParamValues[i].Def, MethodIndex)) body(ParamValues[i]);
}

namespace {

// Reads the header fields in order; every number follows exactly one
// separator character. A short or damaged header stops quietly.
class HeaderReader {
public:
    explicit HeaderReader(std::string_view text) : text_(text) {}
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    bool AtEnd() const { return pos_ >= text_.size(); }
    void Skip() {
        if (pos_ < text_.size()) ++pos_;
    }
    long NextInt() {
        Skip();
        long v = 0;
        pos_ += ParseInt(text_.substr(std::min(pos_, text_.size())), v);
        return v;
    }
    std::string UpTo(char stop) {
        const auto end = text_.find(stop, pos_);
        const std::size_t e = end == std::string_view::npos ? text_.size() : end;
        std::string s(text_.substr(pos_, e - pos_));
        pos_ = e;
        return s;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

int TBaseElement::LoadFromStrings(std::string_view header, const std::vector<std::string>& list,
                                  int index) {
    HeaderReader r(header);
    Left = int(r.NextInt());
    Top = int(r.NextInt());
    SetAngle(int(r.NextInt()));
    SetXFlip(r.NextInt() != 0);
    SetYFlip(r.NextInt() != 0);
    if (r.Peek() == ',') AutoModel = r.NextInt() != 0;
    if (r.Peek() == '(') {
        ManualRefs = r.NextInt() != 0;
        r.Skip();
        const std::string type = r.UpTo(')');
        r.Skip();
        if (ManualRefs) DeviceType = type;
        else LoadDeviceType(type);
    }
    if (r.Peek() == '[') MethodIndex = int(r.NextInt());

    int i = index + 1;
    for (; i < int(list.size()); ++i) {
        const std::string& line = list[std::size_t(i)];
        if (line.empty() || line[0] != ' ' || line == "EOE") break;
        const auto eq = line.find('=');
        const std::string name = line.substr(1, eq == std::string::npos ? std::string::npos : eq - 1);
        if (ParamValue* v = FindParam(name))
            ParseValueText(eq == std::string::npos ? std::string_view{}
                                                   : std::string_view(line).substr(eq + 1),
                           *v);
    }
    if (AutoModel) CalcModelParams();
    return i;
}
