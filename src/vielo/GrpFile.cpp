#include "vielo/GrpFile.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>

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

} // namespace

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
    return ParseGrp(bytes.data(), bytes.size(), name);
}

std::string InputName(int index) {
    return "Вход " + std::to_string(index + 1);
}

std::string ShownInputsProblem(const GrpData& data, const std::string& displayName) {
    if (data.InputCount() <= MaxShownInputs) return {};
    return "В файле " + displayName + " " + std::to_string(data.InputCount()) +
           " входов, а показать можно не больше " + std::to_string(MaxShownInputs) +
           ". Все входы можно вывести в таблицу: vielo --csv ФАЙЛ.csv";
}

std::string InputName(const GrpData& data, int index) {
    if (index >= 0 && std::size_t(index) < data.Names.size()) return data.Names[std::size_t(index)];
    return InputName(index);
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
            all.Data.Names.push_back(label + ": " + InputName(i));
        }
        if (!one.Warning.empty() && all.Warning.empty()) all.Warning = one.Warning;
    }
    all.Data.Header.Inputs = all.Data.InputCount();
    return all;
}
