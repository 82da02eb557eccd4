#include "model/Messages.h"
#include "model/ThreadMessages.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <vector>

namespace {
std::mutex printMutex;

void PrintLine(const char* prefix, const std::string& text) {
    std::lock_guard lock(printMutex);
    std::fprintf(stderr, "%s%s\n", prefix, text.c_str());
    std::fflush(stderr);
}

StderrMessages& DefaultSink() {
    static StderrMessages sink;
    return sink;
}

std::atomic<Messages*> current{nullptr};
// A run on a worker thread reports to its own sink; this thread's sink
// stands before the process-wide one.
thread_local Messages* threadSink = nullptr;
// The thread sinks that the collections of this thread replaced, innermost
// last: collections are scoped, so they end in reverse order.
thread_local std::vector<Messages*> replacedByCollections;
} // namespace

Messages& Msg() {
    if (threadSink) return *threadSink;
    Messages* m = current.load();
    return m ? *m : DefaultSink();
}

Messages* SetThreadMessages(Messages* sink) {
    Messages* previous = threadSink;
    threadSink = sink;
    return previous;
}

Messages* SetMessages(Messages* sink) {
    return current.exchange(sink);
}

void StderrMessages::Error(const std::string& text, const std::string&) {
    ++errors_;
    PrintLine("error: ", text);
}

void StderrMessages::Warning(const std::string& text, const std::string&) {
    PrintLine("warning: ", text);
}

void StderrMessages::Information(const std::string& text, const std::string&) {
    PrintLine("warning: ", text);
}

TAnswer StderrMessages::Question(const std::string& text, const std::string&, bool) {
    PrintLine("question: ", text);
    return answer_;
}

namespace {
void Show(Messages& sink, const TMessage& m) {
    switch (m.Kind) {
    case TMessage::TKind::Error:
        return sink.Error(m.Text, m.Caption);
    case TMessage::TKind::Warning:
        return sink.Warning(m.Text, m.Caption);
    case TMessage::TKind::Information:
        return sink.Information(m.Text, m.Caption);
    }
}
} // namespace

void ShowOneByOne(Messages& sink, const std::vector<TMessage>& problems) {
    for (const TMessage& m : problems)
        Show(sink, m);
}

void StderrMessages::Problems(const std::vector<TMessage>& problems) {
    ShowOneByOne(*this, problems);
    if (!problems.empty())
        PrintLine("error: ", "Всего ошибок при чтении файла: " + std::to_string(problems.size()));
}

void Messages::Problems(const std::vector<TMessage>& problems) {
    ShowOneByOne(*this, problems);
}

// Installed for this thread only: a file read on one thread must not
// collect what another thread's run reports.
CollectedMessages::CollectedMessages() : previous_(Msg()) {
    replacedByCollections.push_back(SetThreadMessages(this));
}

CollectedMessages::~CollectedMessages() {
    SetThreadMessages(replacedByCollections.back());
    replacedByCollections.pop_back();
    if (!list_.empty()) previous_.Problems(list_);
}

void CollectedMessages::Error(const std::string& text, const std::string& caption) {
    list_.push_back({TMessage::TKind::Error, text, caption});
}

void CollectedMessages::Warning(const std::string& text, const std::string& caption) {
    list_.push_back({TMessage::TKind::Warning, text, caption});
}

void CollectedMessages::Information(const std::string& text, const std::string& caption) {
    list_.push_back({TMessage::TKind::Information, text, caption});
}

TAnswer CollectedMessages::Question(const std::string& text, const std::string& caption,
                                    bool cancel) {
    return previous_.Question(text, caption, cancel);
}

void ReportLineProblem(int lineIndex, const std::string& text) {
    Msg().Error("Строка " + std::to_string(lineIndex + 1) + ", " + text, ErrorCaption);
}
