#include "model/Messages.h"

#include <atomic>
#include <cstdio>
#include <mutex>

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
} // namespace

Messages& Msg() {
    Messages* m = current.load();
    return m ? *m : DefaultSink();
}

Messages* SetMessages(Messages* sink) { return current.exchange(sink); }

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
