#pragma once

#include "blocks/Families.h"

// One-input function blocks without parameters: y = f(x), in double precision
// by the math library. Arguments outside a function's domain give NaN or an
// infinity, which the engine reports as a failed run naming the block.

// y = |x|
class TAbs : public TStatic {
public:
    explicit TAbs(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};

// y = -x
class TSInv : public TStatic {
public:
    explicit TSInv(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};

// y = 1/x, or 0 near x = 0
class TSVer : public TStatic {
public:
    explicit TSVer(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};

// y = sign x
class TSSign : public TStatic {
public:
    explicit TSSign(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};

// y = sin x
class Tssin : public TStatic {
public:
    explicit Tssin(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};

// y = cos x
class TScos : public TStatic {
public:
    explicit TScos(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};

// y = tan x
class TStan : public TStatic {
public:
    explicit TStan(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};

// y = arcsin x
class TSasin : public TStatic {
public:
    explicit TSasin(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};

// y = arccos x
class TSacos : public TStatic {
public:
    explicit TSacos(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};

// y = arctan x
class TSatan : public TStatic {
public:
    explicit TSatan(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};

// y = sinh x
class TSsinh : public TStatic {
public:
    explicit TSsinh(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};

// y = cosh x
class TScosh : public TStatic {
public:
    explicit TScosh(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};

// y = tanh x
class TStanh : public TStatic {
public:
    explicit TStanh(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};

// y = e^x
class TSexp : public TStatic {
public:
    explicit TSexp(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};

// y = ln x
class TSln : public TStatic {
public:
    explicit TSln(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};

// y = lg x
class TSlg : public TStatic {
public:
    explicit TSlg(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};

// y = sqrt x
class TSsqrt : public TStatic {
public:
    explicit TSsqrt(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};
