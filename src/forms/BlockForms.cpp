// Forms of the linear blocks, junctions, sinks and the hysteresis: the blocks
// whose pins do not follow the common one-input one-output layout.
#include "forms/BlockPictures.h"
#include "model/FormDescription.h"

namespace {

TPicture Gain() {
    return PictureBuilder(24, 25)
        .Rect({0, 0}, {23, 24})
        .Text({12, 12}, "K", 12, TTextAlign::Center, true);
}

TPicture Integrator() {
    return PictureBuilder(27, 26)
        .Rect({0, 0}, {26, 25})
        .Text({13, 12}, "∫", 17, TTextAlign::Center, true);
}

TPicture TransferFunction() {
    // The default 1 / (s + 1), coefficients as the block writes them.
    return PictureBuilder(39, 37)
        .Rect({0, 0}, {38, 36})
        .Text({19, 10}, "1", 11)
        .Line({6, 18}, {32, 18})
        .Text({19, 27}, "1 1", 11);
}

// A 28-pixel junction body with its sign, between the inputs on the left and
// the output on the right.
TPicture Junction(const char* sign, int size, bool round) {
    PictureBuilder b(29, 30);
    if (round)
        b.Circle({14, 15}, 14);
    else
        b.Rect({0, 1}, {28, 29});
    TPicture picture = b.Text({14, 15}, sign, size);
    // The sign turns red with the outline when the junction is selected.
    picture.Items.back().TextFollowsHighlight = true;
    return picture;
}

TPicture Plotter() {
    PictureBuilder b(40, 26);
    b.Rect({0, 0}, {39, 25}).Line({5, 3}, {5, 21}).Line({5, 21}, {36, 21});
    return b.Polyline({{6, 20}, {10, 9}, {14, 6}, {19, 12}, {23, 16}, {28, 11}, {32, 9}, {36, 10}});
}

TPicture Display() {
    return PictureBuilder(52, 31).Rect({0, 0}, {51, 30}).Text({26, 15}, "Дисплей", 10);
}

// The hysteresis pins sit 41 pixels down its form, with the input well to
// the right of the form's edge; the body fills the gap between them and the
// picture's height centres the pins on the element.
TPicture Gisteresis() {
    PictureBuilder b(38, 97);
    b.Rect({0, 35}, {37, 61})
        .Pen(1, TPenStyle::Dot)
        .Line({4, 48}, {33, 48})
        .Line({19, 38}, {19, 58});
    return b.Pen(1)
        .Polyline({{4, 55}, {23, 55}, {23, 41}, {33, 41}})
        .Polyline({{23, 41}, {14, 41}, {14, 55}});
}

const bool registered = [] {
    RegisterForm({"TGain", {O("Output", 35, -7), I("Input", 0, -7)}, Gain(), 12, RaisedBodyTop});
    RegisterForm({"TIntegrator", {O("Output", 38, 6), I("Input", 0, 6)}, Integrator(), 12, 0});
    RegisterForm({"TTransferFunction",
                  {O("Output", 50, -1), I("Input", 0, -1)},
                  TransferFunction(),
                  12,
                  RaisedBodyTop});
    RegisterForm({"TSummingJunction",
                  {O("Output", 40, 8), I("Input", 0, 0), I("Input2", 0, 16)},
                  Junction("Σ", 17, true),
                  12,
                  0});
    RegisterForm({"TMultiplyingJunction",
                  {O("Output", 40, 8), I("Input", 0, 0), I("Input2", 0, 16)},
                  Junction("×", 20, true),
                  12,
                  0});
    RegisterForm({"TDivideningJunction",
                  {O("Output", 40, 8), I("Input", 0, 0), I("Input2", 0, 16)},
                  Junction("÷", 20, false),
                  12,
                  0});
    RegisterForm({"TPlotter", {I("Input", 0, 6)}, Plotter(), 12, 0});
    RegisterForm({"TDisplay", {I("Input", 0, -4)}, Display(), 12, RaisedBodyTop});
    RegisterForm({"TGisteresis", {O("Output", 79, 41), I("Input", 30, 41)}, Gisteresis(), 42, 0});
    return true;
}();

} // namespace
