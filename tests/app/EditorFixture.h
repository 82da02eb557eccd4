#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/Editor.h"
#include "support/RecordingMessages.h"

// A window stand-in: scripted file dialogs, and a queue for the tasks the
// simulation thread posts, run when the test asks.
class FakeHost : public TEditorHost {
public:
    std::deque<std::optional<std::string>> SaveNames;  // answers of the save dialog; cancel when empty
    std::deque<std::optional<std::string>> OpenNames;
    std::vector<std::string> SaveDialogStarts;         // the name each save dialog started from
    int OpenDialogs = 0;

    std::optional<std::string> ChooseSaveFile(const std::string& current) override {
        SaveDialogStarts.push_back(current);
        if (SaveNames.empty()) return std::nullopt;
        auto name = SaveNames.front();
        SaveNames.pop_front();
        return name;
    }
    std::optional<std::string> ChooseOpenFile() override {
        ++OpenDialogs;
        if (OpenNames.empty()) return std::nullopt;
        auto name = OpenNames.front();
        OpenNames.pop_front();
        return name;
    }
    void Post(std::function<void()> task) override {
        {
            std::lock_guard lock(mutex_);
            posted_.push_back(std::move(task));
        }
        wake_.notify_all();
    }
    // Waits for at least one posted task, then runs all of them; false when
    // nothing came in time.
    bool RunPosted(std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
        std::deque<std::function<void()>> tasks;
        {
            std::unique_lock lock(mutex_);
            if (!wake_.wait_for(lock, timeout, [this] { return !posted_.empty(); })) return false;
            tasks.swap(posted_);
        }
        for (auto& t : tasks) t();
        return true;
    }
    bool NothingPosted() {
        std::lock_guard lock(mutex_);
        return posted_.empty();
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> posted_;
};

struct EditorFixture {
    RecordingMessages messages;
    FakeHost host;
    TEditor editor{host};
    Schematic& sheet = editor.Sheet();

    // The tests measure moves in pixels; those of the grid turn it on.
    // Side files of unwritable directories never go to the user's state
    // directory; the autosave tests name one of their own.
    EditorFixture() {
        editor.SnapToGrid = false;
        editor.AutosaveDir.clear();
    }

    TBaseElement* Place(const char* cls, int left, int top);
    void Click(TPoint p, bool shift = false, TMouseButton button = TMouseButton::Left);
    void Drag(TPoint from, TPoint to, bool shift = false);
};

// Centre of a control on the sheet.
TPoint CentreOf(const class TControl& control);
