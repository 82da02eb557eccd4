#include "app/Sweep.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <mutex>
#include <random>
#include <thread>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "app/SheetLabels.h"
#include "blocks/Families.h"
#include "Simulation/RandomSeed.h"
#include "model/Messages.h"
#include "model/ThreadMessages.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "params/ValueText.h"

namespace fs = std::filesystem;

namespace {

// What one variant reports, kept for its result instead of shown.
class VariantMessages : public Messages {
public:
    void Error(const std::string& text, const std::string&) override { Texts.push_back("error: " + text); }
    void Warning(const std::string& text, const std::string&) override { Texts.push_back("warning: " + text); }
    void Information(const std::string& text, const std::string&) override { Texts.push_back(text); }
    TAnswer Question(const std::string& text, const std::string&, bool) override {
        Texts.push_back("error: " + text);
        return TAnswer::No;
    }
    std::vector<std::string> Texts;
};

std::string Trim(const std::string& s) {
    const auto a = s.find_first_not_of(' ');
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (;;) {
        const auto at = s.find(sep, from);
        parts.push_back(Trim(s.substr(from, at == std::string::npos ? std::string::npos : at - from)));
        if (at == std::string::npos) return parts;
        from = at + 1;
    }
}

// The table row of the parameter, -1 when the element has none of that name.
int ParamRow(const TBaseElement& e, const std::string& name) {
    for (std::size_t i = 0; i < e.ParamValues.size(); ++i)
        if (e.ParamValues[i].Def && e.ParamValues[i].Def->Name && name == e.ParamValues[i].Def->Name) return int(i);
    return -1;
}

// The key of a record body line ("K=1", " R=1000,1"), empty when it has none.
std::string RecordKey(const std::string& line) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) return {};
    return line.substr(line[0] == ' ' ? 1 : 0, eq - (line[0] == ' ' ? 1 : 0));
}

// The record line of that key, -1 when the element writes none.
int RecordLine(const std::vector<std::string>& record, const std::string& key) {
    for (std::size_t i = 1; i < record.size(); ++i)
        if (RecordKey(record[i]) == key) return int(i);
    return -1;
}

bool ParseRef(const Schematic& sheet, const std::string& option, const std::string& arg, const std::string& lhs,
              TParamRef& ref, std::string& error) {
    const auto dot = lhs.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == lhs.size()) {
        error = option + " " + arg + ": нужно ЭЛЕМЕНТ.ПАРАМЕТР";
        return false;
    }
    ref.Label = lhs;
    const std::string element = lhs.substr(0, dot);
    ref.Param = lhs.substr(dot + 1);
    ref.Element = FindElementByLabel(sheet, element);
    if (ref.Element < 0) {
        error = option + " " + arg + ": в схеме нет элемента " + element;
        return false;
    }
    const TBaseElement& e = *sheet.Elements[ref.Element];
    std::vector<std::string> record;
    e.SaveToStrings(record);
    if (ParamRow(e, ref.Param) < 0 && RecordLine(record, ref.Param) < 0) {
        error = option + " " + arg + ": у элемента " + element + " (" + e.Name() + " №" +
                std::to_string(ref.Element) + ") нет параметра " + ref.Param;
        return false;
    }
    return true;
}

bool PlainNumber(const std::string& text, double& v) { return ReadReal(text, v); }

// The number a value text begins with ("1000,1" is 1000); NaN for another text.
double LeadingNumber(const std::string& text) {
    double v = 0;
    if (ReadReal(text.substr(0, text.find(',')), v)) return v;
    return std::numeric_limits<double>::quiet_NaN();
}

