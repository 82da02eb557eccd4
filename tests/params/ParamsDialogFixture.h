#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "params/ElementParamsController.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"
#include "support/TestElements.h"

// A schematic, a private database directory and recorded messages for the
// tests of the parameter dialog's logic.
class ParamsDialog : public ::testing::Test {
protected:
    TempDir dbDir;
    ScopedEnv env{"QUENTOR_DB_DIR", dbDir.Path().string()};
    RecordingMessages messages;
    Schematic sheet;

    TTestPart* NewPart() {
        return static_cast<TTestPart*>(CreateElementByName(sheet, "TTestPart"));
    }
    std::string DbFile() const { return dbDir.File("TestParts.edb"); }
    // Writes typical devices: section, key, value text.
    void WriteDb(const std::vector<std::vector<std::string>>& entries);
};

using TRows = std::vector<std::unique_ptr<TParameterEditor>>;
// The row of the parameter with this short name.
TParameterEditor* Row(const TRows& rows, const std::string& name);
// The short names of the rows, in order.
std::vector<std::string> Names(const TRows& rows);
