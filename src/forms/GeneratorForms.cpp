// Forms of the signal generators: a body with a small drawing of the waveform.
#include "forms/BlockPictures.h"
#include "model/FormDescription.h"

namespace {

// Producers: the output at (38, 6), a 39 x 26 body to its left; the block
// margins shift both 10 pixels right and centre the output on the body.
void RegisterProducer(const char* className, std::vector<TPoint> wave) {
    PictureBuilder b(39, 26);
    b.Rect({0, 0}, {38, 25}).Polyline(std::move(wave));
    RegisterForm({className, {O("Output", 38, 6)}, b, 0, 0});
}

TPicture Sinusoid() {
    return PictureBuilder(39, 26).Rect({0, 0}, {38, 25}).SineWave({5, 5}, {33, 20});
}

// Random levels held for a period.
TPicture Gpsp() {
    PictureBuilder b(85, 60);
    b.Rect({0, 0}, {84, 59});
    const int levels[9] = {30, 16, 40, 24, 12, 44, 20, 34, 26};
    std::vector<TPoint> steps;
    for (int i = 0; i < 9; ++i) {
        steps.push_back({8 + 8 * i, levels[i]});
        steps.push_back({16 + 8 * i, levels[i]});
    }
    return b.Polyline(std::move(steps));
}

TPicture Const() {
    return PictureBuilder(26, 25).Rect({0, 0}, {25, 24}).Text({13, 12}, "1", 12);
}

TPicture SyncGpn() {
    // A ramp restarted by the synchronising input at irregular moments.
    PictureBuilder b = BlockBody();
    return b.Polyline({{4, 20}, {13, 11}, {13, 20}, {27, 6}, {27, 20}, {32, 15}});
}

const bool registered = [] {
    RegisterProducer("TStep", {{4, 20}, {15, 20}, {15, 6}, {34, 6}});
    RegisterForm({"TSinusoid", {O("Output", 38, 6)}, Sinusoid(), 0, 0});
    RegisterForm({"TGPSP", {O("Output", 84, 23)}, Gpsp(), 0, 0});
    // Positive and negative pulses in one period.
    const std::vector<TPoint> rectangles = {{4, 13},  {8, 13},  {8, 5},   {16, 5},  {16, 13},
                                            {20, 13}, {20, 21}, {28, 21}, {28, 13}, {34, 13}};
    RegisterProducer("TGRI", rectangles);
    const std::vector<TPoint> trapezoids = {{4, 13},  {7, 13},  {10, 5},  {14, 5},  {17, 13},
                                            {21, 13}, {24, 21}, {28, 21}, {31, 13}, {34, 13}};
    RegisterProducer("TTrap", trapezoids);
    RegisterProducer("TTreu", {{4, 13}, {11, 5}, {27, 21}, {34, 13}});
    RegisterProducer("TRamp", {{4, 20}, {12, 20}, {34, 5}});
    RegisterProducer("TAngel", {{4, 20}, {14, 6}, {14, 20}, {24, 6}, {24, 20}, {34, 6}});
    RegisterProducer("TPilaP", {{4, 20}, {19, 6}, {19, 20}, {34, 6}, {34, 20}});
    RegisterProducer("TPilaO", {{4, 20}, {4, 6}, {19, 20}, {19, 6}, {34, 20}});
    RegisterForm({"TConst", {O("Output", 25, -7)}, Const(), 0, RaisedBodyTop});
    RegisterForm({"TSyncGPN", {O("Output", 48, 6), I("Input", 0, 6)}, SyncGpn(), BlockBodyLeft, 0});
    return true;
}();

} // namespace
