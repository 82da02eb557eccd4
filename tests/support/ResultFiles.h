#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Readers of the run's result files, for tests.

// graf.dat: every line as its numbers, the time first.
std::vector<std::vector<double>> ReadGrafDat(const std::string& path);

struct GrafGrp {
    std::int32_t Consumers = 0;
    std::int32_t Ratio = 0;  // integer part of T / GS
    float GS = 0;
    std::vector<float> Times;
    std::vector<std::vector<float>> Values;  // per sample, one per consumer
    std::size_t TrailingBytes = 0;
};
GrafGrp ReadGrafGrp(const std::string& path);
