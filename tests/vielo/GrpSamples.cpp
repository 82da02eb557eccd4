#include "GrpSamples.h"

#include <bit>
#include <cmath>
#include <fstream>
#include <numbers>

void PutInt32(std::vector<unsigned char>& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>(u >> shift));
}

void PutFloat(std::vector<unsigned char>& out, float v) {
    PutInt32(out, std::bit_cast<std::int32_t>(v));
}

std::vector<unsigned char> EncodeGrp(const GrpData& data) {
    std::vector<unsigned char> out;
    PutInt32(out, data.Header.Inputs);
    PutInt32(out, data.Header.StepCount);
    PutFloat(out, data.Header.OutputStep);
    for (std::size_t s = 0; s < data.Times.size(); ++s) {
        PutFloat(out, data.Times[s]);
        for (const auto& column : data.Values)
            PutFloat(out, column[s]);
    }
    return out;
}

void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

GrpData ControlRun() {
    const double T = 2.0, GS = 0.005, stepAt = 0.1;
    const double wn = 12, zeta = 0.25, wd = wn * std::sqrt(1 - zeta * zeta);
    const double phi = std::acos(zeta);
    GrpData d;
    d.Header = {3, static_cast<std::int32_t>(T / GS), static_cast<float>(GS)};
    d.Values.resize(3);
    for (int k = 0; k <= static_cast<int>(T / GS + 1e-9); ++k) {
        const double t = k * GS, tau = t - stepAt;
        const double response = tau < 0
                                    ? 0
                                    : 1 - std::exp(-zeta * wn * tau) / std::sqrt(1 - zeta * zeta) *
                                              std::sin(wd * tau + phi);
        d.Times.push_back(static_cast<float>(t));
        d.Values[0].push_back(tau < 0 ? 0.0f : 1.0f);
        d.Values[1].push_back(static_cast<float>(response));
        d.Values[2].push_back(
            static_cast<float>(0.8 * std::exp(-1.5 * t) * std::sin(2 * std::numbers::pi * 3 * t)));
    }
    return d;
}

GrpData SineRun(int inputs, int samples) {
    GrpData d;
    d.Header = {inputs, samples - 1, 0.01f};
    d.Values.resize(inputs);
    for (int k = 0; k < samples; ++k) {
        const double t = 0.01 * k;
        d.Times.push_back(static_cast<float>(t));
        for (int i = 0; i < inputs; ++i)
            d.Values[i].push_back(
                static_cast<float>((i + 1) * std::sin(2 * std::numbers::pi * t) + i));
    }
    return d;
}
