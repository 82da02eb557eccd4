#pragma once

#include <cstdint>

#include <atomic>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

#include "Simulation/RunSettings.h"
#include "Simulation/TMatrix.h"

// The latest sampled consumer inputs, for a window that shows them while the
// run goes on: sized on the user-interface thread before the worker starts,
// written by the loop, read by the window without locks. NaN: not sampled yet.
class TConsumerSnapshot {
public:
    void Reset(std::size_t count) {
        values_ = std::make_unique<std::atomic<double>[]>(count);
        size_ = count;
        for (std::size_t i = 0; i < count; ++i) values_[i].store(std::numeric_limits<double>::quiet_NaN());
    }
    void Store(const std::vector<double>& values) {
        const std::size_t n = values.size() < size_ ? values.size() : size_;
        for (std::size_t i = 0; i < n; ++i) values_[i].store(values[i], std::memory_order_relaxed);
    }
    std::size_t Size() const { return size_; }
    double Value(std::size_t i) const {
        return i < size_ ? values_[i].load(std::memory_order_relaxed) : std::numeric_limits<double>::quiet_NaN();
    }

private:
    std::unique_ptr<std::atomic<double>[]> values_;
    std::size_t size_ = 0;
};

// One branch of the circuit: its conductance and its nodes with their
// incidences (its column of the incidence matrix Z; nodes past the last row,
// the reference, are left out). The circuit is kept as this list because the
// incidence and conductance matrices grow as the square of the circuit.
struct TBranch {
    int NodeA = -1, NodeB = -1;  // NodeA < NodeB when both are present
    double CoefA = 0, CoefB = 0;
    TValue g;
};

// The assembled equation system of one schematic and the state of its run:
// model assembly returns a new one for every run, and the run's context owns
// it. The run parameters are the run's own copy of the schematic's.
class TSimModel : public TRunSettings {
public:
    explicit TSimModel(const TRunSettings& settings) : TRunSettings(settings) {}
    TSimModel(const TSimModel&) = delete;
    TSimModel& operator=(const TSimModel&) = delete;

    // Model time of the current step; read by element live functions on the
    // simulation thread only.
    double Time = -1.0;
    // Counts residual evaluations: the potentials change only between two,
    // so an element may key what it derives from them on this number.
    std::uint64_t Evaluation = 0;
    // Shared with the user-interface thread.
    std::atomic<bool> StopRequested{false};
    std::atomic<double> PublishedTime{0.0};

    // Pause: the loop waits inside the step until resumed or stopped.
    void RequestPause() { PauseRequested.store(true); }
    void Resume() {
        {
            std::lock_guard lock(pauseMutex_);
            PauseRequested.store(false);
        }
        pauseWake_.notify_all();
    }
    void RequestStop() {
        {
            std::lock_guard lock(pauseMutex_);
            StopRequested.store(true);
        }
        pauseWake_.notify_all();
    }
    bool Paused() const { return PauseRequested.load(); }
    void WaitWhilePaused() {
        if (!PauseRequested.load(std::memory_order_relaxed)) return;
        std::unique_lock lock(pauseMutex_);
        pauseWake_.wait(lock, [this] { return !PauseRequested.load() || StopRequested.load(); });
    }

    // Labelled matrices (the names of the debug dump).
    TMatrix A, B, C, D, Xk;
    TMatrix G, Ge, Hd, Hc;
    TMatrix P, Pe, Qd, Qc;
    TMatrix N, Ne, Nc, Nd;
    TMatrix Mec, Med, Meu, Mev;
    TMatrix Mjc, Mjd, Mju, Mjv;
    TMatrix F, Un, Mf, En, Jn;
    std::vector<TBranch> Branches;
    int NodeRows = 0;  // unknown potentials
    int FirstCVBranch = 0;
    int FirstCCBranch = 0;

    // Node potentials (equation order), static-block inputs, consumer inputs.
    std::vector<double> Phi;
    std::vector<double> StaticInputs;
    std::vector<double> ConsumerInputs;
    TConsumerSnapshot ConsumerSnapshot;
    // The latest sampled value of every signal source, as the consumers see
    // them: producers, voltage summators, dynamic blocks, static blocks.
    TConsumerSnapshot SourceSnapshot;

    std::atomic<bool> PauseRequested{false};

    int NodeCount() const { return int(Phi.size()); }
    double Potential(int node) const {
        return node >= 0 && node < int(Phi.size()) ? Phi[std::size_t(node)] : 0.0;
    }

private:
    std::mutex pauseMutex_;
    std::condition_variable pauseWake_;
};
