#pragma once

#include <string>

class TTransferFunction;

// The logic of the transfer-function dialog (TTFParams) without its widgets:
// the four texts it shows and what "&Принять" stores.
class TTFParamsController {
public:
    // Fills the texts from the block: K, then the coefficient lists.
    explicit TTFParamsController(TTransferFunction& block);

    std::string FactorText;
    std::string NumeratorText;
    std::string DenominatorText;
    std::string ICText;

    // Reads the texts, normalises them and stores them in the block. A
    // denominator without a non-zero coefficient is refused with a message
    // naming the block: nothing changes and false is returned, so the
    // dialog stays open.
    bool Accept();

private:
    TTransferFunction& block_;
};
