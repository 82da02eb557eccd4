#include "vielo/GrpFile.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace {

constexpr std::size_t HeaderSize = 12;

std::uint32_t Word(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::int32_t Int32At(const unsigned char* p) {
    return std::bit_cast<std::int32_t>(Word(p));
}
float FloatAt(const unsigned char* p) {
    return std::bit_cast<float>(Word(p));
}

GrpReadResult Failure(GrpError error, std::string message) {
    GrpReadResult r;
    r.Error = error;
    r.Message = std::move(message);
    return r;
}

std::string Damaged(const std::string& name, const std::string& what) {
    return "Файл " + name + " повреждён: " + what;
}

// Longer names would not fit a legend; a line that long is not ours.
constexpr std::size_t MaxNameBytes = 256;

// Well-formed UTF-8 without control characters: no overlong forms, no
// surrogates, nothing beyond U+10FFFF.
bool IsPrintableUtf8(const std::string& text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7F) return false;
            ++p;
            continue;
        }
        int extra = 0;
        std::uint32_t code = 0, least = 0;
        if (c >= 0xC2 && c <= 0xDF) extra = 1, code = c & 0x1F, least = 0x80;
        else if (c >= 0xE0 && c <= 0xEF) extra = 2, code = c & 0x0F, least = 0x800;
        else if (c >= 0xF0 && c <= 0xF4) extra = 3, code = c & 0x07, least = 0x10000;
        else return false;
        if (end - p <= extra) return false;
        for (int k = 1; k <= extra; ++k) {
            if ((p[k] & 0xC0) != 0x80) return false;
            code = code << 6 | (p[k] & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        if (code >= 0x80 && code < 0xA0) return false; // C1 controls
        p += extra + 1;
    }
    return true;
}

} // namespace

std::string InputNamesPath(const std::string& grpPath) {
    return std::filesystem::path(grpPath).replace_extension(".names").string();
}

std::vector<std::string> ParseInputNames(const std::string& text, int inputs) {
    std::string_view rest(text);
    if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
    std::vector<std::string> names;
    if (inputs <= 0) return names;
    for (int i = 0; i < inputs; ++i) {
        if (rest.empty()) return {};
        const std::size_t eol = rest.find('\n');
        std::string_view line = rest.substr(0, eol);
        rest.remove_prefix(eol == std::string_view::npos ? rest.size() : eol + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos || line.substr(0, tab) != std::to_string(i + 1)) return {};
        std::string name(line.substr(tab + 1));
        if (name.size() > MaxNameBytes || !IsPrintableUtf8(name)) return {};
        names.push_back(std::move(name));
    }
    if (!rest.empty()) return {};
    return names;
}

GrpReadResult ParseGrp(const unsigned char* bytes, std::size_t size, const std::string& name) {
    if (size == 0) return Failure(GrpError::Empty, "Файл " + name + " пуст");
    if (size < HeaderSize)
        return Failure(
            GrpError::ShortHeader,
            Damaged(name, "неполный заголовок (" + std::to_string(size) + " байт из 12)"));

    GrpReadResult r;
    GrpHeader& h = r.Data.Header;
    h.Inputs = Int32At(bytes);
    h.StepCount = Int32At(bytes + 4);
    h.OutputStep = FloatAt(bytes + 8);
    if (h.Inputs < 0 || h.Inputs > MaxGrpInputs)
        return Failure(GrpError::BadInputCount, Damaged(name, "недопустимое число входов (" +
                                                                  std::to_string(h.Inputs) + ")"));

    const std::size_t sampleSize = 4 * (1 + static_cast<std::size_t>(h.Inputs));
    const std::size_t body = size - HeaderSize;
    const std::size_t samples = body / sampleSize;
    r.Data.IgnoredTailBytes = body % sampleSize;
    r.Data.Times.resize(samples);
    r.Data.Values.assign(h.Inputs, std::vector<float>(samples));

    const unsigned char* p = bytes + HeaderSize;
    for (std::size_t s = 0; s < samples; ++s) {
        const float t = FloatAt(p);
        const std::string number = std::to_string(s + 1);
        if (!std::isfinite(t))
            return Failure(GrpError::BadTime,
                           Damaged(name, "время отсчёта " + number + " не является числом"));
        // Model time only grows, and rounding to float keeps the order.
        if (s > 0 && t < r.Data.Times[s - 1])
            return Failure(GrpError::BadTime,
                           Damaged(name, "время отсчёта " + number + " меньше предыдущего"));
        r.Data.Times[s] = t;
        p += 4;
        for (std::int32_t i = 0; i < h.Inputs; ++i, p += 4)
            r.Data.Values[i][s] = FloatAt(p);
    }
    if (h.Inputs == 0)
        r.Warning = "В файле " + name + " нет ни одного входа";
    else if (samples == 0)
        r.Warning = "В файле " + name + " нет ни одного отсчёта";
    return r;
}

