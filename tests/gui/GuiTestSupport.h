#pragma once

#include <deque>
#include <optional>
#include <string>

#include "gui/MainWindow.h"
#include "model/Geometry.h"

class TBaseElement;

// The main window with scripted file dialogs, and a count of the parameter
// dialogs it was asked for.
class ScriptedWindow : public TMainWindow {
public:
    std::deque<std::optional<std::string>> SaveNames;  // cancelled when empty
    std::deque<std::optional<std::string>> OpenNames;
    int SaveDialogs = 0;
    int ParamDialogs = 0;

    std::optional<std::string> ChooseSaveFile(const std::string&) override;
    std::optional<std::string> ChooseOpenFile() override;
    void EditElementParams(TBaseElement&) override { ++ParamDialogs; }
    std::deque<QString> ExportNames; // cancelled when empty
    std::optional<QString> ChooseExportFile() override {
        if (ExportNames.empty()) return std::nullopt;
        QString name = ExportNames.front();
        ExportNames.pop_front();
        return name;
    }
};

// Mouse actions on the sheet, in sheet coordinates, as a user makes them.
void Press(ScriptedWindow& w, TPoint p, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {});
void Move(ScriptedWindow& w, TPoint p);
void Release(ScriptedWindow& w, TPoint p, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {});
void Click(ScriptedWindow& w, TPoint p, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {});
void Drag(ScriptedWindow& w, TPoint from, TPoint to);

// Chooses the palette item of the class with the mouse over the sheet point,
// then clicks there to put the element down. Returns the new element.
TBaseElement* PlaceFromPalette(ScriptedWindow& w, const std::string& className, TPoint at);
// Drags an element by its body so that its box starts at (left, top).
void MoveElementTo(ScriptedWindow& w, TBaseElement* e, int left, int top);
