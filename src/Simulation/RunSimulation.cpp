#include "Simulation/RunSimulation.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <new>
#include <sys/resource.h>
#include <unistd.h>

#include "Simulation/CompiledModel.h"
#include "Simulation/InputNames.h"
#include "Simulation/LinearSolver.h"
#include "Simulation/ModelAssembly.h"
#include "Simulation/Outputs.h"
#include "Simulation/RunContext.h"
#include "Simulation/SimModel.h"
#include "blocks/Families.h"
#include "model/Messages.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "params/ValueText.h"

namespace {
std::atomic<std::int64_t> defaultMaxIterations{0};
}

void SetDefaultMaxIterations(std::int64_t limit) {
    defaultMaxIterations.store(limit);
}
std::int64_t DefaultMaxIterations() {
    return defaultMaxIterations.load();
}

bool CheckRunSettings(const TRunSettings& m, std::string& message) {
    const struct {
        double value;
        const char* text;
    } all[] = {{m.T, "Длительность моделирования"},
               {m.h, "Шаг моделирования"},
               {m.pr, "Приращение вычисления производной"},
               {m.TNC, "Точность решения"},
               {m.GS, "Шаг вывода графиков"}};
    for (const auto& s : all)
        if (!std::isfinite(s.value)) {
            message = std::string("Параметр моделирования \"") + s.text + "\" не является числом.";
            return false;
        }
    if (m.T < 0)
        message = "Длительность моделирования не может быть отрицательной.";
    else if (m.h <= 0)
        message = "Шаг моделирования должен быть больше нуля.";
    else if (m.pr == 0)
        message = "Приращение вычисления производной не может быть равно нулю.";
    else if (m.TNC <= 0)
        message = "Точность решения должна быть больше нуля.";
    else if (m.GS <= 0)
        message = "Шаг вывода графиков должен быть больше нуля.";
    // The model time grows by h until it reaches T, so the step must still
    // move the largest time below T. Comparing with half the spacing of
    // doubles there also covers a sum that rounds back to even.
    else if (m.T > 0 && !(2 * m.h > m.T - std::nextafter(m.T, 0.0)))
        message = "Шаг моделирования " + FormatReal(m.h) +
                  " слишком мал: при t = " + FormatReal(m.T) +
                  " с модельное время перестаёт расти.";
    else
        return true;
    return false;
}

std::vector<std::string> RunSettingsWarnings(const TRunSettings& m) {
    std::vector<std::string> warnings;
    if (m.T > 0 && m.h > m.T)
        warnings.push_back("Шаг моделирования " + FormatReal(m.h) +
                           " больше длительности моделирования " + FormatReal(m.T) +
                           ": будет сделан только один шаг.");
    if (m.T > 0 && m.GS > m.T)
        warnings.push_back("Шаг вывода графиков " + FormatReal(m.GS) +
                           " больше длительности моделирования " + FormatReal(m.T) +
                           ": будет записан только отсчёт при t = 0.");
    return warnings;
}

