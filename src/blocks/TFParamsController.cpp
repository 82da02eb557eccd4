#include "blocks/TFParamsController.h"

#include "blocks/CoefficientList.h"
#include "blocks/TTransferFunction.h"
#include "params/ValueText.h"

TTFParamsController::TTFParamsController(TTransferFunction& block)
    : FactorText(FormatReal(block.K)), NumeratorText(CoefficientListText(block.Num)),
      DenominatorText(CoefficientListText(block.Den)), ICText(CoefficientListText(block.IC)),
      block_(block) {}

bool TTFParamsController::Accept() {
    // A factor that does not start with a number reads as 0, as in the file.
    double factor = 0.0;
    if (ParseReal(FactorText, factor) == 0) factor = 0.0;
    return block_.SetCoefficients(factor, {ParseCoefficientList(NumeratorText),
                                           ParseCoefficientList(DenominatorText),
                                           ParseCoefficientList(ICText)});
}
