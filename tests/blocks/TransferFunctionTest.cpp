#include <gtest/gtest.h>

#include <complex>

#include "blocks/TTransferFunction.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "support/RecordingMessages.h"

namespace {

using V = std::vector<double>;
using Complex = std::complex<double>;

TTransferFunction* NewTransferFunction(Schematic& sheet) {
    return static_cast<TTransferFunction*>(CreateElementByName(sheet, "TTransferFunction"));
}

V Values(const TMatrix& m) {
    V out;
    for (std::int64_t i = 0; i < m.Size(); ++i)
        out.push_back(m.At(i).Value());
    return out;
}

// C·(sI − A)⁻¹·B + D by complex elimination: the transfer function the
// realisation stands for.
Complex StateSpaceResponse(TTransferFunction& tf, Complex s) {
    const int n = tf.GetOrder();
    const TMatrix A = tf.GetA(), B = tf.GetB(), C = tf.GetC(), D = tf.GetD();
    std::vector<std::vector<Complex>> M(std::size_t(n), std::vector<Complex>(std::size_t(n) + 1));
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c)
            M[r][c] = (r == c ? s : 0.0) - A(r, c).Value();
        M[r][n] = B(r, 0).Value();
    }
    for (int p = 0; p < n; ++p) {
        int best = p;
        for (int r = p + 1; r < n; ++r)
            if (std::abs(M[r][p]) > std::abs(M[best][p])) best = r;
        std::swap(M[p], M[best]);
        for (int r = 0; r < n; ++r) {
            if (r == p) continue;
            const Complex f = M[r][p] / M[p][p];
            for (int c = p; c <= n; ++c)
                M[r][c] -= f * M[p][c];
        }
    }
    Complex y = D(0, 0).Value();
    for (int r = 0; r < n; ++r)
        y += C(0, r).Value() * M[r][n] / M[r][r];
    return y;
}

Complex Polynomial(const V& coefficients, Complex s) {
    Complex v = 0;
    for (double c : coefficients)
        v = v * s + c;
    return v;
}

TEST(TransferFunction, DefaultIsOneOverSPlusOne) {
    Schematic sheet;
    TTransferFunction* tf = NewTransferFunction(sheet);
    EXPECT_EQ(tf->RefParamDefs, nullptr);
    EXPECT_EQ(tf->K, 1.0);
    EXPECT_EQ(tf->Num, V{1});
    EXPECT_EQ(tf->Den, (V{1, 1}));
    EXPECT_TRUE(tf->IC.empty());
    EXPECT_EQ(tf->GetOrder(), 1);
    EXPECT_EQ(Values(tf->GetA()), V{-1});
    EXPECT_EQ(Values(tf->GetB()), V{1});
    EXPECT_EQ(Values(tf->GetC()), V{1});
    EXPECT_EQ(Values(tf->GetD()), V{0});
    EXPECT_EQ(tf->GetInitialState(0), 0.0);
}

TEST(TransferFunction, CompanionMatricesOfASecondOrderSystem) {
    Schematic sheet;
    TTransferFunction* tf = NewTransferFunction(sheet);
    // 3·(s + 5) / (2s² + 4s + 8): monic denominator s² + 2s + 4.
    tf->K = 3;
    tf->Num = {1, 5};
    tf->Den = {2, 4, 8};
    EXPECT_EQ(tf->GetOrder(), 2);
    EXPECT_EQ(Values(tf->GetA()), (V{0, -4, 1, -2}));
    EXPECT_EQ(Values(tf->GetB()), (V{5, 1}));
    EXPECT_EQ(Values(tf->GetC()), (V{0, 1.5}));
    EXPECT_EQ(Values(tf->GetD()), V{0});
}

