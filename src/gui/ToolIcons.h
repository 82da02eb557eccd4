#pragma once

#include <QIcon>

// Tool bar glyphs, drawn rather than loaded, so that they stay sharp at any
// scale and the source tree holds no images.
enum class TToolIcon {
    New,
    Open,
    Save,
    Print,
    Undo,
    Redo,
    Delete,
    AddInput,
    DeleteInput,
    Start,
    Pause,
    Stop,
    Exit
};

QIcon MakeToolIcon(TToolIcon kind);
