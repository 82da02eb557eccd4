#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TBaseElement;
class TRunContext;
struct TRunSettings;

// Newton iterations per step given to runs whose options are made after the
// call; 0 (the default) is no limit. Tests set one, so that a fault which
// keeps the iteration from converging fails a test instead of hanging it.
void SetDefaultMaxIterations(std::int64_t limit);
std::int64_t DefaultMaxIterations();

struct TRunOptions {
    // Newton iterations allowed in one step; 0 means no limit.
    std::int64_t MaxIterations = DefaultMaxIterations();
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
    // Failed: an exception (memory exhausted, above all) ended the run.
    enum class Outcome { Finished, Stopped, NotConverged, InvalidValue, Failed };
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
// TNC <= 0, T < 0, values that are not finite, a step too small to advance
// the model time before T): false with the message text.
bool CheckRunSettings(const TRunSettings& settings, std::string& message);

// Settings that are valid but probably not meant: a step or an output step
// longer than the whole run.
std::vector<std::string> RunSettingsWarnings(const TRunSettings& settings);

// How large a run may grow before it is refused or needs the user's word.
struct TRunLimits {
    // More steps than this need confirmation.
    double MaxSteps = 1e9;
    // Samples taking more than this share of the free memory need confirmation.
    double SampleShare = 0.5;
    // Free memory in bytes; 0 asks the system (AvailableMemory).
    double AvailableBytes = 0;
    // Asked with the reason before a run beyond the limits; true goes on.
    // Unset: the yes/no question of the messages interface.
    std::function<bool(const std::string&)> Confirm;
};

// Memory this process can still take, in bytes: the system's available
// memory, bounded by the process's address-space and data limits.
double AvailableMemory();

// "512 КБ", "3.2 МБ", "80.0 ГБ".
std::string ByteSizeText(double bytes);

// Everything before the loop, in order: the settings check, every element's
// own check of its parameters, the memory the model would need (a model that
// does not fit is refused), the size of the run (beyond the limits the user
// is asked), removal of the previous run's result files, ResetState of every
// element in list order, model assembly into the context (which binds the
// schematic to it) and the debug dump into its output directory. False after
// a message when the run cannot start; the context then holds no model.
bool PrepareRun(TRunContext& run, const TRunLimits& limits = {});

// Advances the assembled model from 0 to T: per step one explicit Euler step
// of the block states, then Newton's method with a forward-difference
// Jacobian over [Yd; Ys; Phi]; a sample every GS; the result files at the end
// (also after a stop or a failure), into the context's output directory.
// The context must have been prepared.
TRunResult RunSimulation(TRunContext& run, const TRunOptions& options);
