#include "Simulation/TSimThread.h"

#include "Simulation/SimModel.h"
#include "Simulation/Viewer.h"
#include "model/Schematic.h"

std::unique_ptr<TSimThread> TSimThread::Create(Schematic& sheet, Options options) {
    TSimModel& m = sheet.SimModel();
    m.StopRequested.store(false);
    m.Resume();
    if (!PrepareRun(sheet, options.Run.OutputDir)) return nullptr;
    m.ConsumerSnapshot.Reset(std::size_t(sheet.Consumers.Count()));
    return std::unique_ptr<TSimThread>(new TSimThread(sheet, std::move(options)));
}

TSimThread::TSimThread(Schematic& sheet, Options options)
    : sheet_(sheet), options_(std::move(options)) {
    worker_ = std::thread([this] { Body(); });
}

TSimThread::~TSimThread() { Stop(); }

void TSimThread::Body() {
    const TRunResult result = RunSimulation(sheet_, options_.Run);
    if (options_.StartViewer && result.Consumers > 0) {
        std::string error;
        if (!RunViewer(options_.Run.OutputDir, error) && options_.ViewerFailed) options_.ViewerFailed(error);
    }
    finished_.store(true);
    if (options_.Finished) options_.Finished(result);
}

void TSimThread::Pause() { sheet_.SimModel().RequestPause(); }

void TSimThread::Resume() { sheet_.SimModel().Resume(); }

bool TSimThread::Paused() const { return sheet_.SimModel().Paused(); }

void TSimThread::Stop() {
    if (!worker_.joinable()) return;
    sheet_.SimModel().RequestStop();
    worker_.join();
}

double TSimThread::Time() const {
    const TSimModel& m = sheet_.SimModel();
    const double t = m.PublishedTime.load(std::memory_order_relaxed);
    return t < m.T ? t : m.T;
}
