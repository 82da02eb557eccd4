#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "model/Schematic.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"

class QWidget;
class QComboBox;
class QLineEdit;
class TBaseElement;
class TElementParams;

// What every dialog test needs: a schematic, a private database directory
// and recorded messages, made afresh for each test function.
struct DialogWorld {
    TempDir dbDir;
    ScopedEnv env{"QUENTOR_DB_DIR", dbDir.Path().string()};
    RecordingMessages messages;
    Schematic sheet;

    TBaseElement* New(const std::string& className);
    void WriteDb(const std::string& file, const std::vector<std::vector<std::string>>& entries);
};

// Shows the dialog and waits until it has the focus.
bool ShowAndActivate(QWidget* dialog);
QString Utf(const char* text);
// Types text of any alphabet into the widget, one key event per character.
void TypeText(QWidget* widget, const QString& text);
// The value box and unit box of a row, by position on its page.
QLineEdit* ValueBox(TElementParams& d, bool model, int row);
QComboBox* UnitBox(TElementParams& d, bool model, int row);
