// Writes the benchmark circuits as schematic files, for whole-process
// timings of quentor-sim: quentor-bench-circuits DIR.
#include <cstdio>
#include <string>

#include "app/SchematicFile.h"
#include "circuits/Circuits.h"
#include "model/Messages.h"
#include "model/Schematic.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quentor-bench-circuits DIR\n");
        return 2;
    }
    StderrMessages messages;
    SetMessages(&messages);
    const std::string dir = argv[1];
    bool ok = true;
    for (int n : {1, 10, 100, 300, 1000, 10000}) {
        auto sheet = n == 1 ? Ladder(1) : Ladder(n);
        ok = SaveSchematic(*sheet, dir + (n == 1 ? "/rc.dvn" : "/ladder" + std::to_string(n) + ".dvn")) && ok;
    }
    auto mesh = Mesh(30, 30);
    ok = SaveSchematic(*mesh, dir + "/mesh30.dvn") && ok;
    return ok ? 0 : 1;
}
