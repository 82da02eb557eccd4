#include "app/SchematicFile.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "Simulation/SimModel.h"
#include "model/ClassRegistry.h"
#include "model/Messages.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "model/TElectricLine.h"
#include "model/TInfoConnector.h"
#include "params/Cp1251.h"
#include "params/ValueText.h"

const char* const SchematicSignature = "Dravon Ver 1.0";

namespace {

const char* const Signature = SchematicSignature;

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

// The comma-separated fields of a segment, joint or pin line.
std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const auto comma = line.find(',', start);
        fields.push_back(line.substr(start, comma == std::string_view::npos ? std::string_view::npos
                                                                            : comma - start));
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

// Reads `count` integer fields; false when the line has another count or a
// field is not a whole integer.
bool IntFields(std::string_view line, std::size_t count, std::vector<long>& values) {
    const auto fields = Fields(line);
    if (fields.size() != count) return false;
    values.assign(count, 0);
    for (std::size_t k = 0; k < count; ++k)
        if (!ReadInt(fields[k], values[k])) return false;
    return true;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string ElementWhere(const TBaseElement& e) {
    return "элемент " + e.Name() + " №" + std::to_string(e.ElementIndex());
}

// The end marker of each section and what a file cut before it lacks.
struct TSectionEnd {
    const char* Marker;
    const char* Contents;
};
constexpr TSectionEnd SegmentsEnd{"EOL", "отрезки проводов"};
constexpr TSectionEnd JointsEnd{"EOC", "соединения проводов"};
constexpr TSectionEnd ElementsEnd{"EOE", "элементы"};
constexpr TSectionEnd PinsEnd{"EOT", "подключения выводов"};

} // namespace

void SaveRunParams(const Schematic& sheet, std::vector<std::string>& lines) {
    const TRunSettings& m = sheet.RunSettings;
    lines.push_back("T=" + FormatReal(m.T));
    lines.push_back("h=" + FormatReal(m.h));
    lines.push_back("pr=" + FormatReal(m.pr));
    lines.push_back("TNC=" + FormatReal(m.TNC));
    lines.push_back("GS=" + FormatReal(m.GS));
}

int LoadRunParams(Schematic& sheet, const std::vector<std::string>& lines, int index) {
    TRunSettings& m = sheet.RunSettings;
    int i = index;
    for (; i < int(lines.size()); ++i) {
        const std::string& line = lines[std::size_t(i)];
        const auto eq = line.find('=');
        if (eq == std::string::npos) break;
        const std::string key = line.substr(0, eq);
        double* setting = key == "T"     ? &m.T
                          : key == "h"   ? &m.h
                          : key == "pr"  ? &m.pr
                          : key == "TNC" ? &m.TNC
                          : key == "GS"  ? &m.GS
                                         : nullptr;
        if (!setting) continue;
        const std::string_view text = std::string_view(line).substr(eq + 1);
        if (!ReadReal(text, *setting))
            ReportLineProblem(i, "параметр " + key + ": " + Quoted(text) + " не является числом");
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
    if (lines.empty() || lines[0] != Signature) {
        Msg().Error("Это не есть файл-схема для данной программы", ApplicationTitle);
        return TLoadResult::NotASchematic;
    }
    // Every problem of the file is shown once, together, when reading ends.
    CollectedMessages problems;
    const int count = int(lines.size());
    auto line = [&lines, count](int i) -> const std::string& {
        static const std::string none;
        return i < count ? lines[std::size_t(i)] : none;
    };
    const TSectionEnd* cut = nullptr;
    auto sectionEnded = [&](int i, const TSectionEnd& end) {
        if (i < count) return true;
        if (!cut) cut = &end;
        return false;
    };
    int i = LoadRunParams(sheet, lines, 1);

    // Segments, in file order: file number = position in Lines. A damaged
    // line still gives a segment so that the numbers of the others hold.
    const int firstSegment = sheet.Lines.Count();
    if (!sectionEnded(i, SegmentsEnd)) {
    } else if (line(i) == "Lines:") {
        for (++i; i < count && lines[std::size_t(i)] != SegmentsEnd.Marker; ++i) {
            std::vector<long> f;
            if (!IntFields(lines[std::size_t(i)], 4, f)) {
                ReportLineProblem(
                    i, "отрезок " + std::to_string(sheet.Lines.Count() - firstSegment) + ": " +
                           Quoted(lines[std::size_t(i)]) + " не является записью отрезка");
                f.assign(4, 0);
            }
            new TElectricLine(sheet, int(f[0]), int(f[1]), f[2] != 0, int(f[3]));
        }
        sectionEnded(i, SegmentsEnd);
    } else {
        Msg().Error("Ошибка загрузки линий", ErrorCaption);
    }
    ++i;
    auto segment = [&sheet, firstSegment](long number) -> TElectricLine* {
        const long index = firstSegment + number;
        return number >= 0 && index < sheet.Lines.Count() ? sheet.Lines[int(index)] : nullptr;
    };

    if (cut || !sectionEnded(i, JointsEnd)) {
    } else if (line(i) == "Connections:") {
        std::vector<std::vector<long>> joints;
        for (++i; i < count && lines[std::size_t(i)] != JointsEnd.Marker; ++i) {
            std::vector<long> f;
            if (!IntFields(lines[std::size_t(i)], 3, f)) {
                ReportLineProblem(i, Quoted(lines[std::size_t(i)]) +
                                         " не является записью соединения");
                continue;
            }
            joints.push_back(std::move(f));
        }
        // An end that sits near another segment's free end but is not named
        // by that segment's own record was a tap there.
        std::unordered_map<long, std::pair<long, long>> ends;
        for (const auto& f : joints)
            ends.emplace(f[0], std::pair{f[1], f[2]});
        // 0: `other`'s record does not name `number`; 1: at its start; 2: at its end.
        const auto namedAt = [&ends](long other, long number) {
            const auto it = ends.find(other);
            if (it == ends.end()) return 0;
            return it->second.first == number + 1 ? 1 : it->second.second == number + 1 ? 2 : 0;
        };
        const auto link = [&](TElectricLine* s, long number, long joint, bool start) {
            TElectricLine* other = joint > 0 ? segment(joint - 1) : nullptr;
            if (!other || other == s) return;
            const int at = namedAt(joint - 1, number);
            if (at && s->JoinEnds(start, other, at == 1)) return;
            if (start)
                s->LinkStartTo(other, at == 0);
            else
                s->LinkEndTo(other, at == 0);
        };
        for (const auto& f : joints) {
            if (TElectricLine* s = segment(f[0])) {
                link(s, f[0], f[1], true);
                link(s, f[0], f[2], false);
            }
        }
        sectionEnded(i, JointsEnd);
    } else {
        Msg().Error("Ошибка загрузки соединений", ErrorCaption);
    }
    ++i;

    // Element records. `records` keeps one entry per record of the file, null
    // for a class that could not be created, so pin lines and element numbers
    // stay matched with the records.
    std::vector<TBaseElement*> records;
    while (!cut && i < count && lines[std::size_t(i)] != ElementsEnd.Marker) {
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
    if (!cut) sectionEnded(i, ElementsEnd);
    ++i;

    // Pin lines, one per record.
    auto source = [&records](long number, long output) -> TInfoOutput* {
        if (number < 0 || number >= long(records.size()) || !records[std::size_t(number)])
            return nullptr;
        const auto& outs = records[std::size_t(number)]->FOutputs;
        return output >= 0 && output < long(outs.size()) ? outs[std::size_t(output)] : nullptr;
    };
    std::size_t k = 0;
    for (; !cut && i < count && lines[std::size_t(i)] != PinsEnd.Marker; ++i, ++k) {
        if (k >= records.size() || !records[k]) continue;
        TBaseElement* e = records[k];
        const std::string& text = lines[std::size_t(i)];
        const auto fields = text.empty() ? std::vector<std::string_view>{} : Fields(text);
        std::size_t f = 0;
        for (TConnector* pin : e->FConnectors) {
            const std::string_view entry = f < fields.size() ? fields[f++] : std::string_view{};
            if (entry.empty()) continue;
            long number = 0;
            if (!ReadInt(entry, number)) {
                ReportLineProblem(i, ElementWhere(*e) + ", вывод " + pin->Name + ": " +
                                         Quoted(entry) + " не является номером отрезка");
                continue;
            }
            TElectricLine* s = segment(number);
            if (s && !pin->ConnectTo(s))
                ReportLineProblem(i, ElementWhere(*e) + ": вывод " + pin->Name +
                                         " не лежит на конце отрезка " + std::to_string(number) +
                                         " и остался неподключённым");
        }
        for (TInfoInput* in : e->FInputs) {
            const std::string_view entry = f < fields.size() ? fields[f++] : std::string_view{};
            if (entry.empty()) continue;
            const auto colon = entry.find(':');
            long number = 0, output = 0;
            if (!ReadInt(entry.substr(0, colon), number) ||
                (colon != std::string_view::npos && !ReadInt(entry.substr(colon + 1), output))) {
                ReportLineProblem(i, ElementWhere(*e) + ", вход " + in->Name + ": " +
                                         Quoted(entry) + " не является ссылкой на выход");
                continue;
            }
            if (TInfoOutput* out = source(number, output)) in->SetSource(out);
        }
    }
    if (!cut) sectionEnded(i, PinsEnd);
    sheet.Repaint();
    if (cut) {
        Msg().Error(std::string("Файл оборван: нет строки \"") + cut->Marker +
                        "\", которой кончаются " + cut->Contents +
                        ". Прочитанное до обрыва оставлено на листе; сохранить его можно только " +
                        "под другим именем.",
                    ErrorCaption);
        return TLoadResult::Truncated;
    }
    return TLoadResult::Loaded;
}
