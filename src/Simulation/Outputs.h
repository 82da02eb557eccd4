#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The samples kept during a run and the two result files written from them
// at its end: "graf.dat" (text table of every solved quantity and the
// consumer inputs) and "graf.grp" (the consumer inputs as binary floats, for
// the viewer).
class TSampleStore {
public:
    TSampleStore(std::size_t capacity, int nDyn, int nStat, int nNodes, int nCons);

    bool Full() const { return count_ >= capacity_; }
    std::size_t Count() const { return count_; }
    std::size_t Capacity() const { return capacity_; }
    void Add(double time, const std::vector<double>& yd, const std::vector<double>& ys,
             const std::vector<double>& phi, const std::vector<double>& consumers);

    double Time(std::size_t i) const { return times_[i]; }
    // Row i: Yd, Ys, Phi, then the consumer inputs.
    // A run with nothing to record keeps rows of width 0 in an empty vector.
    const double* Row(std::size_t i) const { return values_.data() + i * width_; }
    int Consumers() const { return nCons_; }

private:
    std::size_t capacity_;
    int nDyn_, nStat_, nNodes_, nCons_;
    std::size_t width_;
    std::size_t count_ = 0;
    std::vector<double> times_;
    std::vector<double> values_;
};

// Integer capacity of the store: the integer part of T / GS + 1.
std::size_t SampleCapacity(double T, double GS);

// Appends `v` as printf's "%<width>.<precision>f" writes it in the C
// locale, a good deal faster (the dump holds every unknown of every sample).
void AppendFixed(std::string& out, double v, int precision, int width);

// Writes the files into `dir`; a file that cannot be opened or written gives
// the message "Немогу открыть файл %s" / "Немогу записать в файл %s" on
// standard output and the run goes on without it.
void WriteResultFiles(const std::string& dir, const TSampleStore& store, int nDyn, int nStat,
                      int nNodes, double T, double GS);
