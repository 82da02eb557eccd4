#include "vielo/CsvExport.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>

namespace {

void PutNumber(std::ostream& out, float v) {
    std::array<char, 32> buf;
    const auto end = std::to_chars(buf.data(), buf.data() + buf.size(), v).ptr;
    out.write(buf.data(), end - buf.data());
}

} // namespace

void WriteCsv(const GrpData& data, std::ostream& out) {
    out << "Время";
    for (int i = 0; i < data.InputCount(); ++i)
        out << ',' << InputName(data, i);
    out << '\n';
    for (std::size_t s = 0; s < data.SampleCount(); ++s) {
        PutNumber(out, data.Times[s]);
        for (const auto& column : data.Values) {
            out << ',';
            PutNumber(out, column[s]);
        }
        out << '\n';
    }
}

std::string WriteCsvFile(const GrpData& data, const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string name = std::filesystem::path(path).filename().string();
    if (!out) return "Не удаётся создать файл " + name;
    WriteCsv(data, out);
    out.flush();
    if (!out) return "Не удаётся записать файл " + name;
    return {};
}
