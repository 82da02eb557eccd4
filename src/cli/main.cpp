// quentor-sim: runs a schematic without the editor.
#include <cstdio>
#include <cstring>
#include <string>

#include "model/ClassRegistry.h"

namespace {

void PrintUsage() {
    std::puts("Usage: quentor-sim [OPTIONS] FILE.dvn\n"
              "       quentor-sim --classes\n"
              "\n"
              "  --classes     list every registered element class\n"
              "  --help        show this text\n"
              "  --version     show the version");
}

void PrintClasses() {
    for (const TElementClass* cls : AllElementClasses())
        std::printf("%s%s : %s\n", cls->Name.c_str(), cls->Create ? "" : " (abstract)",
                    cls->Parent.empty() ? "-" : cls->Parent.c_str());
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            PrintUsage();
            return 0;
        }
        if (!std::strcmp(argv[i], "--version")) {
            std::printf("quentor-sim %s\n", QUENTOR_VERSION);
            return 0;
        }
        if (!std::strcmp(argv[i], "--classes")) {
            PrintClasses();
            return 0;
        }
    }
    PrintUsage();
    return 2;
}
