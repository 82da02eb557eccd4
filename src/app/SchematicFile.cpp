#include "app/SchematicFile.h"

#include <algorithm>
#include <cctype>

#include "Simulation/SimModel.h"
#include "model/ClassRegistry.h"
#include "model/Messages.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "model/TElectricLine.h"
#include "model/TInfoConnector.h"
#include "params/Cp1251.h"
#include "params/ValueText.h"

namespace {

const char* const Signature = "Dravon Ver 1.0";

std::string SegmentLine(const TElectricLine& s) {
    std::string line = std::to_string(s.Left);
    line += ',';
    line += std::to_string(s.Top);
    line += s.FVertical ? ",1," : ",0,";
    line += std::to_string(s.FVertical ? s.Height : s.Width);
    return line;
}

std::string JointLine(const Schematic& sheet, int index, const TElectricLine& s) {
    auto joint = [&sheet](const TWireLink& link) {
        return link.Line ? std::to_string(sheet.Lines.IndexOf(link.Line) + 1) : std::string("0");
    };
    std::string line = std::to_string(index);
    line += ',';
    line += joint(s.FStartLink);
    line += ',';
    line += joint(s.FEndLink);
    return line;
}

std::string PinLine(const Schematic& sheet, const TBaseElement& e) {
    std::vector<std::string> entries;
    for (const TConnector* c : e.FConnectors)
        entries.push_back(c->FLink ? std::to_string(sheet.Lines.IndexOf(c->FLink)) : std::string());
    for (const TInfoInput* in : e.FInputs) {
        std::string entry;
        if (const TInfoOutput* src = in->GetSource(); src && src->Parent()) {
            const TBaseElement* owner = src->Parent();
            entry = std::to_string(sheet.Elements.IndexOf(owner));
            if (owner->FOutputs.size() > 1) {
                const auto& outs = owner->FOutputs;
                entry += ':';
                entry += std::to_string(std::find(outs.begin(), outs.end(), src) - outs.begin());
            }
        }
        entries.push_back(std::move(entry));
    }
    std::string line;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i) line += ',';
        line += entries[i];
    }
    return line;
}

// A cursor over one line for the integer fields of joints and pin lines.
struct Cursor {
    const std::string& text;
    std::size_t pos = 0;
    bool AtDigit() const {
        return pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]));
    }
    char Peek() const { return pos < text.size() ? text[pos] : '\0'; }
    bool AtEnd() const { return pos >= text.size(); }
    void Skip() {
        if (pos < text.size()) ++pos;
    }
    long Int() {
        long v = 0;
        pos += ParseInt(std::string_view(text).substr(std::min(pos, text.size())), v);
        return v;
    }
};

void ReportLoad(const std::string& text) {
    Msg().Error(text, ErrorCaption);
}

} // namespace

void SaveRunParams(const Schematic& sheet, std::vector<std::string>& lines) {
    const TSimModel& m = sheet.SimModel();
    lines.push_back("T=" + FormatReal(m.T));
    lines.push_back("h=" + FormatReal(m.h));
    lines.push_back("pr=" + FormatReal(m.pr));
    lines.push_back("TNC=" + FormatReal(m.TNC));
    lines.push_back("GS=" + FormatReal(m.GS));
}

int LoadRunParams(Schematic& sheet, const std::vector<std::string>& lines, int index) {
    TSimModel& m = sheet.SimModel();
    int i = index;
    for (; i < int(lines.size()); ++i) {
        const std::string& line = lines[std::size_t(i)];
        const auto eq = line.find('=');
        if (eq == std::string::npos) break;
        const std::string key = line.substr(0, eq);
        double v = 0;
        ParseReal(std::string_view(line).substr(eq + 1), v);
        if (key == "T")
            m.T = v;
        else if (key == "h")
            m.h = v;
        else if (key == "pr")
            m.pr = v;
        else if (key == "TNC")
            m.TNC = v;
        else if (key == "GS")
            m.GS = v;
    }
    return i;
}

std::vector<std::string> SchematicToLines(const Schematic& sheet) {
    std::vector<std::string> lines{Signature};
    SaveRunParams(sheet, lines);
    lines.push_back("Lines:");
    for (const TElectricLine* s : sheet.Lines)
        lines.push_back(SegmentLine(*s));
    lines.push_back("EOL");
    lines.push_back("Connections:");
    for (int i = 0; i < sheet.Lines.Count(); ++i)
        lines.push_back(JointLine(sheet, i, *sheet.Lines[i]));
    lines.push_back("EOC");
    for (const TBaseElement* e : sheet.Elements)
        e->SaveToStrings(lines);
    lines.push_back("EOE");
    for (const TBaseElement* e : sheet.Elements)
        lines.push_back(PinLine(sheet, *e));
    lines.push_back("EOT");
    return lines;
}

bool SaveSchematic(Schematic& sheet, const std::string& path) {
    std::string reason;
    if (!WriteTextFile(path, SchematicToLines(sheet), &reason)) {
        Msg().Error("Не удалось записать файл " + path + ": " + reason, ApplicationTitle);
        return false;
    }
    sheet.Modified = false;
    return true;
}

