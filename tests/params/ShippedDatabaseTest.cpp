// The typical devices shipped in data/: their file form, that every key is a
// parameter of the element kind, and that the values agree with the devices'
// ratings.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "params/IniFile.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const fs::path DataDir = fs::path(QUENTOR_SOURCE_DIR) / "data";

std::string Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<fs::path> ShippedFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(DataDir))
        if (entry.path().extension() == ".edb") files.push_back(entry.path());
    return files;
}

// The class of each database name, from the registered element classes.
std::map<std::string, std::string> ClassesByDatabase(Schematic& sheet) {
    std::map<std::string, std::string> classes;
    for (const TElementClass* cls : AllElementClasses()) {
        if (!cls->Create || cls->Name.rfind("TTest", 0) == 0) continue;
        const TBaseElement* e = CreateElementByName(sheet, cls->Name);
        if (e->DbSection) classes[e->DbSection] = cls->Name;
    }
    return classes;
}

TEST(ShippedDatabases, AreWindows1251WithCrLfAndCopiedBesideThePrograms) {
    const auto files = ShippedFiles();
    ASSERT_FALSE(files.empty());
    for (const fs::path& f : files) {
        const std::string bytes = Bytes(f);
        ASSERT_FALSE(bytes.empty()) << f;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const bool bareLineFeed = bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r');
            EXPECT_FALSE(bareLineFeed) << f << " at " << i;
        }
        // UTF-8 would show Cyrillic as pairs of 0xD0/0xD1 lead bytes.
        EXPECT_EQ(bytes.find("\xD0\xA8"), std::string::npos) << f << " is not Windows-1251";
        const fs::path copy = fs::path(QUENTOR_BINARY_DIR) / f.filename();
        EXPECT_EQ(Bytes(copy), bytes) << copy;
    }
}

TEST(ShippedDatabases, EveryTypeLoadsIntoItsElementKindWithoutMessages) {
    TempDir dir;
    ScopedEnv env("QUENTOR_DB_DIR", dir.Path().string());
    for (const fs::path& f : ShippedFiles())
        fs::copy_file(f, dir.Path() / f.filename());
    RecordingMessages messages;
    Schematic sheet;
    const auto classes = ClassesByDatabase(sheet);
    for (const fs::path& f : ShippedFiles()) {
        const std::string kind = f.stem().string();
        ASSERT_TRUE(classes.count(kind)) << "no element kind has the database " << kind;
        const TIniFile db(f.string());
        // A behavioural model no catalogue device matches ships its file
        // without types, saying so in a comment.
        if (db.Sections().empty()) {
            EXPECT_EQ(Bytes(f).rfind(";", 0), 0u) << f << " has no types and does not say why";
            continue;
        }
        for (const std::string& type : db.Sections()) {
            TBaseElement* e = CreateElementByName(sheet, classes.at(kind));
            EXPECT_TRUE(e->LoadDeviceType(type)) << type;
            // The data must let the element compute its model and run.
            EXPECT_TRUE(e->CalcModelParams()) << type;
            EXPECT_TRUE(e->CheckBeforeRun()) << type;
            // Every reference value is given, so nothing stays at its default by
            // accident; thyristor datasheets give no junction capacitance, which
            // no offered thyristor model uses.
            for (int i = 0; e->RefParamDefs && e->RefParamDefs[i].Name; ++i) {
                const std::string name = e->RefParamDefs[i].Name;
                if (kind == "Thyristors" && name == "Cд") continue;
                EXPECT_TRUE(db.Read(type, name).has_value()) << type << " lacks " << name;
            }
        }
    }
    EXPECT_TRUE(messages.Entries.empty()) << messages.Entries.front().Text;
}

TEST(ShippedDatabases, ShuntResistancesGiveTheirRatedDropAtRatedCurrent) {
    TempDir dir;
    ScopedEnv env("QUENTOR_DB_DIR", dir.Path().string());
    fs::copy_file(DataDir / "Amper.edb", dir.Path() / "Amper.edb");
    RecordingMessages messages;
    Schematic sheet;
    // "75ШСМ-10А": 75 mV across the shunt at 10 A.
    const std::regex rating(R"(^(\d+)\D+-(\d+)А$)");
    const TIniFile db(dir.File("Amper.edb"));
    for (const std::string& type : db.Sections()) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(type, m, rating)) << type;
        const double millivolts = std::stod(m[1]);
        const double amps = std::stod(m[2]);
        TBaseElement* e = CreateElementByName(sheet, "TAmper");
        ASSERT_TRUE(e->LoadDeviceType(type));
        EXPECT_NEAR(e->ParamOf("r") * amps, millivolts / 1000, 1e-12) << type;
    }
}

} // namespace

namespace {

// Datasheets give the forward point at 25 °C; the shipped diodes are run at
// that temperature, so both models pass through the point they were given.
TEST(ShippedDatabases, DiodesPassThroughTheirDatasheetForwardPoint) {
    TempDir dir;
    ScopedEnv env("QUENTOR_DB_DIR", dir.Path().string());
    fs::copy_file(DataDir / "Diodes.edb", dir.Path() / "Diodes.edb");
    RecordingMessages messages;
    Schematic sheet;
    const TIniFile db(dir.File("Diodes.edb"));
    ASSERT_GE(db.Sections().size(), 3u);
    for (const std::string& type : db.Sections()) {
        TBaseElement* e = CreateElementByName(sheet, "TDiode");
        ASSERT_TRUE(e->LoadDeviceType(type));
        const double uf = e->ParamOf("Uпр"), iff = e->ParamOf("Iпр");
        EXPECT_NEAR(e->ParamOf("Iprr"), iff, 1e-9 * iff) << type;
        e->MethodIndex = 1;
        ASSERT_TRUE(e->CalcModelParams());
        const double vt = e->ParamOf("Tpn_c") * 1.38e-23 * 6.25e18;
        const double exponential = e->ParamOf("isr") * std::exp(uf / (e->ParamOf("m") * vt));
        EXPECT_NEAR(exponential, iff, 1e-9 * iff) << type;
    }
    EXPECT_TRUE(messages.Entries.empty());
}

} // namespace
