// The element record of the schematic file: the header line with geometry and
// parameter state, and one body line per written parameter.
#include "model/Messages.h"
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
        for (int i = 0; i < nRef; ++i)
            body(ParamValues[std::size_t(i)]);
    if (!AutoModel)
        for (std::size_t i = std::size_t(nRef); i < ParamValues.size(); ++i)
            if (RowBelongsToMethod(*ParamValues[i].Def, MethodIndex)) body(ParamValues[i]);
}

namespace {

// Reads the header fields in order; every number follows exactly one
// separator character and runs up to the next separator. The first field
// that is missing or not a whole integer is reported and ends the reading.
class HeaderReader {
public:
    HeaderReader(std::string_view text, const TBaseElement& e, int line)
        : text_(text), element_(e), line_(line) {}
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    bool Failed() const { return failed_; }
    void Skip() {
        if (pos_ < text_.size()) ++pos_;
    }
    // The integer after the next separator; `fallback` after a problem.
    long NextInt(const char* field, long fallback) {
        if (failed_) return fallback;
        Skip();
        const auto end = text_.find_first_of(",()[]#", pos_);
        const std::string_view token =
            text_.substr(pos_, end == std::string_view::npos ? std::string_view::npos : end - pos_);
        pos_ += token.size();
        long v = 0;
        if (ReadInt(token, v)) return v;
        failed_ = true;
        ReportLineProblem(
            line_, "элемент " + element_.Name() + " №" + std::to_string(element_.ElementIndex()) +
                       ", поле " + field + " заголовка: " +
                       (token.empty() ? std::string("нет значения")
                                      : "\"" + std::string(token) + "\" не является числом"));
        return fallback;
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
    const TBaseElement& element_;
    int line_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

} // namespace

int TBaseElement::LoadFromStrings(std::string_view header, const std::vector<std::string>& list,
                                  int index) {
    HeaderReader r(header, *this, index);
    Left = int(r.NextInt("left", Left));
    Top = int(r.NextInt("top", Top));
    SetAngle(int(r.NextInt("angle", FAngle)));
    SetXFlip(r.NextInt("x-flip", GetXFlip()) != 0);
    SetYFlip(r.NextInt("y-flip", GetYFlip()) != 0);
    if (!r.Failed() && r.Peek() == ',') AutoModel = r.NextInt("AutoModel", AutoModel) != 0;
    if (!r.Failed() && r.Peek() == '(') {
        ManualRefs = r.NextInt("ManualRefs", ManualRefs) != 0;
        r.Skip();
        const std::string type = r.UpTo(')');
        r.Skip();
        if (ManualRefs)
            DeviceType = type;
        else
            LoadDeviceType(type);
    }
    if (!r.Failed() && r.Peek() == '[') MethodIndex = int(r.NextInt("MethodIndex", MethodIndex));

    int i = index + 1;
    for (; i < int(list.size()); ++i) {
        const std::string& line = list[std::size_t(i)];
        if (line.empty() || line[0] != ' ' || line == "EOE") break;
        const auto eq = line.find('=');
        const std::string name =
            line.substr(1, eq == std::string::npos ? std::string::npos : eq - 1);
        if (ParamValue* v = FindParam(name)) {
            const std::string problem =
                ParseValueText(eq == std::string::npos ? std::string_view{}
                                                       : std::string_view(line).substr(eq + 1),
                               *v);
            if (!problem.empty())
                ReportLineProblem(i, "элемент " + Name() + " №" + std::to_string(ElementIndex()) +
                                         ", параметр " + name + ": " + problem);
        }
    }
    if (AutoModel) CalcModelParams();
    return i;
}
