#include "support/RecordingMessages.h"

RecordingMessages::RecordingMessages() : previous_(SetMessages(this)) {}
RecordingMessages::~RecordingMessages() {
    SetMessages(previous_);
}

void RecordingMessages::Error(const std::string& text, const std::string& caption) {
    Entries.push_back({"error", text, caption});
}
void RecordingMessages::Warning(const std::string& text, const std::string& caption) {
    Entries.push_back({"warning", text, caption});
}
void RecordingMessages::Information(const std::string& text, const std::string& caption) {
    Entries.push_back({"information", text, caption});
}
TAnswer RecordingMessages::Question(const std::string& text, const std::string& caption, bool) {
    Entries.push_back({"question", text, caption});
    if (Answers.empty()) return TAnswer::Cancel;
    TAnswer a = Answers.front();
    Answers.erase(Answers.begin());
    return a;
}

std::vector<std::string> RecordingMessages::Texts() const {
    std::vector<std::string> out;
    for (const auto& e : Entries)
        out.push_back(e.Text);
    return out;
}

void RecordingMessages::Problems(const std::vector<TMessage>& problems) {
    ++ProblemLists;
    ShowOneByOne(*this, problems);
}
