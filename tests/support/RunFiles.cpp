#include "support/RunFiles.h"

#include "Simulation/RunContext.h"

#include <fstream>
#include <sstream>

std::vector<TGrafRow> ReadGrafRows(const std::string& path) {
    std::vector<TGrafRow> rows;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        TGrafRow row;
        // The consumer inputs follow the only run of more than two spaces
        // that is not a number's own padding: "  " ends every field, so the
        // gap shows as six spaces before the first consumer.
        const auto gap = line.find("      ", line.find_first_not_of(' '));
        std::istringstream head(line.substr(0, gap));
        head >> row.Time;
        for (double v; head >> v;)
            row.Values.push_back(v);
        if (gap != std::string::npos) {
            std::istringstream tail(line.substr(gap));
            for (double v; tail >> v;)
                row.Consumers.push_back(v);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

TRunResult RunInto(Schematic& sheet, const std::string& dir) {
    TRunContext context(sheet, dir);
    if (!PrepareRun(context)) {
        TRunResult failed;
        failed.Steps = -1;
        return failed;
    }
    TRunOptions options;
    return RunSimulation(context, options);
}
