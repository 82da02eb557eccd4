#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Simulation/SimModel.h"

class Messages;
class Schematic;

// One run of a schematic as a value: what it needs (the sink of its
// messages, the seed of its generators, the directory of its files) and
// what it produces (the assembled model with its state vectors). While the
// context holds a model, the schematic's elements read that model.
class TRunContext {
public:
    explicit TRunContext(Schematic& sheet, std::string outputDir = ".");
    ~TRunContext();
    TRunContext(const TRunContext&) = delete;
    TRunContext& operator=(const TRunContext&) = delete;

    Schematic& Sheet() const { return sheet_; }
    // Where "graf.dat", "graf.grp", "graf.names" and "debug.txt" go; empty
    // writes none.
    std::string OutputDir;
    // The run's messages go there from the thread that prepares or runs it;
    // null: the thread's own sink.
    Messages* Sink = nullptr;
    // The seed the generators take while the run is prepared; none: the
    // thread's or the process's.
    std::optional<unsigned> Seed;

    // Null until the model is assembled.
    TSimModel* Model() const { return model_.get(); }
    // Takes the assembled model and binds the schematic to it.
    void Adopt(std::unique_ptr<TSimModel> model);

private:
    Schematic& sheet_;
    std::unique_ptr<TSimModel> model_;
};

// Puts the context's sink and seed in force on the calling thread for the
// scope's life.
class TRunScope {
public:
    explicit TRunScope(const TRunContext& run);
    ~TRunScope();
    TRunScope(const TRunScope&) = delete;
    TRunScope& operator=(const TRunScope&) = delete;

private:
    bool sink_ = false, seed_ = false;
    Messages* previousSink_ = nullptr;
    std::optional<unsigned> previousSeed_;
};
