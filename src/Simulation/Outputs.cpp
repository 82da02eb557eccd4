#include "Simulation/Outputs.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <bit>
#include <cstring>
#include <utility>
#include <limits>

TSampleStore::TSampleStore(std::size_t capacity, int nDyn, int nStat, int nNodes, int nCons)
    : capacity_(capacity), nDyn_(nDyn), nStat_(nStat), nNodes_(nNodes), nCons_(nCons),
      width_(std::size_t(nDyn + nStat + nNodes + nCons)) {
    // Reserve a bounded amount up front (at most 64 K rows and about 8 MB);
    // the store grows as samples come.
    const std::size_t rows = std::max<std::size_t>(1, (std::size_t(1) << 20) / (width_ + 1));
    const std::size_t reserve = std::min({capacity, std::size_t(1) << 16, rows});
    times_.reserve(reserve);
    values_.reserve(reserve * width_);
}

void TSampleStore::Add(double time, const std::vector<double>& yd, const std::vector<double>& ys,
                       const std::vector<double>& phi, const std::vector<double>& consumers) {
    if (Full()) return;
    times_.push_back(time);
    values_.insert(values_.end(), yd.begin(), yd.begin() + nDyn_);
    values_.insert(values_.end(), ys.begin(), ys.begin() + nStat_);
    values_.insert(values_.end(), phi.begin(), phi.begin() + nNodes_);
    values_.insert(values_.end(), consumers.begin(), consumers.begin() + nCons_);
    ++count_;
}

std::size_t SampleCapacity(double T, double GS) {
    const double k = std::floor(T / GS + 1.0);
    if (!(k >= 1.0)) return 1;
    // Bounded so that an absurd ratio cannot ask for more memory than exists.
    const double limit = double(std::numeric_limits<std::int32_t>::max());
    return std::size_t(std::min(k, limit));
}

void AppendFixed(std::string& out, double v, int precision, int width) {
    char text[400];  // the longest double in fixed form, with its digits
    int length = 0;
    if (std::isnan(v) || std::isinf(v)) {
        length = std::snprintf(text, sizeof text, "%.*f", precision, v);
    } else {
        const auto r = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, precision);
        length = int(r.ptr - text);
    }
    if (length < width) out.append(std::size_t(width - length), ' ');
    out.append(text, std::size_t(length));
}

namespace {

bool WriteAll(std::FILE* f, const void* data, std::size_t bytes) {
    return std::fwrite(data, 1, bytes, f) == bytes;
}

template <class T>
void PutLE(std::FILE* f, T value, bool& ok) {
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    // Stored little-endian whatever the host.
    if constexpr (std::endian::native == std::endian::big)
        for (std::size_t i = 0; i < sizeof(T) / 2; ++i) std::swap(bytes[i], bytes[sizeof(T) - 1 - i]);
    ok = ok && WriteAll(f, bytes, sizeof(T));
}

} // namespace

void WriteResultFiles(const std::string& dir, const TSampleStore& store, int nDyn, int nStat,
                      int nNodes, double T, double GS) {
    const std::string datName = dir.empty() ? "graf.dat" : dir + "/graf.dat";
    const std::string grpName = dir.empty() ? "graf.grp" : dir + "/graf.grp";
    std::FILE* dat = std::fopen(datName.c_str(), "w");
    if (!dat) std::printf("Немогу открыть файл %s\n", datName.c_str());
    std::FILE* grp = std::fopen(grpName.c_str(), "wb");
    if (!grp) std::printf("Немогу открыть файл %s\n", grpName.c_str());

    const int nCons = store.Consumers();
    if (grp) {
        bool ok = true;
        PutLE<std::int32_t>(grp, nCons, ok);
        const double ratio = std::floor(T / GS);
        const double clamped = std::min(std::max(ratio, double(std::numeric_limits<std::int32_t>::min())),
                                        double(std::numeric_limits<std::int32_t>::max()));
        PutLE<std::int32_t>(grp, std::int32_t(clamped), ok);
        PutLE<float>(grp, float(GS), ok);
        if (!ok) std::printf("Немогу записать в файл %s\n", grpName.c_str());
    }
    const int values = nDyn + nStat + nNodes;
    std::string line;
    for (std::size_t i = 0; i < store.Count(); ++i) {
        const double* row = store.Row(i);
        if (dat) {
            line.clear();
            AppendFixed(line, store.Time(i), 8, 0);
            line += "  ";
            for (int k = 0; k < values; ++k) {
                AppendFixed(line, row[k], 4, 9);
                line += "  ";
            }
            line += "    ";
            for (int k = 0; k < nCons; ++k) {
                AppendFixed(line, row[values + k], 4, 9);
                line += "  ";
            }
            line += '\n';
            WriteAll(dat, line.data(), line.size());
        }
        if (grp) {
            bool ok = true;
            PutLE<float>(grp, float(store.Time(i)), ok);
            for (int k = 0; k < nCons; ++k) PutLE<float>(grp, float(row[values + k]), ok);
        }
    }
    if (dat) std::fclose(dat);
    if (grp) std::fclose(grp);
}
