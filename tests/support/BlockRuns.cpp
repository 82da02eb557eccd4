#include "support/BlockRuns.h"

#include <cmath>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "model/Schematic.h"
#include "support/ResultFiles.h"

std::vector<GrafRow> ReadGrafRows(const std::string& path, int consumers) {
    std::vector<GrafRow> rows;
    for (const std::vector<double>& numbers : ReadGrafDat(path)) {
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
    TRunContext context(sheet, dir);
    if (!PrepareRun(context)) return {};
    TRunOptions options;
    options.MaxIterations = 1000;
    const TRunResult result = RunSimulation(context, options);
    if (result.Status != TRunResult::Outcome::Finished) return {};
    return ReadGrafRows(dir + "/graf.dat", sheet.Consumers.Count());
}

const GrafRow& RowAt(const std::vector<GrafRow>& rows, double t) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < rows.size(); ++i)
        if (std::fabs(rows[i].Time - t) < std::fabs(rows[best].Time - t)) best = i;
    return rows[best];
}
