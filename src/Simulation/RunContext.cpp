#include "Simulation/RunContext.h"

#include "Simulation/RandomSeed.h"
#include "model/Schematic.h"
#include "model/ThreadMessages.h"

TRunContext::TRunContext(Schematic& sheet, std::string outputDir)
    : OutputDir(std::move(outputDir)), sheet_(sheet) {}

TRunContext::~TRunContext() { Adopt(nullptr); }

void TRunContext::Adopt(std::unique_ptr<TSimModel> model) {
    // A later run may have bound its own model since.
    if (model_ && sheet_.BoundRun() == model_.get()) sheet_.BindRun(nullptr);
    model_ = std::move(model);
    if (model_) sheet_.BindRun(model_.get());
}

TRunScope::TRunScope(const TRunContext& run) {
    if (run.Sink) {
        sink_ = true;
        previousSink_ = SetThreadMessages(run.Sink);
    }
    if (run.Seed) {
        seed_ = true;
        previousSeed_ = SetThreadRandomSeed(run.Seed);
    }
}

TRunScope::~TRunScope() {
    if (seed_) SetThreadRandomSeed(previousSeed_);
    if (sink_) SetThreadMessages(previousSink_);
}