// The element's present value of the parameter, in the base unit.
double NominalValue(const Schematic& sheet, const TParamRef& ref) {
    const TBaseElement& e = *sheet.Elements[ref.Element];
    if (const int row = ParamRow(e, ref.Param); row >= 0) return e.ParamValues[std::size_t(row)].Value;
    std::vector<std::string> record;
    e.SaveToStrings(record);
    const int line = RecordLine(record, ref.Param);
    if (line < 0) return std::numeric_limits<double>::quiet_NaN();
    const std::string& text = record[std::size_t(line)];
    return LeadingNumber(Trim(text.substr(text.find('=') + 1)));
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\n") == std::string::npos) return text;
    std::string q = "\"";
    for (char c : text) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

std::string NumberField(double v) { return std::isfinite(v) ? FormatReal(v) : std::string(); }

// The first time the samples reach `level` going in the direction `sign`,
// interpolated between the two samples around it; NaN when they never do.
double Crossing(const std::vector<double>& t, const std::vector<double>& y, double level, double sign) {
    for (std::size_t i = 0; i < y.size(); ++i) {
        if ((y[i] - level) * sign < 0) continue;
        if (i == 0) return t[0];
        const double dy = y[i] - y[i - 1];
        return dy == 0 ? t[i] : t[i - 1] + (level - y[i - 1]) / dy * (t[i] - t[i - 1]);
    }
    return std::numeric_limits<double>::quiet_NaN();
}

} // namespace

int FindElementByLabel(const Schematic& sheet, const std::string& label) {
    long n = 0;
    if (ReadInt(label, n)) return n >= 0 && n < sheet.Elements.Count() ? int(n) : -1;
    const std::vector<std::string> names = DerivedNames(sheet);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (!names[i].empty() && names[i] == label) return int(i);
    return -1;
}

bool ParseVary(const Schematic& sheet, const std::string& arg, TVaryAxis& axis, std::string& error) {
    axis = {};
    axis.Arg = arg;
    const auto eq = arg.find('=');
    if (eq == std::string::npos) {
        error = "--vary " + arg + ": нужно ЭЛЕМЕНТ.ПАРАМЕТР=ЗНАЧЕНИЯ";
        return false;
    }
    if (!ParseRef(sheet, "--vary", arg, Trim(arg.substr(0, eq)), axis.Ref, error)) return false;
    const std::string values = Trim(arg.substr(eq + 1));
    auto bad = [&](const std::string& why) {
        error = "--vary " + arg + ": " + why;
        return false;
    };
    if (values.empty()) return bad("не указаны значения");
    if (values.find(';') == std::string::npos && values.find(':') != std::string::npos) {
        const std::vector<std::string> p = Split(values, ':');
        double start = 0, stop = 0;
        long count = 0;
        if (p.size() < 3 || p.size() > 4 || !PlainNumber(p[0], start) || !PlainNumber(p[1], stop) ||
            !ReadInt(p[2], count) || (p.size() == 4 && p[3] != "log"))
            return bad("диапазон задаётся как НАЧАЛО:КОНЕЦ:ЧИСЛО[:log]");
        if (count < 1 || count > 1000000) return bad("число значений должно быть от 1 до 1000000");
        const bool log = p.size() == 4;
        if (log && !(start * stop > 0)) return bad("логарифмический диапазон нужен из чисел одного знака, не нулей");
        for (long i = 0; i < count; ++i) {
            double v = start;
            if (count > 1) {
                const double f = double(i) / double(count - 1);
                v = log ? start * std::pow(stop / start, f) : start + (stop - start) * f;
            }
            if (i == count - 1) v = stop;
            axis.Texts.push_back(FormatReal(v));
        }
        return true;
    }
    // A value with its unit as in the file has a comma of its own: such
    // lists are separated by ";".
    const char sep = values.find(';') != std::string::npos ? ';' : ',';
    for (const std::string& item : Split(values, sep)) {
        if (item.empty()) return bad("пустое значение в списке");
        if (sep == ',' && !std::isfinite(LeadingNumber(item)) &&
            ParamRow(*sheet.Elements[axis.Ref.Element], axis.Ref.Param) >= 0)
            return bad("значение '" + item + "' не является числом");
        axis.Texts.push_back(item);
    }
    return true;
}