namespace {

// The names of a side file, or none when it is missing, unreadable or not
// one of ours.
std::vector<std::string> ReadInputNames(const std::string& path, int inputs) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return {};
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    // A file far larger than any names of these inputs is not a names file.
    if (ec || size > std::uintmax_t(inputs) * (MaxNameBytes + 16) + 16) return {};
    std::ifstream in(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in || !in.read(text.data(), std::streamsize(text.size()))) return {};
    return ParseInputNames(text, inputs);
}

} // namespace

GrpReadResult ReadGrpFile(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        return Failure(GrpError::NotFound, "Файл " + name + " не найден");
    std::ifstream in;
    if (status.type() != std::filesystem::file_type::directory) in.open(path, std::ios::binary);
    if (!in) return Failure(GrpError::Unreadable, "Не удаётся прочитать файл " + name);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    std::vector<unsigned char> bytes(size > 0 ? static_cast<std::size_t>(size) : 0);
    if (size < 0 || !in.read(reinterpret_cast<char*>(bytes.data()), size))
        return Failure(GrpError::Unreadable, "Не удаётся прочитать файл " + name);
    GrpReadResult r = ParseGrp(bytes.data(), bytes.size(), name);
    if (r.Ok()) r.Data.Names = ReadInputNames(InputNamesPath(path), r.Data.InputCount());
    return r;
}

std::string InputName(int index) {
    return "Вход " + std::to_string(index + 1);
}

std::string GrpData::InputName(int index) const {
    if (index >= 0 && std::size_t(index) < Names.size() && !Names[std::size_t(index)].empty())
        return Names[std::size_t(index)];
    return ::InputName(index);
}

std::string ShownInputsProblem(const GrpData& data, const std::string& displayName) {
    if (data.InputCount() <= MaxShownInputs) return {};
    return "В файле " + displayName + " " + std::to_string(data.InputCount()) +
           " входов, а показать можно не больше " + std::to_string(MaxShownInputs) +
           ". Все входы можно вывести в таблицу: vielo --csv ФАЙЛ.csv";
}

std::string VariantLabel(const std::string& path) {
    const std::filesystem::path p(path);
    std::ifstream variant(p.parent_path() / "variant.txt");
    std::string line;
    if (variant && std::getline(variant, line) && !line.empty()) return line;
    const std::string dir = std::filesystem::absolute(p).parent_path().filename().string();
    return dir.empty() ? p.filename().string() : dir;
}

GrpReadResult ReadGrpFiles(const std::vector<std::string>& paths) {
    if (paths.size() == 1) return ReadGrpFile(paths.front());
    GrpReadResult all;
    std::string firstName;
    for (const std::string& path : paths) {
        GrpReadResult one = ReadGrpFile(path);
        if (!one.Ok()) return one;
        const std::string label = VariantLabel(path);
        GrpData& d = one.Data;
        if (all.Data.Values.empty() && all.Data.Times.empty() && firstName.empty()) {
            all.Data.Header = d.Header;
            all.Data.Times = d.Times;
            firstName = std::filesystem::path(path).filename().string();
        } else {
            // Stopped runs hold fewer samples: the common ones are shown.
            const std::size_t n = std::min(all.Data.Times.size(), d.Times.size());
            if (!std::equal(d.Times.begin(), d.Times.begin() + std::ptrdiff_t(n), all.Data.Times.begin())) {
                all.Error = GrpError::BadTime;
                all.Message = "Отсчёты файла " + path + " взяты в другие моменты времени, чем отсчёты " +
                              paths.front() + "; показать их вместе нельзя";
                return all;
            }
            all.Data.Times.resize(n);
            for (auto& column : all.Data.Values) column.resize(n);
            for (auto& column : d.Values) column.resize(n);
        }
        for (int i = 0; i < d.InputCount(); ++i) {
            all.Data.Values.push_back(std::move(d.Values[std::size_t(i)]));
            all.Data.Names.push_back(label + ": " + d.InputName(i));
        }
        if (!one.Warning.empty() && all.Warning.empty()) all.Warning = one.Warning;
    }
    all.Data.Header.Inputs = all.Data.InputCount();
    return all;
}
