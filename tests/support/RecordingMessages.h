#pragma once

#include <string>
#include <vector>

#include "model/Messages.h"

// Records every message the core shows; answers questions from a queue.
// Installs itself for its lifetime.
class RecordingMessages : public Messages {
public:
    struct Entry {
        std::string Kind; // "error", "warning", "information", "question"
        std::string Text;
        std::string Caption;
    };

    RecordingMessages();
    ~RecordingMessages() override;

    void Error(const std::string& text, const std::string& caption) override;
    void Warning(const std::string& text, const std::string& caption) override;
    void Information(const std::string& text, const std::string& caption) override;
    TAnswer Question(const std::string& text, const std::string& caption, bool cancel) override;
    // Recorded as errors, one entry each; counts the lists.
    void Problems(const std::vector<TMessage>& problems) override;
    int ProblemLists = 0;

    std::vector<Entry> Entries;
    std::vector<TAnswer> Answers; // consumed front first; Cancel when empty
    std::vector<std::string> Texts() const;
    void Clear() { Entries.clear(); }

private:
    Messages* previous_;
};
