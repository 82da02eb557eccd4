#include "blocks/FunctionBlocks.h"

#include "model/ClassRegistry.h"

TAbs::TAbs(Schematic& sheet) : TStatic(sheet) {}
TSInv::TSInv(Schematic& sheet) : TStatic(sheet) {}
TSVer::TSVer(Schematic& sheet) : TStatic(sheet) {}
TSSign::TSSign(Schematic& sheet) : TStatic(sheet) {}
Tssin::Tssin(Schematic& sheet) : TStatic(sheet) {}
TScos::TScos(Schematic& sheet) : TStatic(sheet) {}
TStan::TStan(Schematic& sheet) : TStatic(sheet) {}
TSasin::TSasin(Schematic& sheet) : TStatic(sheet) {}
TSacos::TSacos(Schematic& sheet) : TStatic(sheet) {}
TSatan::TSatan(Schematic& sheet) : TStatic(sheet) {}
TSsinh::TSsinh(Schematic& sheet) : TStatic(sheet) {}
TScosh::TScosh(Schematic& sheet) : TStatic(sheet) {}
TStanh::TStanh(Schematic& sheet) : TStatic(sheet) {}
TSexp::TSexp(Schematic& sheet) : TStatic(sheet) {}
TSln::TSln(Schematic& sheet) : TStatic(sheet) {}
TSlg::TSlg(Schematic& sheet) : TStatic(sheet) {}
TSsqrt::TSsqrt(Schematic& sheet) : TStatic(sheet) {}

REGISTER_ELEMENT(TAbs, TStatic);
REGISTER_ELEMENT(TSInv, TStatic);
REGISTER_ELEMENT(TSVer, TStatic);
REGISTER_ELEMENT(TSSign, TStatic);
REGISTER_ELEMENT(Tssin, TStatic);
REGISTER_ELEMENT(TScos, TStatic);
REGISTER_ELEMENT(TStan, TStatic);
REGISTER_ELEMENT(TSasin, TStatic);
REGISTER_ELEMENT(TSacos, TStatic);
REGISTER_ELEMENT(TSatan, TStatic);
REGISTER_ELEMENT(TSsinh, TStatic);
REGISTER_ELEMENT(TScosh, TStatic);
REGISTER_ELEMENT(TStanh, TStatic);
REGISTER_ELEMENT(TSexp, TStatic);
REGISTER_ELEMENT(TSln, TStatic);
REGISTER_ELEMENT(TSlg, TStatic);
REGISTER_ELEMENT(TSsqrt, TStatic);