bool ParseTolerance(const Schematic& sheet, const std::string& arg, TTolerance& tolerance, std::string& error) {
    tolerance = {};
    const auto eq = arg.find('=');
    if (eq == std::string::npos) {
        error = "--tolerance " + arg + ": нужно ЭЛЕМЕНТ.ПАРАМЕТР=ДОПУСК%[:gauss]";
        return false;
    }
    if (!ParseRef(sheet, "--tolerance", arg, Trim(arg.substr(0, eq)), tolerance.Ref, error)) return false;
    std::string text = Trim(arg.substr(eq + 1));
    if (const auto colon = text.find(':'); colon != std::string::npos) {
        const std::string kind = text.substr(colon + 1);
        if (kind != "gauss" && kind != "uniform") {
            error = "--tolerance " + arg + ": закон распределения может быть только gauss или uniform";
            return false;
        }
        tolerance.Gauss = kind == "gauss";
        text = text.substr(0, colon);
    }
    const bool percent = !text.empty() && text.back() == '%';
    if (percent) text.pop_back();
    double v = 0;
    if (!PlainNumber(text, v) || v < 0) {
        error = "--tolerance " + arg + ": допуск должен быть неотрицательным числом (5% или 0.05)";
        return false;
    }
    tolerance.Fraction = percent ? v / 100.0 : v;
    if (!std::isfinite(NominalValue(sheet, tolerance.Ref))) {
        error = "--tolerance " + arg + ": значение параметра не является числом";
        return false;
    }
    return true;
}

bool ParseMeasure(const Schematic& sheet, const std::string& arg, TMeasure& measure, std::string& error) {
    measure = {};
    const auto eq = arg.find('=');
    const auto open = arg.find('(', eq == std::string::npos ? 0 : eq);
    if (eq == std::string::npos || eq == 0 || open == std::string::npos || arg.back() != ')') {
        error = "--measure " + arg + ": нужно ИМЯ=ВИД(ВХОД), вид final, min, max, mean, rise10-90 или overshoot";
        return false;
    }
    measure.Name = Trim(arg.substr(0, eq));
    const std::string kind = Trim(arg.substr(eq + 1, open - eq - 1));
    static const std::map<std::string, TMeasure::TKind> kinds{
        {"final", TMeasure::TKind::Final}, {"min", TMeasure::TKind::Min},       {"max", TMeasure::TKind::Max},
        {"mean", TMeasure::TKind::Mean},   {"rise10-90", TMeasure::TKind::Rise}, {"overshoot", TMeasure::TKind::Overshoot}};
    const auto k = kinds.find(kind);
    if (k == kinds.end()) {
        error = "--measure " + arg + ": неизвестный вид '" + kind +
                "' (допустимы final, min, max, mean, rise10-90, overshoot)";
        return false;
    }
    measure.Kind = k->second;
    const std::string input = Trim(arg.substr(open + 1, arg.size() - open - 2));
    // A consumer by its derived name or element number, or by its place
    // among the consumers (the curve of graf.grp) as "#N".
    long n = 0;
    if (input.size() > 1 && input[0] == '#' && ReadInt(input.substr(1), n)) {
        measure.Consumer = n >= 1 && n <= sheet.Consumers.Count() ? int(n - 1) : -1;
    } else if (const int e = FindElementByLabel(sheet, input); e >= 0) {
        for (int i = 0; i < sheet.Consumers.Count(); ++i)
            if (static_cast<const TBaseElement*>(sheet.Consumers[i]) == sheet.Elements[e]) measure.Consumer = i;
    }
    if (measure.Consumer < 0) {
        error = "--measure " + arg + ": '" + input + "' не является плоттером или индикатором схемы";
        return false;
    }
    return true;
}

std::vector<std::string> ParameterColumns(const TSweepSetup& setup) {
    std::vector<std::string> columns;
    auto add = [&columns](const std::string& label) {
        if (std::find(columns.begin(), columns.end(), label) == columns.end()) columns.push_back(label);
    };
    for (const TVaryAxis& a : setup.Axes) add(a.Ref.Label);
    for (const TTolerance& t : setup.Tolerances) add(t.Ref.Label);
    return columns;
}

