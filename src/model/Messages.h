#pragma once

#include <string>
#include <vector>

// How the core tells the user something. The core never opens a window: the
// editor shows these as message boxes, the headless runner prints them, and
// tests record them.

inline constexpr const char* ApplicationTitle = "QUENTOR";
inline constexpr const char* ErrorCaption = "Ошибка";

enum class TAnswer { Yes, No, Cancel };

struct TMessage {
    enum class TKind { Error, Warning, Information } Kind = TKind::Error;
    std::string Text;
    std::string Caption;
};

class Messages {
public:
    virtual ~Messages() = default;
    virtual void Error(const std::string& text, const std::string& caption) = 0;
    virtual void Warning(const std::string& text, const std::string& caption) = 0;
    virtual void Information(const std::string& text, const std::string& caption) = 0;
    // Yes/No/Cancel question; with cancel = false only Yes and No are offered.
    virtual TAnswer Question(const std::string& text, const std::string& caption,
                             bool cancel = true) = 0;
    // Every problem found by one operation (the reading of a file), shown
    // together; by default as one error each.
    virtual void Problems(const std::vector<TMessage>& problems);
};

// Reports a damaged line of a file being read: "Строка N, " + text, with the
// line's index from 0.
void ReportLineProblem(int lineIndex, const std::string& text);

// Shows a list through the sink's single-message operations.
void ShowOneByOne(Messages& sink, const std::vector<TMessage>& problems);

// Collects the errors, warnings and information of its lifetime instead of
// showing them, and hands them to the previous sink as one Problems list when
// it ends. Questions still go to the previous sink at once.
class CollectedMessages : public Messages {
public:
    CollectedMessages();
    ~CollectedMessages() override;
    CollectedMessages(const CollectedMessages&) = delete;
    CollectedMessages& operator=(const CollectedMessages&) = delete;
    void Error(const std::string& text, const std::string& caption) override;
    void Warning(const std::string& text, const std::string& caption) override;
    void Information(const std::string& text, const std::string& caption) override;
    TAnswer Question(const std::string& text, const std::string& caption, bool cancel) override;
    std::size_t Count() const { return list_.size(); }

private:
    Messages& previous_;
    std::vector<TMessage> list_;
};

// The process-wide sink. Defaults to printing on standard error.
Messages& Msg();
// Installs a sink (null restores the default); returns the previous one.
Messages* SetMessages(Messages* sink);

// Prints "error: TEXT" / "warning: TEXT" lines on standard error and answers
// every question with the given answer. Counts errors for exit statuses.
class StderrMessages : public Messages {
public:
    explicit StderrMessages(TAnswer answer = TAnswer::No) : answer_(answer) {}
    void Error(const std::string& text, const std::string& caption) override;
    void Warning(const std::string& text, const std::string& caption) override;
    void Information(const std::string& text, const std::string& caption) override;
    TAnswer Question(const std::string& text, const std::string& caption, bool cancel) override;
    // Prints every problem, then their count.
    void Problems(const std::vector<TMessage>& problems) override;
    int ErrorCount() const { return errors_; }

private:
    TAnswer answer_;
    int errors_ = 0;
};
