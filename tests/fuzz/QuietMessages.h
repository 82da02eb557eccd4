#pragma once

#include "model/Messages.h"

// A sink that swallows every message, for the fuzz targets: what they check
// is that reading never crashes, hangs or reads out of bounds.
class QuietMessages : public Messages {
public:
    QuietMessages() { SetMessages(this); }
    ~QuietMessages() override { SetMessages(nullptr); }
    void Error(const std::string&, const std::string&) override {}
    void Warning(const std::string&, const std::string&) override {}
    void Information(const std::string&, const std::string&) override {}
    TAnswer Question(const std::string&, const std::string&, bool) override { return TAnswer::No; }
    void Problems(const std::vector<TMessage>&) override {}
};