TLoadResult LoadSchematic(Schematic& sheet, const std::string& path) {
    std::vector<std::string> lines;
    if (!ReadTextFile(path, lines)) {
        Msg().Error("Не удалось прочитать файл " + path, ApplicationTitle);
        return TLoadResult::Unreadable;
    }
    return LoadSchematicLines(sheet, lines);
}

TLoadResult LoadSchematicLines(Schematic& sheet, const std::vector<std::string>& lines) {
    const int count = int(lines.size());
    auto line = [&lines, count](int i) -> const std::string& {
        static const std::string none;
        return i < count ? lines[std::size_t(i)] : none;
    };
    if (count == 0 || lines[0] != Signature) {
        Msg().Error("Это не есть файл-схема для данной программы", ApplicationTitle);
        return TLoadResult::NotASchematic;
    }
    int i = LoadRunParams(sheet, lines, 1);

    // Segments, in file order: file number = position in Lines.
    const int firstSegment = sheet.Lines.Count();
    if (line(i) == "Lines:") {
        for (++i; i < count && lines[std::size_t(i)] != "EOL"; ++i) {
            Cursor c{lines[std::size_t(i)]};
            const long left = c.Int();
            c.Skip();
            const long top = c.Int();
            c.Skip();
            const long vertical = c.Int();
            c.Skip();
            const long length = c.Int();
            new TElectricLine(sheet, int(left), int(top), vertical != 0, int(length));
        }
    } else {
        ReportLoad("Ошибка загрузки линий");
    }
    ++i;
    auto segment = [&sheet, firstSegment](long number) -> TElectricLine* {
        const long index = firstSegment + number;
        return number >= 0 && index < sheet.Lines.Count() ? sheet.Lines[int(index)] : nullptr;
    };

    if (line(i) == "Connections:") {
        for (++i; i < count && lines[std::size_t(i)] != "EOC"; ++i) {
            Cursor c{lines[std::size_t(i)]};
            TElectricLine* s = segment(c.Int());
            c.Skip();
            const long start = c.Int();
            c.Skip();
            const long end = c.Int();
            if (!s) continue;
            if (TElectricLine* other = start > 0 ? segment(start - 1) : nullptr;
                other && other != s)
                s->LinkStartTo(other);
            if (TElectricLine* other = end > 0 ? segment(end - 1) : nullptr; other && other != s)
                s->LinkEndTo(other);
        }
    } else {
        ReportLoad("Ошибка загрузки соединений");
    }
    ++i;

    // Element records. `records` keeps one entry per record of the file, null
    // for a class that could not be created, so pin lines and element numbers
    // stay matched with the records.
    std::vector<TBaseElement*> records;
    while (i < count && lines[std::size_t(i)] != "EOE") {
        const std::string& header = lines[std::size_t(i)];
        const auto colon = header.find(':');
        const std::string className = "T" + header.substr(0, colon);
        TBaseElement* e = nullptr;
        try {
            e = CreateElementByName(sheet, className);
        } catch (const TElementCreateError& error) {
            Msg().Error("Ошибка создания элемента " + className + ":\n" + error.what(),
                        ApplicationTitle);
        }
        records.push_back(e);
        if (e && colon != std::string::npos) {
            i = std::max(i + 1,
                         e->LoadFromStrings(std::string_view(header).substr(colon), lines, i));
        } else {
            for (++i;
                 i < count && !lines[std::size_t(i)].empty() && lines[std::size_t(i)][0] == ' ';
                 ++i) {
            }
        }
    }
    ++i;

    // Pin lines, one per record.
    auto source = [&records](long number, long output) -> TInfoOutput* {
        if (number < 0 || number >= long(records.size()) || !records[std::size_t(number)])
            return nullptr;
        const auto& outs = records[std::size_t(number)]->FOutputs;
        return output >= 0 && output < long(outs.size()) ? outs[std::size_t(output)] : nullptr;
    };
    for (std::size_t k = 0; i < count && lines[std::size_t(i)] != "EOT"; ++i, ++k) {
        if (k >= records.size() || !records[k]) continue;
        TBaseElement* e = records[k];
        Cursor c{lines[std::size_t(i)]};
        for (TConnector* pin : e->FConnectors) {
            if (c.AtDigit())
                if (TElectricLine* s = segment(c.Int())) pin->ConnectTo(s);
            c.Skip();
        }
        for (TInfoInput* in : e->FInputs) {
            if (c.AtEnd()) break;
            if (c.AtDigit()) {
                const long number = c.Int();
                long output = 0;
                if (c.Peek() == ':') {
                    c.Skip();
                    output = c.Int();
                }
                if (TInfoOutput* out = source(number, output)) in->SetSource(out);
            }
            c.Skip();
        }
    }
    sheet.Repaint();
    return TLoadResult::Loaded;
}