double AvailableMemory() {
    double bytes = 0;
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    double kb = 0;
    std::string unit;
    while (meminfo >> key >> kb >> unit)
        if (key == "MemAvailable:") {
            bytes = kb * 1024.0;
            break;
        }
    if (bytes <= 0) {
        const long pages = sysconf(_SC_AVPHYS_PAGES), page = sysconf(_SC_PAGESIZE);
        if (pages > 0 && page > 0) bytes = double(pages) * double(page);
    }
    // Without any figure, a bound no desktop run should need.
    if (bytes <= 0) bytes = 16.0 * 1024 * 1024 * 1024;
    for (int resource : {RLIMIT_AS, RLIMIT_DATA}) {
        rlimit limit{};
        if (getrlimit(resource, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
            bytes = std::min(bytes, double(limit.rlim_cur));
    }
    return bytes;
}

std::string ByteSizeText(double bytes) {
    char text[48];
    const double kb = 1024.0, mb = kb * 1024, gb = mb * 1024;
    if (bytes >= gb)
        std::snprintf(text, sizeof text, "%.1f ГБ", bytes / gb);
    else if (bytes >= mb)
        std::snprintf(text, sizeof text, "%.1f МБ", bytes / mb);
    else
        std::snprintf(text, sizeof text, "%.0f КБ", std::ceil(bytes / kb));
    return text;
}

namespace {

// Refuses a model that cannot fit and asks before a run that would take very
// long or fill most of the memory with samples.
bool CheckRunSize(const Schematic& sheet, const TRunLimits& limits) {
    const TRunSettings& m = sheet.RunSettings;
    const double available = limits.AvailableBytes > 0 ? limits.AvailableBytes : AvailableMemory();
    const TModelSize size = CountModel(sheet);
    const double model = ModelBytes(size);
    if (model > available) {
        Msg().Error("Для моделирования схемы (" + std::to_string(size.Nz()) + " неизвестных, " +
                        std::to_string(size.nBr) + " ветвей) нужно " + ByteSizeText(model) +
                        " памяти, а свободно " + ByteSizeText(available) +
                        ". Моделирование не запущено.",
                    ApplicationTitle);
        return false;
    }
    auto confirm = [&limits](const std::string& reason) {
        if (limits.Confirm) return limits.Confirm(reason);
        return Msg().Question(reason + " Продолжить?", ApplicationTitle, false) == TAnswer::Yes;
    };
    const double steps = std::ceil(m.T / m.h);
    if (steps > limits.MaxSteps) {
        char count[32];
        std::snprintf(count, sizeof count, "%.0f", steps);
        if (!confirm(std::string("Моделирование займёт ") + count + " шагов, это очень долго."))
            return false;
    }
    const double width = double(size.Nz() + size.nCons + 1);
    const double samples = double(SampleCapacity(m.T, m.GS)) * width * double(sizeof(double));
    if (samples > limits.SampleShare * (available - model))
        if (!confirm("Отсчёты графиков займут до " + ByteSizeText(samples) +
                     " памяти при свободных " + ByteSizeText(available) + "."))
            return false;
    return true;
}

void RemovePreviousResults(const std::string& dir) {
    if (dir.empty()) return;
    std::error_code ec;
    for (const char* name : {"graf.dat", "graf.grp", InputNamesFile})
        std::filesystem::remove(std::filesystem::path(dir) / name, ec);
}

} // namespace

bool PrepareRun(TRunContext& run, const TRunLimits& limits) {
    const TRunScope scope(run);
    Schematic& sheet = run.Sheet();
    const std::string& dumpDir = run.OutputDir;
    run.Adopt(nullptr);
    std::string message;
    if (!CheckRunSettings(sheet.RunSettings, message)) {
        Msg().Error(message, ApplicationTitle);
        return false;
    }
    bool ok = true;
    for (TBaseElement* e : sheet.Elements)
        ok = e->CheckBeforeRun() && ok;
    if (!ok) return false;
    if (!CheckRunSize(sheet, limits)) return false;
    // The result files of an earlier run must not stand beside the new dump.
    RemovePreviousResults(dumpDir);
    try {
        for (TBaseElement* e : sheet.Elements)
            e->ResetState();
        run.Adopt(BuildModel(sheet));
        WriteModelDump(sheet, *run.Model(), dumpDir);
    } catch (const std::bad_alloc&) {
        run.Adopt(nullptr);
        Msg().Error("Недостаточно памяти для сборки модели схемы. Моделирование не запущено.",
                    ApplicationTitle);
        return false;
    }
    return true;
}

namespace {

std::string TimeText(double t) {
    return FormatReal(t);
}

// The Newton state of one run: unknowns, their solved copies and the work
// arrays, allocated once.
class NewtonLoop {
public:
    NewtonLoop(const TRunContext& run, const TRunOptions& options)
        : sheet_(run.Sheet()), m_(*run.Model()), outputDir_(run.OutputDir), cm_(sheet_, m_), options_(options),
          Nz_(cm_.Nz()), pattern_(cm_.JacobianPattern(sheet_, varying_, &formed_)) {
        for (int k = 0; k < sheet_.Consumers.Count(); ++k)
            if (sheet_.Consumers[k]->ReadsInputEveryStep()) everyStepInputs_ = true;
        for (TBaseElement* e : sheet_.Elements)
            if (e->AdvancesEachStep()) stepElements_.push_back(e);
        m_.Phi.assign(std::size_t(cm_.nNodes), 0.0);
        Yd_.assign(std::size_t(cm_.nDyn), 0.0);
        Ys_.assign(std::size_t(cm_.nStat), 0.0);
        YdSolved_ = Yd_;
        YsSolved_ = Ys_;
        PhiSolved_ = m_.Phi;
        xn_.resize(std::size_t(cm_.nX));
        for (int r = 0; r < cm_.nX; ++r)
            xn_[std::size_t(r)] = m_.Xk.At(r).Value();
        F_.resize(std::size_t(Nz_));
        Fp_.resize(std::size_t(Nz_));
        c_.resize(std::size_t(Nz_));
        J_.assign(std::size_t(pattern_.NonZeros()), 0.0);
        allColumns_ = Groups(nullptr);
        std::vector<char> perStep(varying_.size()), perIteration(varying_.size());
        perStepAll_.resize(varying_.size());
        for (std::size_t k = 0; k < varying_.size(); ++k) {
            perStepAll_[k] = varying_[k] >= 1;
            perStep[k] = perStepAll_[k] && !formed_[k];
            perIteration[k] = varying_[k] >= 2;
        }
        stepColumns_ = Groups(&perStep);
        varyingColumns_ = Groups(&perIteration);
        formedColumns_ = Groups(&formed_);
        for (int k = 0; k < Nz_; ++k)
            if (formed_[std::size_t(k)])
                for (int e = pattern_.colStart[std::size_t(k)]; e < pattern_.colStart[std::size_t(k) + 1]; ++e)
                    formedEntries_.push_back(e);
        S_.assign(J_.size(), 0.0);
        Jconst_.assign(J_.size(), 0.0);
        switch (options.Solver) {
        case TRunOptions::SolverChoice::Dense: solver_ = std::make_unique<TDenseSolver>(); break;
        case TRunOptions::SolverChoice::Sparse: solver_ = MakeSparseSolver(); break;
        default: solver_ = MakeSolverFor(pattern_); break;
        }
        solver_->Analyse(pattern_);
    }

    TRunResult Run() {
        TRunResult result;
        result.Consumers = cm_.nCons;
        TSampleStore store(SampleCapacity(m_.T, m_.GS), cm_.nDyn, cm_.nStat, cm_.nNodes, cm_.nCons);
        m_.Time = 0.0;
        m_.PublishedTime.store(0.0);

        try {
            Steps(result, store);
        } catch (const std::bad_alloc&) {
            Fail(result, "Недостаточно памяти: моделирование остановлено при t = " +
                             TimeText(m_.Time) + " с.");
        } catch (const std::exception& e) {
            Fail(result, "Моделирование остановлено при t = " + TimeText(m_.Time) +
                             " с из-за внутренней ошибки: " + e.what());
        } catch (...) {
            Fail(result, "Моделирование остановлено при t = " + TimeText(m_.Time) +
                             " с из-за внутренней ошибки.");
        }
        if (result.Status == TRunResult::Outcome::Finished && m_.StopRequested.load())
            result.Status = TRunResult::Outcome::Stopped;
        result.Samples = std::int64_t(store.Count());
        if (options_.Progress) options_.Progress(m_.Time);
        if (!outputDir_.empty()) {
            WriteResultFiles(outputDir_, store, cm_.nDyn, cm_.nStat, cm_.nNodes, m_.T, m_.GS);
            WriteInputNamesFile(outputDir_, sheet_);
        }
        return result;
    }

private:
    void Fail(TRunResult& result, const std::string& message) {
        result.Status = TRunResult::Outcome::Failed;
        result.FailureTime = m_.Time;
        result.Message = message;
    }

    void Steps(TRunResult& result, TSampleStore& store) {
        std::vector<double> consumers, sources, row;
        std::vector<double> Xk;
        double nextSample = 0.0;
        // Consumers that read their input as a parameter of a circuit model
        // (an angle) take it from the last solution, once a step: the
        // inputs are then kept after every step, and before the first from
        // the starting values.
        if (everyStepInputs_) {
            cm_.ConsumerInputs(Yd_, Ys_, consumers);
            m_.ConsumerInputs = consumers;
        }
        while (!m_.StopRequested.load(std::memory_order_relaxed) && m_.Time < m_.T) {
            for (TBaseElement* e : stepElements_) e->BeginStep();
            Xk = xn_;
            cm_.AdvanceStates(Xk, xn_, m_.h, YdSolved_, YsSolved_);
            if (!SolveStep(result)) break;
            const bool sample = m_.Time >= nextSample && !store.Full();
            if (everyStepInputs_ || sample) {
                cm_.ConsumerInputs(Yd_, Ys_, consumers);
                m_.ConsumerInputs = consumers;
            }

            if (sample) {
                nextSample += m_.GS;
                m_.ConsumerSnapshot.Store(consumers);
                cm_.SourceValues(Yd_, Ys_, sources);
                m_.SourceSnapshot.Store(sources);
                store.Add(m_.Time, YdSolved_, YsSolved_, PhiSolved_, consumers);
                if (options_.Sample) {
                    row.assign(YdSolved_.begin(), YdSolved_.end());
                    row.insert(row.end(), YsSolved_.begin(), YsSolved_.end());
                    row.insert(row.end(), PhiSolved_.begin(), PhiSolved_.end());
                    row.insert(row.end(), consumers.begin(), consumers.end());
                    options_.Sample(m_.Time, row);
                }
            }
            m_.Time += m_.h;
            ++result.Steps;
            m_.PublishedTime.store(m_.Time, std::memory_order_relaxed);
            if (options_.Progress && (result.Steps & 1023) == 0) options_.Progress(m_.Time);
            m_.WaitWhilePaused();
        }
    }

    // Newton's method for one step; false when the step failed.
    bool SolveStep(TRunResult& result) {
        std::int64_t iterations = 0;
        for (;;) {
            Yd_ = YdSolved_;
            Ys_ = YsSolved_;
            m_.Phi = PhiSolved_;
            if (!Evaluate(F_, result)) return false;
            int inside = 0;
            for (double f : F_)
                if (-m_.TNC < f && f < m_.TNC) ++inside;
            if (inside == Nz_ || m_.StopRequested.load(std::memory_order_relaxed)) return true;
            if (options_.MaxIterations > 0 && iterations >= options_.MaxIterations) {
                result.Status = TRunResult::Outcome::NotConverged;
                result.FailureTime = m_.Time;
                result.Message = "Решение не сходится при t = " + TimeText(m_.Time) + " с: за " +
                                 std::to_string(iterations) +
                                 " итераций невязка не стала меньше точности решения.";
                return false;
            }
            bool changed = false;
            if (!Jacobian(result, iterations == 0, changed) || !NewtonUpdate(result, changed)) return false;
            ++iterations;
            ++result.Iterations;
            m_.WaitWhilePaused();
        }
    }

    bool Evaluate(std::vector<double>& out, TRunResult& result) {
        TBaseElement* culprit = nullptr;
        if (cm_.Residual(xn_, Yd_, Ys_, out, culprit)) return true;
        result.Status = TRunResult::Outcome::InvalidValue;
        result.FailureTime = m_.Time;
        result.Culprit = culprit;
        const std::string who =
            culprit ? "элемента " + culprit->Name() + " №" + std::to_string(culprit->ElementIndex())
                    : "схемы";
        result.Message = "Недопустимое значение (не число или бесконечность) у " + who +
                         " при t = " + TimeText(m_.Time) + " с. Моделирование остановлено.";
        return false;
    }

    double& Unknown(int k) {
        if (k < cm_.nDyn) return Yd_[std::size_t(k)];
        if (k < cm_.nDyn + cm_.nStat) return Ys_[std::size_t(k - cm_.nDyn)];
        return m_.Phi[std::size_t(k - cm_.nDyn - cm_.nStat)];
    }
    double Solved(int k) const {
        if (k < cm_.nDyn) return YdSolved_[std::size_t(k)];
        if (k < cm_.nDyn + cm_.nStat) return YsSolved_[std::size_t(k - cm_.nDyn)];
        return PhiSolved_[std::size_t(k - cm_.nDyn - cm_.nStat)];
    }

    // Columns perturbed together: the columns of each group share no row.
    struct ColumnGroups {
        std::vector<int> start{0};  // range of each group in `columns`
        std::vector<int> columns;
        int Count() const { return int(start.size()) - 1; }
    };
    ColumnGroups Groups(const std::vector<char>* only) const {
        std::vector<int> groupOf;
        const int groups = ColourColumns(pattern_, groupOf, only);
        ColumnGroups g;
        g.start.assign(std::size_t(groups) + 1, 0);
        for (int x : groupOf)
            if (x >= 0) ++g.start[std::size_t(x) + 1];
        for (int x = 0; x < groups; ++x) g.start[std::size_t(x) + 1] += g.start[std::size_t(x)];
        g.columns.resize(std::size_t(g.start.back()));
        std::vector<int> fill(g.start.begin(), g.start.end() - 1);
        for (int k = 0; k < Nz_; ++k)
            if (const int x = groupOf[std::size_t(k)]; x >= 0) g.columns[std::size_t(fill[std::size_t(x)]++)] = k;
        return g;
    }

    // Forward differences, every column of a group perturbed at once: each
    // row then sees one column's change. Columns whose derivatives cannot
    // change are differenced once a run, those that change between steps
    // once a step, the rest at every iteration; while nothing is
    // differenced again, the factorisation is kept too.
    //
    // Columns whose every change between steps comes from windings stating
    // their slopes are differenced only at the first step: what the
    // windings contributed then is taken off, and each later step adds what
    // they contribute now.
    bool Jacobian(TRunResult& result, bool firstOfStep, bool& changed) {
        const bool reuse = haveJacobian_ && options_.ReuseJacobian;
        const bool form = options_.ReuseJacobian && !formedEntries_.empty();
        const ColumnGroups& groups = !reuse ? allColumns_ : firstOfStep ? stepColumns_ : varyingColumns_;
        changed = !reuse || groups.Count() > 0 || (form && firstOfStep);
        haveJacobian_ = true;
        if (!Difference(groups, result)) return false;
        if (!form || (reuse && !firstOfStep)) return true;
        std::fill(S_.begin(), S_.end(), 0.0);
        if (!cm_.StepDerivatives(pattern_, S_)) {
            // An element stated a slope its declared reads do not cover:
            // difference its columns as any others from now on.
            formedEntries_.clear();
            stepColumns_ = Groups(&perStepAll_);
            return reuse ? Difference(formedColumns_, result) : true;
        }
        if (!reuse)
            for (int e : formedEntries_) Jconst_[std::size_t(e)] = J_[std::size_t(e)] - S_[std::size_t(e)];
        else
            for (int e : formedEntries_) J_[std::size_t(e)] = Jconst_[std::size_t(e)] + S_[std::size_t(e)];
        return true;
    }

    bool Difference(const ColumnGroups& groups, TRunResult& result) {
        const double inv = 1.0 / m_.pr;
        for (int g = 0; g < groups.Count(); ++g) {
            const int first = groups.start[std::size_t(g)], last = groups.start[std::size_t(g) + 1];
            for (int q = first; q < last; ++q) Unknown(groups.columns[std::size_t(q)]) += m_.pr;
            const bool ok = Evaluate(Fp_, result);
            for (int q = first; q < last; ++q) {
                const int k = groups.columns[std::size_t(q)];
                Unknown(k) = Solved(k);
            }
            if (!ok) return false;
            for (int q = first; q < last; ++q) {
                const int k = groups.columns[std::size_t(q)];
                for (int e = pattern_.colStart[std::size_t(k)]; e < pattern_.colStart[std::size_t(k) + 1]; ++e) {
                    const std::size_t i = std::size_t(pattern_.rowIndex[std::size_t(e)]);
                    J_[std::size_t(e)] = (Fp_[i] - F_[i]) * inv;
                }
            }
        }
        return true;
    }

    // z' solves J·z' = J·z − F, the product formed over the pattern. The
    // correction form J·Δ = −F is the same mathematically, but its different
    // rounding changes the Newton path where piecewise-linear devices switch
    // (the bridge rectifier then cycles between segments), while this form
    // reproduces the dense algorithm's numbers to the last bit.
    bool NewtonUpdate(TRunResult& result, bool changed) {
        if (changed && !solver_->Factor(J_)) {
            result.Status = TRunResult::Outcome::NotConverged;
            result.FailureTime = m_.Time;
            result.Message = "Система уравнений вырождена при t = " + TimeText(m_.Time) + " с.";
            return false;
        }
        for (int i = 0; i < Nz_; ++i) c_[std::size_t(i)] = 0;
        for (int k = 0; k < Nz_; ++k)
            for (int e = pattern_.colStart[std::size_t(k)]; e < pattern_.colStart[std::size_t(k) + 1]; ++e)
                c_[std::size_t(pattern_.rowIndex[std::size_t(e)])] += J_[std::size_t(e)] * Solved(k);
        for (int i = 0; i < Nz_; ++i) c_[std::size_t(i)] -= F_[std::size_t(i)];
        solver_->Solve(c_);
        for (int k = 0; k < Nz_; ++k) {
            const double v = c_[std::size_t(k)];
            if (k < cm_.nDyn) YdSolved_[std::size_t(k)] = v;
            else if (k < cm_.nDyn + cm_.nStat) YsSolved_[std::size_t(k - cm_.nDyn)] = v;
            else PhiSolved_[std::size_t(k - cm_.nDyn - cm_.nStat)] = v;
        }
        return true;
    }

    const Schematic& sheet_;
    TSimModel& m_;
    const std::string outputDir_;
    TCompiledModel cm_;
    const TRunOptions& options_;
    int Nz_;
    std::vector<char> varying_, formed_, perStepAll_;
    TSparsePattern pattern_;
    bool everyStepInputs_ = false;
    std::vector<TBaseElement*> stepElements_;
    ColumnGroups allColumns_, stepColumns_, varyingColumns_, formedColumns_;
    std::vector<int> formedEntries_;  // entries of the formed columns in J_
    std::vector<double> S_, Jconst_;  // the windings' part, and the rest
    bool haveJacobian_ = false;
    std::unique_ptr<TLinearSolver> solver_;
    std::vector<double> Yd_, Ys_, YdSolved_, YsSolved_, PhiSolved_, xn_;
    std::vector<double> F_, Fp_, J_, c_;
};

} // namespace

TRunResult RunSimulation(TRunContext& run, const TRunOptions& options) {
    QUENTOR_CHECK(run.Model() != nullptr && run.Sheet().BoundRun() == run.Model(), "the run is prepared",
                  "Simulation/RunSimulation");
    const TRunScope scope(run);
    const Schematic& sheet = run.Sheet();
    std::unique_ptr<NewtonLoop> loop;
    TRunResult result;
    try {
        loop = std::make_unique<NewtonLoop>(run, options);
    } catch (const std::bad_alloc&) {
        result.Message =
            "Недостаточно памяти для рабочих массивов моделирования. Моделирование не выполнено.";
    } catch (const std::exception& e) {
        result.Message =
            std::string("Моделирование не выполнено из-за внутренней ошибки: ") + e.what();
    }
    if (loop) {
        try {
            return loop->Run();
        } catch (const std::bad_alloc&) {
            result.Message =
                "Недостаточно памяти для отсчётов моделирования. Моделирование не выполнено.";
        } catch (const std::exception& e) {
            result.Message =
                std::string("Моделирование не выполнено из-за внутренней ошибки: ") + e.what();
        }
    }
    result.Status = TRunResult::Outcome::Failed;
    result.Consumers = sheet.Consumers.Count();
    // Empty result files, so that none of an earlier run stays beside the dump.
    const TSimModel& m = *run.Model();
    if (!run.OutputDir.empty()) {
        WriteResultFiles(run.OutputDir, TSampleStore(0, 0, 0, 0, result.Consumers), 0, 0, 0, m.T, m.GS);
        WriteInputNamesFile(run.OutputDir, sheet);
    }
    return result;
}
