#pragma once

#include "model/Messages.h"

// A sink for the calling thread only, ahead of the process-wide one: runs on
// worker threads report through their own, and a file read on one thread
// collects only its own problems (CollectedMessages installs itself here).

// Installs the thread's sink (null removes it); returns the previous one.
Messages* SetThreadMessages(Messages* sink);

// The thread's sink for a scope.
class ScopedThreadMessages {
public:
    explicit ScopedThreadMessages(Messages& sink) : previous_(SetThreadMessages(&sink)) {}
    ~ScopedThreadMessages() { SetThreadMessages(previous_); }
    ScopedThreadMessages(const ScopedThreadMessages&) = delete;
    ScopedThreadMessages& operator=(const ScopedThreadMessages&) = delete;

private:
    Messages* previous_;
};
