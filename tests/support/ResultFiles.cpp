#include "support/ResultFiles.h"

#include <cstring>
#include <fstream>
#include <sstream>

std::vector<std::vector<double>> ReadGrafDat(const std::string& path) {
    std::vector<std::vector<double>> rows;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream ss(line);
        ss.imbue(std::locale::classic());
        std::vector<double> row;
        double v;
        while (ss >> v) row.push_back(v);
        rows.push_back(std::move(row));
    }
    return rows;
}

GrafGrp ReadGrafGrp(const std::string& path) {
    GrafGrp g;
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string bytes = ss.str();
    if (bytes.size() < 12) return g;
    std::memcpy(&g.Consumers, bytes.data(), 4);
    std::memcpy(&g.Ratio, bytes.data() + 4, 4);
    std::memcpy(&g.GS, bytes.data() + 8, 4);
    const std::size_t record = 4 * (1 + std::size_t(std::max(0, g.Consumers)));
    std::size_t pos = 12;
    for (; pos + record <= bytes.size(); pos += record) {
        float t;
        std::memcpy(&t, bytes.data() + pos, 4);
        g.Times.push_back(t);
        std::vector<float> values(std::size_t(g.Consumers));
        if (g.Consumers > 0) std::memcpy(values.data(), bytes.data() + pos + 4, 4 * std::size_t(g.Consumers));
        g.Values.push_back(std::move(values));
    }
    g.TrailingBytes = bytes.size() - pos;
    return g;
}
