#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Schematic;
class TSimModel;
class TBaseElement;

struct TRunOptions {
    // Where "graf.dat", "graf.grp" and "debug.txt" go; empty writes none.
    std::string OutputDir = ".";
    // Newton iterations allowed in one step; 0 means no limit.
    std::int64_t MaxIterations = 0;
    // Jacobian columns whose derivatives cannot change within the run are
    // differenced once, and the factorisation is kept while nothing else
    // changes. Off, every Newton iteration differences every column, which
    // reproduces the dense algorithm's numbers to the last bit; on, the
    // results differ from those by the forward differences' rounding, well
    // inside what the accuracy TNC allows.
    bool ReuseJacobian = true;
    // The linear solver: by the system's size, or one of the two for tests
    // and measurements.
    enum class SolverChoice { Automatic, Dense, Sparse } Solver = SolverChoice::Automatic;
    // Called now and then on the simulation thread with the model time.
    std::function<void(double)> Progress;
    // Called with every sample kept: time, then Yd, Ys, Phi and the consumer
    // inputs in one row.
    std::function<void(double, const std::vector<double>&)> Sample;
};

struct TRunResult {
    enum class Outcome { Finished, Stopped, NotConverged, InvalidValue };
    Outcome Status = Outcome::Finished;
    std::int64_t Steps = 0;
    std::int64_t Iterations = 0;     // Newton iterations over the whole run
    std::int64_t Samples = 0;
    double FailureTime = 0;          // model time of a failed step
    TBaseElement* Culprit = nullptr; // element whose value was not finite
    int Consumers = 0;
    std::string Message;             // the text shown for a failed run
};

// Refuses settings that make the loop meaningless (h <= 0, GS <= 0, pr = 0,
// TNC <= 0, T < 0, values that are not finite): false with the message text.
bool CheckRunSettings(const TSimModel& model, std::string& message);

// Everything before the loop, in order: the settings check, every element's
// own check of its parameters, ResetState of every element in list order and
// model assembly (with the debug dump into dumpDir). False after a message
// when the run cannot start.
bool PrepareRun(Schematic& sheet, const std::string& dumpDir);

// Advances the assembled model from 0 to T: per step one explicit Euler step
// of the block states, then Newton's method with a forward-difference
// Jacobian over [Yd; Ys; Phi]; a sample every GS; the result files at the end
// (also after a stop or a failure).
TRunResult RunSimulation(Schematic& sheet, const TRunOptions& options);
