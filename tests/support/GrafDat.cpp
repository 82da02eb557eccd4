#include "support/GrafDat.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "Simulation/RunSimulation.h"
#include "model/Schematic.h"

std::vector<GrafRow> ReadGrafDat(const std::string& path, int consumers) {
    std::vector<GrafRow> rows;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::vector<double> numbers;
        double v = 0;
        while (fields >> v)
            numbers.push_back(v);
        if (numbers.empty() || int(numbers.size()) < 1 + consumers) continue;
        GrafRow row;
        row.Time = numbers[0];
        const auto split = numbers.end() - consumers;
        row.Values.assign(numbers.begin() + 1, split);
        row.Consumers.assign(split, numbers.end());
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<GrafRow> RunAndRead(Schematic& sheet, const std::string& dir) {
    if (!PrepareRun(sheet, dir)) return {};
    TRunOptions options;
    options.OutputDir = dir;
    options.MaxIterations = 1000;
    const TRunResult result = RunSimulation(sheet, options);
    if (result.Status != TRunResult::Outcome::Finished) return {};
    return ReadGrafDat(dir + "/graf.dat", sheet.Consumers.Count());
}

const GrafRow& RowAt(const std::vector<GrafRow>& rows, double t) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < rows.size(); ++i)
        if (std::fabs(rows[i].Time - t) < std::fabs(rows[best].Time - t)) best = i;
    return rows[best];
}
