// Writes a realistic plot file (the control run of the viewer's tests) to
// look at the viewer with: make_sample_grp [FILE], default graf.grp.
#include <cstdio>

#include "GrpSamples.h"

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "graf.grp";
    WriteFileBytes(path, EncodeGrp(ControlRun()));
    std::printf("%s\n", path);
    return 0;
}
