// Simulation commands: the run on its worker thread, its end handed back to
// the editor's thread, the status panels and the display values.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "Simulation/ModelAssembly.h"
#include "Simulation/CircuitWarnings.h"
#include "Simulation/SimModel.h"
#include "app/Editor.h"
#include "blocks/TDisplay.h"
#include "model/Messages.h"
#include "model/TBaseElement.h"
#include "model/TInfoConnector.h"
#include "params/ValueText.h"

// Lets the worker post to the host only while the editor wants to hear.
struct TEditor::TPostGate {
    explicit TPostGate(TEditorHost& host) : Host(host) {}
    void Post(std::function<void()> task) {
        std::lock_guard lock(Mutex);
        if (Open) Host.Post(std::move(task));
    }
    void Close() {
        std::lock_guard lock(Mutex);
        Open = false;
    }
    bool IsOpen() {
        std::lock_guard lock(Mutex);
        return Open;
    }
    std::mutex Mutex;
    TEditorHost& Host;
    bool Open = true;
};

namespace {

// Status numbers: the model time accumulates rounding noise in its last
// digits, which the panel need not show.
std::string StatusNumber(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.12g", v);
    return FormatReal(std::strtod(text, nullptr));
}

} // namespace

TEditor::TEditor(TEditorHost& host) : host_(host), gate_(std::make_shared<TPostGate>(host)) {
    RunOptions.OutputDir = ".";
    RunOptions.StartViewer = true;
    status_ = {"Длительность моделирования:", "", "Шаг моделирования:", "", "Текущее модельное время:", "0",
               "Шаг вывода графиков:", "", ""};
    ShowSettings();
    ForgetHistory();
}

TEditor::~TEditor() { StopRunNow(); }

void TEditor::StopRunNow() {
    gate_->Close();
    run_.reset();
    lastRun_.reset();
    paused_ = stopping_ = false;
}

void TEditor::ShowSettings() {
    const TRunSettings& m = sheet_.RunSettings;
    status_[1] = StatusNumber(m.T);
    status_[3] = StatusNumber(m.h);
    status_[7] = StatusNumber(m.GS);
}

void TEditor::ShowTime() {
    if (run_) status_[5] = StatusNumber(run_->Time());
}

void TEditor::SettingsChanged(bool valuesChanged) {
    if (valuesChanged) {
        sheet_.Modified = true;
        Commit("Параметры моделирования");
    }
    ShowSettings();
    Changed();
}

void TEditor::Start() {
    ShowSettings();
    if (run_) {
        if (StartEnabled()) {
            run_->Resume();
            paused_ = false;
        }
        Changed();
        return;
    }
    // The schematic is frozen while the run exists: no drag may go on.
    AbortDrag();
    displays_.clear();
    outputs_.clear();
    lastRun_.reset();
    // A circuit that cannot mean anything still runs, after the user is told.
    for (const std::string& w : CircuitWarnings(sheet_))
        Msg().Warning(w, ApplicationTitle);

    const unsigned generation = ++runGeneration_;
    std::weak_ptr<TPostGate> weak = gate_;
    TSimThread::Options options = RunOptions;
    options.Finished = [this, weak, generation](const TRunResult& result) {
        if (auto gate = weak.lock())
            gate->Post([this, weak, generation, result] {
                if (auto g = weak.lock(); g && g->IsOpen()) EndRun(generation, result);
            });
    };
    options.ViewerFailed = [weak](const std::string& text) {
        if (auto gate = weak.lock())
            gate->Post([weak, text] {
                if (auto g = weak.lock(); g && g->IsOpen()) Msg().Error(text, ApplicationTitle);
            });
    };
    run_ = TSimThread::Create(sheet_, std::move(options));
    paused_ = stopping_ = false;
    if (run_) {
        status_[5] = "0";
        ShowTime();
    }
    Changed();
}

void TEditor::Pause() {
    if (!PauseEnabled()) return;
    run_->Pause();
    paused_ = true;
    ShowTime();
    Changed();
}

void TEditor::Stop() {
    if (!StopEnabled()) return;
    // The worker writes its files (and waits for the viewer) before it ends;
    // the window stays responsive and learns of the end through EndRun.
    stopping_ = true;
    paused_ = false;
    run_->RequestStop();
    Changed();
}

void TEditor::UpdateSimStatus() {
    if (!run_ || paused_) return;
    ShowTime();
    RefreshDisplays();
    Changed();
}

void TEditor::EndRun(unsigned generation, const TRunResult& result) {
    if (generation != runGeneration_ || !run_) return;
    ShowTime();
    RefreshDisplays();
    lastRun_ = run_->TakeRun();
    run_.reset();
    paused_ = stopping_ = false;
    Changed();
    if (!result.Message.empty()) {
        if (result.Culprit && sheet_.Elements.Contains(result.Culprit)) {
            sheet_.ClearSelection();
            result.Culprit->SetSelected(true);
        }
        Msg().Error(result.Message, ApplicationTitle);
    }
}

void TEditor::RefreshDisplays() {
    if (!run_ || !sheet_.BoundRun()) return;
    const TConsumerSnapshot& snapshot = sheet_.BoundRun()->ConsumerSnapshot;
    for (int i = 0; i < sheet_.Consumers.Count(); ++i) {
        TBaseElement* e = sheet_.Consumers[i];
        if (!dynamic_cast<TDisplay*>(e)) continue;
        const double v = snapshot.Value(std::size_t(i));
        if (!std::isnan(v)) displays_[e] = v;
    }
    const TConsumerSnapshot& sources = sheet_.BoundRun()->SourceSnapshot;
    for (const TInfoOutput* output : sheet_.AllOutputs) {
        const int slot = SourceSlot(sheet_, ClassifyOutput(sheet_, output));
        const double v = slot < 0 ? NAN : sources.Value(std::size_t(slot));
        if (!std::isnan(v)) outputs_[output->Parent()] = v;
    }
}

std::optional<double> TEditor::OutputValue(const TBaseElement& element) const {
    const auto it = outputs_.find(&element);
    if (it == outputs_.end()) return std::nullopt;
    return it->second;
}

std::optional<double> TEditor::DisplayValue(const TBaseElement& element) const {
    const auto it = displays_.find(&element);
    if (it == displays_.end()) return std::nullopt;
    return it->second;
}

void TEditor::ForgetMissingDisplays() {
    std::erase_if(displays_, [this](const auto& entry) { return !sheet_.Elements.Contains(entry.first); });
    std::erase_if(outputs_, [this](const auto& entry) { return !sheet_.Elements.Contains(entry.first); });
}
