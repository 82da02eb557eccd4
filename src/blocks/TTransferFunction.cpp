#include "blocks/TTransferFunction.h"

#include "blocks/BlockLabels.h"
#include "model/ClassRegistry.h"
#include "model/Messages.h"
#include "params/ValueText.h"

namespace {

// The form's outline: the smallest the labels ever get.
constexpr int OutlineMinWidth = 39;

} // namespace

TTransferFunction::TTransferFunction(Schematic& sheet) : TDynamic(sheet) {}

std::vector<double> TTransferFunction::AlignedNumerator() const {
    const int n1 = int(Den.size());
    const int m = int(Num.size());
    std::vector<double> b(std::size_t(n1), 0.0);
    // A numerator longer than the denominator loses its highest powers.
    for (int i = 0; i < n1; ++i) {
        const int k = i - (n1 - m);
        if (k >= 0 && k < m) b[std::size_t(i)] = Num[std::size_t(k)];
    }
    return b;
}

TMatrix TTransferFunction::GetA() {
    const int n = GetOrder();
    TMatrix A(n, n);
    for (int i = 0; i + 1 < n; ++i)
        A(i + 1, i) = 1.0;
    for (int j = 0; j < n; ++j)
        A(j, n - 1) = -Den[std::size_t(n - j)] / Den[0];
    return A;
}

TMatrix TTransferFunction::GetB() {
    const int n = GetOrder();
    const std::vector<double> b = AlignedNumerator();
    TMatrix B(n, 1);
    for (int i = 0; i < n; ++i)
        B(i, 0) = b[std::size_t(n - i)] - b[0] * Den[std::size_t(n - i)] / Den[0];
    return B;
}

TMatrix TTransferFunction::GetC() {
    const int n = GetOrder();
    TMatrix C(1, n);
    if (n > 0) C(0, n - 1) = K / Den[0];
    return C;
}

TMatrix TTransferFunction::GetD() {
    TMatrix D(1, 1);
    D(0, 0) = K * AlignedNumerator()[0] / Den[0];
    return D;
}

double TTransferFunction::GetInitialState(int i) {
    return i >= 0 && i < int(IC.size()) ? IC[std::size_t(i)] : 0.0;
}

void TTransferFunction::SaveToStrings(std::vector<std::string>& list) const {
    TDynamic::SaveToStrings(list);
    list.push_back("K=" + FormatReal(K));
    list.push_back("Num=" + CoefficientListText(Num));
    list.push_back("Den=" + CoefficientListText(Den));
    list.push_back("IC=" + CoefficientListText(IC));
}

int TTransferFunction::LoadFromStrings(std::string_view header,
                                       const std::vector<std::string>& list, int index) {
    int i = TDynamic::LoadFromStrings(header, list, index);
    std::vector<double> den = Den;
    for (; i < int(list.size()); ++i) {
        const std::string_view line = list[std::size_t(i)];
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) break;
        const std::string_view key = line.substr(0, eq);
        const std::string_view value = line.substr(eq + 1);
        const bool read = key == "K"     ? ReadReal(value, K)
                          : key == "Num" ? ReadCoefficientList(value, Num)
                          : key == "Den" ? ReadCoefficientList(value, den)
                          : key == "IC"  ? ReadCoefficientList(value, IC)
                                         : true;
        if (!read)
            ReportLineProblem(i, "элемент " + Name() + " №" + std::to_string(ElementIndex()) +
                                     ", " + std::string(key) + ": \"" + std::string(value) +
                                     "\" не является числом");
    }
    if (DenominatorUsable(den))
        Den = std::move(den);
    else
        ReportUnusableDenominator(CoefficientListText(Den));
    LayoutPicture();
    return i;
}

void TTransferFunction::Loaded() {
    TDynamic::Loaded();
    LayoutPicture();
}

void TTransferFunction::EditParams() {
    if (Sheet().Host) Sheet().Host->EditElementParams(*this);
    LayoutPicture();
}

bool TTransferFunction::CheckBeforeRun() {
    // Files are read without normalisation, so a hand-written one may lead
    // with a zero.
    if (!Den.empty() && Den[0] != 0.0) return true;
    Msg().Error("Компонент " + Name() + " №" + std::to_string(ElementIndex()) +
                    ": старший коэффициент знаменателя передаточной функции равен нулю.",
                ApplicationTitle);
    return false;
}

bool TTransferFunction::SetCoefficients(double factor, TTransferCoefficients c) {
    NormaliseTransferFunction(c);
    if (!DenominatorUsable(c.Den)) {
        ReportUnusableDenominator(CoefficientListText(Den));
        return false;
    }
    K = factor;
    Num = std::move(c.Num);
    Den = std::move(c.Den);
    IC = std::move(c.IC);
    LayoutPicture();
    return true;
}

void TTransferFunction::ReportUnusableDenominator(const std::string& previous) const {
    Msg().Error("Компонент " + Name() + " №" + std::to_string(ElementIndex()) +
                    ": знаменатель передаточной функции пуст или состоит из нулей. "
                    "Оставлен прежний знаменатель \"" +
                    previous + "\".",
                ApplicationTitle);
}

void TTransferFunction::LayoutPicture() {
    FitBlockToPicture(*this, TransferFunctionPicture(FormatReal(K), CoefficientListText(Num),
                                                     CoefficientListText(Den), OutlineMinWidth));
}

REGISTER_ELEMENT(TTransferFunction, TDynamic);