std::vector<TVariant> ExpandVariants(const Schematic& sheet, const TSweepSetup& setup) {
    std::size_t points = 1;
    for (const TVaryAxis& a : setup.Axes) points *= a.Texts.size();
    const int draws = setup.Tolerances.empty() ? 1 : std::max(1, setup.MonteCarlo);
    const std::vector<std::string> columns = ParameterColumns(setup);
    std::vector<TVariant> variants;
    std::vector<std::size_t> at(setup.Axes.size(), 0);
    for (std::size_t p = 0; p < points; ++p) {
        std::size_t rest = p;
        for (std::size_t k = setup.Axes.size(); k-- > 0;) {
            at[k] = rest % setup.Axes[k].Texts.size();
            rest /= setup.Axes[k].Texts.size();
        }
        for (int d = 0; d < draws; ++d) {
            TVariant v;
            v.Number = int(variants.size()) + 1;
            std::map<std::string, std::string> shown;
            for (std::size_t k = 0; k < setup.Axes.size(); ++k) {
                const TVaryAxis& a = setup.Axes[k];
                v.Settings.push_back({a.Ref.Element, a.Ref.Param, a.Texts[at[k]]});
                const double number = LeadingNumber(a.Texts[at[k]]);
                shown[a.Ref.Label] = std::isfinite(number) ? FormatReal(number) : a.Texts[at[k]];
            }
            // The draws of a variant depend only on the seed and its number.
            std::seed_seq seq{setup.Seed, unsigned(v.Number)};
            std::mt19937_64 random(seq);
            auto unit = [&random] { return double(random() >> 11) * 0x1.0p-53; };
            for (const TTolerance& t : setup.Tolerances) {
                double nominal = NominalValue(sheet, t.Ref);
                for (std::size_t k = 0; k < setup.Axes.size(); ++k)
                    if (setup.Axes[k].Ref.Element == t.Ref.Element && setup.Axes[k].Ref.Param == t.Ref.Param)
                        nominal = LeadingNumber(setup.Axes[k].Texts[at[k]]);
                double delta;
                if (t.Gauss) {
                    const double u1 = unit(), u2 = unit();
                    delta = t.Fraction / 3.0 * std::sqrt(-2.0 * std::log(1.0 - u1)) * std::cos(2.0 * M_PI * u2);
                } else {
                    delta = t.Fraction * (2.0 * unit() - 1.0);
                }
                const std::string text = FormatReal(nominal * (1.0 + delta));
                v.Settings.push_back({t.Ref.Element, t.Ref.Param, text});
                shown[t.Ref.Label] = text;
            }
            for (const std::string& c : columns) v.Columns.push_back(shown[c]);
            variants.push_back(std::move(v));
        }
    }
    return variants;
}