TEST(TransferFunction, RealisationReproducesTheTransferFunction) {
    struct Case {
        double K;
        V num, den;
    } cases[] = {
        {1, {1}, {1, 1}},
        {3, {1, 5}, {2, 4, 8}},
        {2, {1, 2, 3}, {1, 1}},      // improper: the s² term is not realised
        {0.5, {4, 0, 1}, {2, 3, 1}}, // biproper: D carries the direct path
        {1, {1, -1, 2, 0.5}, {1, 6, 11, 6}},
        {-7, {}, {1, 0, 0}}, // empty numerator: zero system
        {2.5, {3}, {4}},     // order 0: a pure gain
    };
    for (const Case& c : cases) {
        Schematic sheet;
        TTransferFunction* tf = NewTransferFunction(sheet);
        tf->K = c.K;
        tf->Num = c.num;
        tf->Den = c.den;
        // The realised numerator keeps the powers the denominator can carry.
        V realised = c.num;
        if (realised.size() > c.den.size())
            realised.erase(realised.begin(), realised.end() - std::ptrdiff_t(c.den.size()));
        for (Complex s : {Complex(0.3, 0.7), Complex(-2.0, 1.5), Complex(5.0, -0.25)}) {
            const Complex expected = c.K * Polynomial(realised, s) / Polynomial(c.den, s);
            const Complex got = StateSpaceResponse(*tf, s);
            EXPECT_NEAR(std::abs(got - expected), 0.0, 1e-12 * (1 + std::abs(expected)))
                << "K=" << c.K << " at s=" << s;
        }
    }
}

TEST(TransferFunction, InitialStatesComeFromTheListAndDefaultToZero) {
    Schematic sheet;
    TTransferFunction* tf = NewTransferFunction(sheet);
    tf->Den = {1, 3, 2};
    tf->IC = {5};
    EXPECT_EQ(tf->GetInitialState(0), 5.0);
    EXPECT_EQ(tf->GetInitialState(1), 0.0);
}

TEST(TransferFunctionDialog, NumeratorAboveTheDenominatorLosesItsHighestPower) {
    Schematic sheet;
    TTransferFunction* tf = NewTransferFunction(sheet);
    ASSERT_TRUE(
        tf->SetCoefficients(1, {ParseCoefficientList("1 2 3"), ParseCoefficientList("1 1"), {}}));
    EXPECT_EQ(tf->Num, (V{2, 3}));
    EXPECT_EQ(tf->Den, (V{1, 1}));
    EXPECT_EQ(Values(tf->GetD()), V{2});
}

TEST(TransferFunctionDialog, LeadingZerosOfTheDenominatorGo) {
    Schematic sheet;
    TTransferFunction* tf = NewTransferFunction(sheet);
    ASSERT_TRUE(tf->SetCoefficients(1, {{1}, ParseCoefficientList("0 0 2 4"), {}}));
    EXPECT_EQ(tf->Den, (V{2, 4}));
    EXPECT_EQ(tf->GetOrder(), 1);
    EXPECT_EQ(Values(tf->GetA()), V{-2});
}

TEST(TransferFunctionDialog, InitialValuesBeyondTheDenominatorAreDropped) {
    Schematic sheet;
    TTransferFunction* tf = NewTransferFunction(sheet);
    ASSERT_TRUE(tf->SetCoefficients(1, {{1}, {1, 3, 2}, ParseCoefficientList("5 6 7 8")}));
    EXPECT_EQ(tf->IC, (V{5, 6, 7}));
    EXPECT_EQ(tf->GetOrder(), 2);
    EXPECT_EQ(tf->GetInitialState(1), 6.0);
}

TEST(TransferFunctionDialog, ZeroDenominatorIsRefusedAndNothingChanges) {
    RecordingMessages messages;
    Schematic sheet;
    TTransferFunction* tf = NewTransferFunction(sheet);
    EXPECT_FALSE(tf->SetCoefficients(5, {{2}, {0, 0}, {1}}));
    EXPECT_FALSE(tf->SetCoefficients(5, {{2}, {}, {1}}));
    EXPECT_EQ(tf->K, 1.0);
    EXPECT_EQ(tf->Num, V{1});
    EXPECT_EQ(tf->Den, (V{1, 1}));
    EXPECT_TRUE(tf->IC.empty());
    const std::string text = "Компонент TransferFunction №0: знаменатель передаточной функции пуст "
                             "или состоит из нулей. Оставлен прежний знаменатель \"1 1\".";
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{text, text}));
}

std::vector<std::string> Saved(const TTransferFunction& tf) {
    std::vector<std::string> lines;
    tf.SaveToStrings(lines);
    return lines;
}

TEST(TransferFunctionFile, FourLinesFollowTheElementRecord) {
    Schematic sheet;
    TTransferFunction* tf = NewTransferFunction(sheet);
    tf->Left = 40;
    tf->Top = 70;
    tf->K = 2.5;
    tf->Num = {1, 0.5};
    tf->Den = {1, 3, 2};
    tf->IC = {0.1, -2};
    EXPECT_EQ(Saved(*tf), (std::vector<std::string>{"TransferFunction:40,70,0,0,0", "K=2.5",
                                                    "Num=1 0.5", "Den=1 3 2", "IC=0.1 -2"}));
    tf->IC.clear();
    EXPECT_EQ(Saved(*tf).back(), "IC=");
}

