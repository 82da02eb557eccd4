#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The edit history of one schematic as its file text. Each step keeps only
// the span of text that differs between its two states (the longest common
// head and tail are shared), so a step costs about what the gesture changed.
class TUndoStack {
public:
    TUndoStack() = default;

    // Forgets every step; `text` is the present, saved state.
    void Reset(std::string text);
    // A gesture ended with the schematic as `text`. Records a step named
    // `name` and drops every step that could be redone; false (and nothing
    // recorded) when the text did not change.
    bool Record(const std::string& name, const std::string& text);

    bool CanUndo() const { return index_ > 0; }
    bool CanRedo() const { return index_ < steps_.size(); }
    // The name of the step Undo or Redo would take; empty when there is none.
    std::string UndoName() const;
    std::string RedoName() const;
    // Steps back or forward; returns the text of the state reached.
    const std::string& Undo();
    const std::string& Redo();

    // The text of the present state.
    const std::string& Text() const { return text_; }
    // The present state was saved.
    void SetClean() { clean_ = index_; }
    bool IsClean() const { return clean_ == index_; }

    std::size_t Count() const { return steps_.size(); }
    std::size_t Index() const { return index_; }
    // What the steps keep, in bytes of text, besides the present state.
    std::size_t StepBytes() const;

private:
    struct TStep {
        std::string Name;
        std::size_t Head = 0; // common leading bytes of both states
        std::string Before, After;
    };
    std::vector<TStep> steps_;
    std::size_t index_ = 0; // steps_[0, index_) are done
    std::optional<std::size_t> clean_ = 0;
    std::string text_;
};