bool VariantLines(const std::vector<std::string>& lines, const std::vector<TSetting>& settings,
                  std::vector<std::string>& out, std::string& error) {
    VariantMessages baseMessages;
    Schematic scratch;
    {
        ScopedThreadMessages scope(baseMessages);
        LoadSchematicLines(scratch, lines);
    }
    // Table rows through the element, as the parameter dialog sets them;
    // other record lines (a transfer function's "K") in the text below.
    std::vector<const TSetting*> recordSettings;
    for (const TSetting& s : settings) {
        if (s.Element < 0 || s.Element >= scratch.Elements.Count()) {
            error = "нет элемента №" + std::to_string(s.Element);
            return false;
        }
        TBaseElement& e = *scratch.Elements[s.Element];
        const int row = ParamRow(e, s.Param);
        if (row < 0) {
            recordSettings.push_back(&s);
            continue;
        }
        ParamValue& v = e.ParamValues[std::size_t(row)];
        if (s.Text.find(',') != std::string::npos) {
            if (const std::string problem = ParseValueText(s.Text, v); !problem.empty()) {
                error = problem;
                return false;
            }
        } else if (double x = 0; ReadReal(s.Text, x)) {
            v.Value = x;
        } else {
            error = "'" + s.Text + "' не является числом";
            return false;
        }
        // A reference value set by hand is the user's own, not the chosen
        // device's; a model value set by hand is no longer calculated.
        if (row < ParamRowCount(e.RefParamDefs)) {
            if (e.DbSection) e.ManualRefs = true;
        } else {
            e.AutoModel = false;
        }
    }
    out = SchematicToLines(scratch);
    if (!recordSettings.empty()) {
        const auto eoc = std::find(out.begin(), out.end(), "EOC");
        std::vector<int> first;
        int at = int(eoc - out.begin()) + 1;
        for (const TBaseElement* e : scratch.Elements) {
            first.push_back(at);
            std::vector<std::string> record;
            e->SaveToStrings(record);
            at += int(record.size());
        }
        for (const TSetting* s : recordSettings) {
            std::vector<std::string> record;
            scratch.Elements[s->Element]->SaveToStrings(record);
            const int line = RecordLine(record, s->Param);
            if (line < 0) {
                error = "нет параметра " + s->Param;
                return false;
            }
            std::string& target = out[std::size_t(first[std::size_t(s->Element)] + line)];
            target = target.substr(0, target.find('=') + 1) + s->Text;
        }
    }
    // The variant read as a file and checked as before a run: whatever it
    // reports beyond what the schematic itself did is the refusal.
    VariantMessages check;
    {
        ScopedThreadMessages scope(check);
        Schematic variant;
        LoadSchematicLines(variant, out);
        for (const TSetting& s : settings)
            if (s.Element < variant.Elements.Count()) variant.Elements[s.Element]->CheckBeforeRun();
    }
    for (const std::string& text : check.Texts)
        if (std::find(baseMessages.Texts.begin(), baseMessages.Texts.end(), text) == baseMessages.Texts.end() &&
            text.rfind("error: ", 0) == 0) {
            error = text.substr(7);
            return false;
        }
    return true;
}

bool CheckAxes(const std::vector<std::string>& lines, const TSweepSetup& setup, std::string& error) {
    for (const TVaryAxis& a : setup.Axes)
        for (const std::string& text : a.Texts) {
            std::vector<std::string> out;
            std::string why;
            if (!VariantLines(lines, {{a.Ref.Element, a.Ref.Param, text}}, out, why)) {
                error = "--vary " + a.Arg + ": элемент " + a.Ref.Label.substr(0, a.Ref.Label.find('.')) +
                        " не принимает значение " + a.Ref.Param + "=" + text + ": " + why;
                return false;
            }
        }
    return true;
}

double Measure(TMeasure::TKind kind, const std::vector<double>& t, const std::vector<double>& y) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    if (y.empty()) return nan;
    switch (kind) {
    case TMeasure::TKind::Final: return y.back();
    case TMeasure::TKind::Min: return *std::min_element(y.begin(), y.end());
    case TMeasure::TKind::Max: return *std::max_element(y.begin(), y.end());
    case TMeasure::TKind::Mean: {
        double sum = 0;
        for (double v : y) sum += v;
        return sum / double(y.size());
    }
    case TMeasure::TKind::Rise:
    case TMeasure::TKind::Overshoot: break;
    }
    // The step from the first sample to the last.
    const double y0 = y.front(), yf = y.back(), height = yf - y0;
    if (height == 0 || !std::isfinite(height)) return nan;
    const double sign = height > 0 ? 1.0 : -1.0;
    if (kind == TMeasure::TKind::Rise)
        return Crossing(t, y, y0 + 0.9 * height, sign) - Crossing(t, y, y0 + 0.1 * height, sign);
    double beyond = 0;
    for (double v : y) beyond = std::max(beyond, (v - yf) * sign);
    return 100.0 * beyond / std::fabs(height);
}

std::string RunDirName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "run-%04d", number);
    return name;
}

