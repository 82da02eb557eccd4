#pragma once

#include "model/Messages.h"

class QWidget;

// The core's messages as modal message boxes over the main window. A message
// from another thread (the simulation worker) cannot open a box: it goes to
// standard error instead.
class QtMessages : public Messages {
public:
    explicit QtMessages(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    void Error(const std::string& text, const std::string& caption) override;
    void Warning(const std::string& text, const std::string& caption) override;
    void Information(const std::string& text, const std::string& caption) override;
    TAnswer Question(const std::string& text, const std::string& caption, bool cancel) override;
    // One box for the whole list: the first problems in its text, all of them
    // under "Show Details".
    void Problems(const std::vector<TMessage>& problems) override;

private:
    QWidget* parent_;
    StderrMessages fallback_;
};