TEST(TransferFunctionFile, LinesReadBackUntilTheFirstLineWithoutEquals) {
    Schematic sheet;
    TTransferFunction* source = NewTransferFunction(sheet);
    source->K = -1e-5;
    source->Num = {3, 0, 1};
    source->Den = {2, 0, 0, 7};
    source->IC = {1, 2};
    std::vector<std::string> lines = Saved(*source);
    lines.push_back("EOE");
    TTransferFunction* loaded = NewTransferFunction(sheet);
    const std::string& header = lines[0];
    const int next =
        loaded->LoadFromStrings(std::string_view(header).substr(header.find(':')), lines, 0);
    EXPECT_EQ(next, 5);
    EXPECT_EQ(loaded->K, source->K);
    EXPECT_EQ(loaded->Num, source->Num);
    EXPECT_EQ(loaded->Den, source->Den);
    EXPECT_EQ(loaded->IC, source->IC);
}

TEST(TransferFunctionFile, LoadTakesKnownKeysInAnyOrderAndSkipsOthers) {
    RecordingMessages messages;
    Schematic sheet;
    TTransferFunction* tf = NewTransferFunction(sheet);
    const std::vector<std::string> lines = {
        "TransferFunction:1,2,0,0,0", "Den=1  5", "Colour=red", "K=abc", "IC=9", "Summary"};
    EXPECT_EQ(tf->LoadFromStrings(":1,2,0,0,0", lines, 0), 5);
    EXPECT_EQ(tf->Den, (V{1, 5}));
    EXPECT_EQ(tf->K, 1.0); // not a number: reported, the gain stays
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{
                  "Строка 4, элемент TransferFunction №0, K: \"abc\" не является числом"});
    EXPECT_EQ(tf->Num, V{1});
    EXPECT_EQ(tf->IC, V{9});
    EXPECT_EQ(tf->Left, 1);
    EXPECT_EQ(tf->Top, 2);
}

TEST(TransferFunctionFile, LoadAppliesNoNormalisation) {
    Schematic sheet;
    TTransferFunction* tf = NewTransferFunction(sheet);
    const std::vector<std::string> lines = {"TransferFunction:1,2,0,0,0", "Num=1 2 3", "Den=1 1",
                                            "IC=4 5 6"};
    tf->LoadFromStrings(":1,2,0,0,0", lines, 0);
    EXPECT_EQ(tf->Num, (V{1, 2, 3}));
    EXPECT_EQ(tf->IC, (V{4, 5, 6}));
}

TEST(TransferFunctionFile, ZeroDenominatorIsRefusedOnLoadKeepingThePreviousOne) {
    RecordingMessages messages;
    Schematic sheet;
    CreateElementByName(sheet, "TIntegrator");
    TTransferFunction* tf = NewTransferFunction(sheet);
    tf->Den = {1, 4};
    const std::vector<std::string> lines = {"TransferFunction:1,2,0,0,0", "K=3", "Den=0 0", "EOE"};
    EXPECT_EQ(tf->LoadFromStrings(":1,2,0,0,0", lines, 0), 3);
    EXPECT_EQ(tf->Den, (V{1, 4}));
    EXPECT_EQ(tf->K, 3.0); // the other lines still count
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{
                  "Компонент TransferFunction №1: знаменатель передаточной функции "
                  "пуст или состоит из нулей. Оставлен прежний знаменатель \"1 4\"."}));
}

TEST(TransferFunctionRun, LeadingZeroOfAHandWrittenDenominatorStopsTheRun) {
    RecordingMessages messages;
    Schematic sheet;
    TTransferFunction* tf = NewTransferFunction(sheet);
    const std::vector<std::string> lines = {"TransferFunction:1,2,0,0,0", "Den=0 1 1"};
    tf->LoadFromStrings(":1,2,0,0,0", lines, 0);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_FALSE(tf->CheckBeforeRun());
    EXPECT_EQ(
        messages.Texts(),
        (std::vector<std::string>{"Компонент TransferFunction №0: старший коэффициент знаменателя "
                                  "передаточной функции равен нулю."}));
    tf->Den = {2, 1};
    EXPECT_TRUE(tf->CheckBeforeRun());
}

} // namespace
