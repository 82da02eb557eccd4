// The database reader on arbitrary bytes, taken as the database file of
// each kind of element in turn; every section is loaded as a device and the
// device's model computed.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "QuietMessages.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "params/IniFile.h"

namespace {

const char* const Kinds[][2] = {{"TDiode", "Diodes"},     {"TAmper", "Amper"},         {"TSwitch", "Switchs"},
                                {"TThyristor", "Thyristors"}, {"TBipolarNPN", "Bip_NPN"}, {"TMotor", "Motors"}};

const std::string& Directory() {
    static const std::string dir = [] {
        std::string d = (std::filesystem::temp_directory_path() / ("quentor-fuzz-db-" + std::to_string(getpid()))).string();
        std::filesystem::create_directories(d);
        setenv("QUENTOR_DB_DIR", d.c_str(), 1);
        return d;
    }();
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QuietMessages quiet;
    // The same bytes as the database of every kind of element that has one.
    for (const auto& kind : Kinds) {
        const std::string path = Directory() + "/" + kind[1] + ".edb";
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
        }
        TIniFile file(path);
        file.Load();
        Schematic sheet;
        TBaseElement* e = CreateElementByName(sheet, kind[0]);
        if (!e) continue;
        int tried = 0;
        for (const std::string& section : file.Sections()) {
            if (++tried > 32) break;
            if (e->LoadDeviceType(section)) e->CalcModelParams();
        }
    }
    return 0;
}
