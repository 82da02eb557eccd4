#include "app/UndoStack.h"

#include <algorithm>

void TUndoStack::Reset(std::string text) {
    steps_.clear();
    index_ = 0;
    clean_ = 0;
    text_ = std::move(text);
}

bool TUndoStack::Record(const std::string& name, const std::string& text) {
    if (text == text_) return false;
    const std::size_t shorter = std::min(text.size(), text_.size());
    std::size_t head = 0;
    while (head < shorter && text[head] == text_[head])
        ++head;
    std::size_t tail = 0;
    while (tail < shorter - head && text[text.size() - 1 - tail] == text_[text_.size() - 1 - tail])
        ++tail;
    TStep step;
    step.Name = name;
    step.Head = head;
    step.Before = text_.substr(head, text_.size() - head - tail);
    step.After = text.substr(head, text.size() - head - tail);
    steps_.resize(index_);
    // A saved state among the dropped steps can no longer be reached.
    if (clean_ && *clean_ > index_) clean_.reset();
    steps_.push_back(std::move(step));
    steps_.back().Name.shrink_to_fit();
    ++index_;
    text_ = text;
    return true;
}

std::string TUndoStack::UndoName() const {
    return CanUndo() ? steps_[index_ - 1].Name : std::string();
}

std::string TUndoStack::RedoName() const {
    return CanRedo() ? steps_[index_].Name : std::string();
}

const std::string& TUndoStack::Undo() {
    if (CanUndo()) {
        const TStep& step = steps_[--index_];
        text_.replace(step.Head, step.After.size(), step.Before);
    }
    return text_;
}

const std::string& TUndoStack::Redo() {
    if (CanRedo()) {
        const TStep& step = steps_[index_++];
        text_.replace(step.Head, step.Before.size(), step.After);
    }
    return text_;
}

std::size_t TUndoStack::StepBytes() const {
    std::size_t bytes = 0;
    for (const TStep& s : steps_)
        bytes += sizeof(TStep) + s.Name.capacity() + s.Before.capacity() + s.After.capacity();
    return bytes;
}