std::string SummaryHeader(const TSweepSetup& setup) {
    std::string line = "run,status";
    for (const std::string& c : ParameterColumns(setup)) line += "," + CsvField(c);
    for (const TMeasure& m : setup.Measures) line += "," + CsvField(m.Name);
    return line;
}

std::string SummaryRow(const TVariant& variant, const TVariantResult& result) {
    std::string line = std::to_string(variant.Number) + "," + CsvField(result.Status);
    for (const std::string& c : variant.Columns) line += "," + CsvField(c);
    for (double m : result.Measures) line += "," + NumberField(m);
    return line;
}

TVariantResult RunVariant(const std::vector<std::string>& lines, const TSweepSetup& setup, const TVariant& variant,
                          const std::string& dir, const TVariantRunOptions& options,
                          const std::function<void(std::atomic<bool>*)>& registerStop) {
    TVariantResult result;
    result.Measures.assign(setup.Measures.size(), std::numeric_limits<double>::quiet_NaN());
    VariantMessages sink;
    std::vector<double> times;
    std::vector<std::vector<double>> consumers;
    {
        ScopedThreadMessages scope(sink);
        std::error_code ec;
        fs::create_directories(dir, ec);
        std::vector<std::string> variantLines;
        std::string error;
        Schematic sheet;
        if (!VariantLines(lines, variant.Settings, variantLines, error)) {
            sink.Error(error, ApplicationTitle);
            result.Status = "refused";
        } else if (LoadSchematicLines(sheet, variantLines) != TLoadResult::Loaded) {
            result.Status = "refused";
        } else {
            for (const auto& [key, value] : options.Settings) SetRunSetting(sheet.RunSettings, key, value);
            sheet.RunSettings.DumpLargeModels = options.DumpLargeModels;
            TRunContext context(sheet, dir);
            context.Sink = &sink;
            context.Seed = options.GeneratorSeed;
            TRunLimits limits;
            limits.Confirm = [&options, &sink](const std::string& reason) {
                if (!options.Force)
                    sink.Error(reason + " Моделирование не запущено; чтобы запустить его, укажите --force.",
                               ApplicationTitle);
                return options.Force;
            };
            if (!PrepareRun(context, limits)) {
                result.Status = "refused";
            } else {
                const int nCons = sheet.Consumers.Count();
                consumers.assign(std::size_t(nCons), {});
                TRunOptions run;
                run.MaxIterations = options.MaxIterations;
                run.Sample = [&](double t, const std::vector<double>& row) {
                    times.push_back(t);
                    for (int k = 0; k < nCons; ++k)
                        consumers[std::size_t(k)].push_back(row[row.size() - std::size_t(nCons) + std::size_t(k)]);
                };
                if (registerStop) registerStop(&context.Model()->StopRequested);
                const TRunResult r = RunSimulation(context, run);
                if (registerStop) registerStop(nullptr);
                if (!r.Message.empty()) sink.Error(r.Message, ApplicationTitle);
                switch (r.Status) {
                case TRunResult::Outcome::Finished: result.Status = "finished"; break;
                case TRunResult::Outcome::Stopped: result.Status = "stopped"; break;
                case TRunResult::Outcome::NotConverged: result.Status = "not converged"; break;
                case TRunResult::Outcome::InvalidValue: result.Status = "invalid value"; break;
                case TRunResult::Outcome::Failed: result.Status = "failed"; break;
                }
            }
        }
    }
    for (std::size_t i = 0; i < setup.Measures.size(); ++i) {
        const int c = setup.Measures[i].Consumer;
        if (c >= 0 && std::size_t(c) < consumers.size())
            result.Measures[i] = Measure(setup.Measures[i].Kind, times, consumers[std::size_t(c)]);
    }
    result.Messages = std::move(sink.Texts);
    // Its parameter values, which the plot viewer names its curves by.
    {
        const std::vector<std::string> columns = ParameterColumns(setup);
        std::string label;
        for (std::size_t i = 0; i < columns.size() && i < variant.Columns.size(); ++i)
            label += (i ? " " : "") + columns[i] + "=" + variant.Columns[i];
        std::ofstream f(fs::path(dir) / "variant.txt");
        f << (label.empty() ? RunDirName(variant.Number) : label) << '\n';
    }
    // A stopped variant has no line: the summary holds the finished ones.
    const fs::path row = fs::path(dir) / "row.csv";
    std::error_code ec;
    fs::remove(row, ec);
    if (result.Status != "stopped") {
        std::ofstream f(row);
        f << SummaryRow(variant, result) << '\n';
        if (!f) result.Messages.push_back("error: Немогу записать в файл " + row.string());
    }
    return result;
}

