#pragma once

#include <string>

// How the core tells the user something. The core never opens a window: the
// editor shows these as message boxes, the headless runner prints them, and
// tests record them.

inline constexpr const char* ApplicationTitle = "QUENTOR";
inline constexpr const char* ErrorCaption = "Ошибка";

enum class TAnswer { Yes, No, Cancel };

class Messages {
public:
    virtual ~Messages() = default;
    virtual void Error(const std::string& text, const std::string& caption) = 0;
    virtual void Warning(const std::string& text, const std::string& caption) = 0;
    virtual void Information(const std::string& text, const std::string& caption) = 0;
    // Yes/No/Cancel question; with cancel = false only Yes and No are offered.
    virtual TAnswer Question(const std::string& text, const std::string& caption,
                             bool cancel = true) = 0;
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
    int ErrorCount() const { return errors_; }

private:
    TAnswer answer_;
    int errors_ = 0;
};
