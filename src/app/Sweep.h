#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class Schematic;

// Many runs of one schematic with some parameters changed: a sweep over
// lists or ranges of values (their Cartesian product) and Monte Carlo draws
// within tolerances. A variant is the schematic's file text with the records
// of its elements changed, so one variant run is exactly a single run of
// that text.

// One element parameter: the element's position in Elements and the short
// name of its table row or of a line of its record ("K" of a transfer
// function). `Label` is what the user wrote ("R3.R").
struct TParamRef {
    std::string Label;
    int Element = -1;
    std::string Param;
};

// --vary ELEMENT.PARAM=V1,V2,... | START:STOP:COUNT[:log]. A value is a
// number in the base unit (the row keeps its unit), or as in the file,
// "NUMBER,UNIT"; a list of such values is separated by ";".
struct TVaryAxis {
    std::string Arg;  // the argument as given, for messages
    TParamRef Ref;
    std::vector<std::string> Texts;
};

// --tolerance ELEMENT.PARAM=5%[:gauss]: each Monte Carlo variant draws the
// value nominal·(1 + δ), δ uniform in [−t, t], or normal with 3σ = t.
struct TTolerance {
    TParamRef Ref;
    double Fraction = 0;
    bool Gauss = false;
};

// --measure NAME=KIND(CONSUMER): a number taken from one consumer input's
// samples.
struct TMeasure {
    enum class TKind { Final, Min, Max, Mean, Rise, Overshoot } Kind = TKind::Final;
    std::string Name;
    int Consumer = -1;  // position among the consumers
};

struct TSweepSetup {
    std::vector<TVaryAxis> Axes;
    std::vector<TTolerance> Tolerances;
    int MonteCarlo = 0;  // draws; 0 with no tolerance
    unsigned Seed = 0;   // of the Monte Carlo draws
    std::vector<TMeasure> Measures;
};

// The element named by its number in the file or by its derived name ("R3");
// -1 when there is none.
int FindElementByLabel(const Schematic& sheet, const std::string& label);

// Parsers of the arguments against the loaded schematic: false with the
// reason, naming what is wrong.
bool ParseVary(const Schematic& sheet, const std::string& arg, TVaryAxis& axis, std::string& error);
bool ParseTolerance(const Schematic& sheet, const std::string& arg, TTolerance& tolerance, std::string& error);
bool ParseMeasure(const Schematic& sheet, const std::string& arg, TMeasure& measure, std::string& error);

struct TSetting {
    int Element = -1;
    std::string Param;
    std::string Text;  // the value as given, or drawn
};

struct TVariant {
    int Number = 0;                     // from 1, the NNNN of run-NNNN
    std::vector<TSetting> Settings;     // in column order
    std::vector<std::string> Columns;   // the values shown in the summary
};

// The summary's parameter columns: the axes, then the tolerances not
// already among them.
std::vector<std::string> ParameterColumns(const TSweepSetup& setup);

// Every variant: the last axis changes fastest; each point of the product
// is drawn MonteCarlo times when tolerances are given.
std::vector<TVariant> ExpandVariants(const Schematic& sheet, const TSweepSetup& setup);

// The file lines of a variant: `lines` (the schematic's own) with the
// settings applied through its elements' records. False with the reason
// when an element refuses a value (the file reader's or the element's own
// check before a run).
bool VariantLines(const std::vector<std::string>& lines, const std::vector<TSetting>& settings,
                  std::vector<std::string>& out, std::string& error);

// Checks every value of every axis alone against the schematic, before any
// run: false with the reason naming the argument.
bool CheckAxes(const std::vector<std::string>& lines, const TSweepSetup& setup, std::string& error);

// The value of one measure over sampled times and values; NaN when it has
// no meaning (no samples, a step of zero height for rise and overshoot).
double Measure(TMeasure::TKind kind, const std::vector<double>& times, const std::vector<double>& values);

// How the run of one variant went: "finished", "stopped", "not converged",
// "invalid value", "failed" or "refused" (it could not start).
struct TVariantResult {
    std::string Status;
    std::vector<double> Measures;
    std::vector<std::string> Messages;  // "error: ..." / "warning: ..."
    bool Finished() const { return Status == "finished"; }
};

struct TVariantRunOptions {
    std::vector<std::pair<std::string, double>> Settings;  // T, h, pr, TNC, GS
    std::int64_t MaxIterations = 1000;
    std::optional<unsigned> GeneratorSeed;
    bool Force = false;
    bool DumpLargeModels = false;
};

// Runs one variant into `dir` (created): graf.dat, graf.grp, debug.txt, its
// parameter values as one line "A4.K=0.5 M1.Jd=0.01" ("variant.txt") and its
// line of the summary ("row.csv"). Its messages go to the result, not to
// the process's sink. `stop`, when set during the run, stops it.
TVariantResult RunVariant(const std::vector<std::string>& lines, const TSweepSetup& setup, const TVariant& variant,
                          const std::string& dir, const TVariantRunOptions& options,
                          const std::function<void(std::atomic<bool>*)>& registerStop = {});

// "run-0007".
std::string RunDirName(int number);

// The summary's header and one variant's line.
std::string SummaryHeader(const TSweepSetup& setup);
std::string SummaryRow(const TVariant& variant, const TVariantResult& result);

// Gathers the row.csv of run-0001 to run-`count` under `dir` in run order
// into dir/summary.csv, with the header (runs of an earlier, larger series
// in the same directory are not the series'); returns the number of rows,
// -1 when the file cannot be written.
int CollectSummary(const std::string& dir, const std::string& header, int count);

// Runs every variant on `jobs` threads into dir/run-NNNN and writes
// dir/summary.csv of the finished ones. `progress` is told the count of
// ended variants; `stop` ends the sweep: running variants stop, the rest do
// not start. `report` gets each variant's messages, one caller at a time.
struct TSweepRun {
    int Finished = 0, Failed = 0, Stopped = 0;
};
TSweepRun RunSweep(const std::vector<std::string>& lines, const TSweepSetup& setup,
                   const std::vector<TVariant>& variants, const std::string& dir, const TVariantRunOptions& options,
                   int jobs, const std::atomic<bool>& stop, const std::function<void(int)>& progress,
                   const std::function<void(const TVariant&, const TVariantResult&)>& report);
