#pragma once

#include <functional>
#include <optional>
#include <string>

// What the editor asks of the window that shows it.
class TEditorHost {
public:
    virtual ~TEditorHost() = default;
    // The save dialog, starting from the remembered name; empty when cancelled.
    virtual std::optional<std::string> ChooseSaveFile(const std::string& current) = 0;
    // The open dialog; empty when cancelled.
    virtual std::optional<std::string> ChooseOpenFile() = 0;
    // Runs `task` later on the editor's own thread. Called from the
    // simulation thread, so it must be safe from any thread.
    virtual void Post(std::function<void()> task) = 0;
    // Commands became available or unavailable, or the status panels changed.
    virtual void CommandsChanged() {}
    // The sheet needs painting.
    virtual void SheetChanged() {}
};
