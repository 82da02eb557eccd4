#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"

class Schematic;

// One run on a worker thread. The model is assembled on the calling thread
// when the run is created; the loop runs on the worker. Pause is a wait
// inside the loop that takes effect within a step; Stop works on a running
// or paused run and returns once the result files are written (and the
// viewer, when started, has closed).
class TSimThread {
public:
    struct Options {
        // Where the run's files go; empty writes none.
        std::string OutputDir = ".";
        TRunOptions Run;
        // Limits of the run's size; beyond them the user is asked.
        TRunLimits Limits;
        // Start the viewer after a run whose schematic has consumers.
        bool StartViewer = false;
        // Called on the worker thread when the run has ended; the window
        // hands it to its own thread.
        std::function<void(const TRunResult&)> Finished;
        // Called on the worker thread when the viewer could not be started.
        std::function<void(const std::string&)> ViewerFailed;
    };

    // Checks the settings and the parameters, resets every element and
    // assembles the model; null after a message when the run cannot start.
    static std::unique_ptr<TSimThread> Create(Schematic& sheet, Options options);
    ~TSimThread();
    TSimThread(const TSimThread&) = delete;
    TSimThread& operator=(const TSimThread&) = delete;

    void Pause();
    void Resume();
    bool Paused() const;
    // Requests the end and resumes a paused run, without waiting.
    void RequestStop();
    // Requests the end, resumes a paused run and waits for the worker.
    void Stop();
    bool Finished() const { return finished_.load(); }
    // Model time shown by the status display.
    double Time() const;
    // The run's context, once the worker has ended: its model keeps the
    // last potentials, which the editor shows.
    std::unique_ptr<TRunContext> TakeRun();

private:
    TSimThread(std::unique_ptr<TRunContext> run, Options options);
    void Body();

    std::unique_ptr<TRunContext> run_;
    TSimModel& model_;
    Options options_;
    std::atomic<bool> finished_{false};
    std::thread worker_;
};
