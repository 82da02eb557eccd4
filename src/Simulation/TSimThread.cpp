#include "Simulation/TSimThread.h"

#include <exception>
#include <new>
#include <system_error>

#include "Simulation/SimModel.h"
#include "Simulation/Viewer.h"
#include "model/Messages.h"
#include "model/Schematic.h"

std::unique_ptr<TSimThread> TSimThread::Create(Schematic& sheet, Options options) {
    try {
        auto run = std::make_unique<TRunContext>(sheet, options.OutputDir);
        if (!PrepareRun(*run, options.Limits)) return nullptr;
        TSimModel& m = *run->Model();
        m.ConsumerSnapshot.Reset(std::size_t(sheet.Consumers.Count()));
        m.SourceSnapshot.Reset(std::size_t(sheet.Producers.Count() + sheet.VoltageSummators.Count() +
                                           sheet.Dynamics.Count() + sheet.Statics.Count()));
        return std::unique_ptr<TSimThread>(new TSimThread(std::move(run), std::move(options)));
    } catch (const std::bad_alloc&) {
        Msg().Error("Недостаточно памяти для запуска моделирования.", ApplicationTitle);
    } catch (const std::system_error& e) {
        Msg().Error(std::string("Не удалось запустить поток моделирования: ") + e.what(),
                    ApplicationTitle);
    }
    return nullptr;
}

TSimThread::TSimThread(std::unique_ptr<TRunContext> run, Options options)
    : run_(std::move(run)), model_(*run_->Model()), options_(std::move(options)) {
    worker_ = std::thread([this] { Body(); });
}

TSimThread::~TSimThread() {
    Stop();
}

// Nothing may leave the worker: an exception there would end the program
// and with it the user's unsaved schematic.
void TSimThread::Body() {
    TRunResult result;
    try {
        result = RunSimulation(*run_, options_.Run);
        if (options_.StartViewer && result.Consumers > 0) {
            std::string error;
            if (!RunViewer(options_.OutputDir, error) && options_.ViewerFailed)
                options_.ViewerFailed(error);
        }
    } catch (const std::bad_alloc&) {
        result.Status = TRunResult::Outcome::Failed;
        result.Message = "Недостаточно памяти: моделирование остановлено.";
    } catch (const std::exception& e) {
        result.Status = TRunResult::Outcome::Failed;
        result.Message =
            std::string("Моделирование остановлено из-за внутренней ошибки: ") + e.what();
    } catch (...) {
        result.Status = TRunResult::Outcome::Failed;
        result.Message = "Моделирование остановлено из-за внутренней ошибки.";
    }
    finished_.store(true);
    try {
        if (options_.Finished) options_.Finished(result);
    } catch (...) {
        // The window could not hear of the end; the run has ended all the same.
    }
}

void TSimThread::Pause() {
    model_.RequestPause();
}

void TSimThread::Resume() {
    model_.Resume();
}

bool TSimThread::Paused() const {
    return model_.Paused();
}

void TSimThread::RequestStop() {
    model_.RequestStop();
}

void TSimThread::Stop() {
    if (!worker_.joinable()) return;
    model_.RequestStop();
    worker_.join();
}

std::unique_ptr<TRunContext> TSimThread::TakeRun() {
    Stop();
    return std::move(run_);
}

double TSimThread::Time() const {
    const TSimModel& m = model_;
    const double t = m.PublishedTime.load(std::memory_order_relaxed);
    return t < m.T ? t : m.T;
}