int CollectSummary(const std::string& dir, const std::string& header, int count) {
    std::vector<std::pair<long, fs::path>> runs;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        long n = 0;
        if (name.rfind("run-", 0) == 0 && ReadInt(name.substr(4), n) && n >= 1 && n <= count &&
            fs::exists(entry.path() / "row.csv"))
            runs.emplace_back(n, entry.path() / "row.csv");
    }
    std::sort(runs.begin(), runs.end());
    const fs::path target = fs::path(dir) / "summary.csv", temporary = fs::path(dir) / "summary.csv.part";
    {
        std::ofstream out(temporary);
        out << header << '\n';
        for (const auto& [n, path] : runs) {
            std::ifstream in(path);
            std::string line;
            if (std::getline(in, line) && !line.empty()) out << line << '\n';
        }
        if (!out) return -1;
    }
    fs::rename(temporary, target, ec);
    return ec ? -1 : int(runs.size());
}

TSweepRun RunSweep(const std::vector<std::string>& lines, const TSweepSetup& setup,
                   const std::vector<TVariant>& variants, const std::string& dir, const TVariantRunOptions& options,
                   int jobs, const std::atomic<bool>& stop, const std::function<void(int)>& progress,
                   const std::function<void(const TVariant&, const TVariantResult&)>& report) {
    TSweepRun totals;
    jobs = std::max(1, std::min(jobs, int(variants.size())));
    struct Slot {
        std::mutex lock;
        std::atomic<bool>* running = nullptr;
    };
    std::vector<Slot> slots(static_cast<std::size_t>(jobs));
    std::atomic<std::size_t> next{0};
    std::atomic<int> working{jobs};
    std::mutex reportLock;
    int ended = 0;
    auto worker = [&](std::size_t w) {
        Slot& slot = slots[w];
        while (!stop.load()) {
            const std::size_t k = next.fetch_add(1);
            if (k >= variants.size()) break;
            const TVariant& v = variants[k];
            const TVariantResult r =
                RunVariant(lines, setup, v, (fs::path(dir) / RunDirName(v.Number)).string(), options,
                           [&slot, &stop](std::atomic<bool>* flag) {
                               std::lock_guard hold(slot.lock);
                               slot.running = flag;
                               if (flag && stop.load()) flag->store(true);
                           });
            std::lock_guard hold(reportLock);
            const bool errors = std::any_of(r.Messages.begin(), r.Messages.end(),
                                            [](const std::string& m) { return m.rfind("error: ", 0) == 0; });
            if (r.Status == "stopped") ++totals.Stopped;
            else if (r.Finished() && !errors) ++totals.Finished;
            else ++totals.Failed;
            if (report) report(v, r);
            if (progress) progress(++ended);
        }
        working.fetch_sub(1);
    };
    std::vector<std::thread> threads;
    for (int w = 0; w < jobs; ++w) threads.emplace_back(worker, std::size_t(w));
    // A stop reaches the running variants from here: the flag may be set by
    // a signal handler, which can do nothing but set it.
    while (working.load() > 0) {
        if (stop.load())
            for (Slot& s : slots) {
                std::lock_guard hold(s.lock);
                if (s.running) s.running->store(true);
            }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    for (std::thread& t : threads) t.join();
    CollectSummary(dir, SummaryHeader(setup), int(variants.size()));
    return totals;
}
