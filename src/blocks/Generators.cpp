#include "blocks/Generators.h"

#include "model/ClassRegistry.h"

TStep::TStep(Schematic& sheet) : TProducer(sheet) {}
TSinusoid::TSinusoid(Schematic& sheet) : TProducer(sheet) {}
TGPSP::TGPSP(Schematic& sheet) : TProducer(sheet) {}
TGRI::TGRI(Schematic& sheet) : TProducer(sheet) {}
TTrap::TTrap(Schematic& sheet) : TProducer(sheet) {}
TTreu::TTreu(Schematic& sheet) : TProducer(sheet) {}
TRamp::TRamp(Schematic& sheet) : TProducer(sheet) {}
TAngel::TAngel(Schematic& sheet) : TProducer(sheet) {}
TPilaP::TPilaP(Schematic& sheet) : TProducer(sheet) {}
TPilaO::TPilaO(Schematic& sheet) : TProducer(sheet) {}
TSyncGPN::TSyncGPN(Schematic& sheet) : TStatic(sheet) {}

REGISTER_ELEMENT(TStep, TProducer);
REGISTER_ELEMENT(TSinusoid, TProducer);
REGISTER_ELEMENT(TGPSP, TProducer);
REGISTER_ELEMENT(TGRI, TProducer);
REGISTER_ELEMENT(TTrap, TProducer);
REGISTER_ELEMENT(TTreu, TProducer);
REGISTER_ELEMENT(TRamp, TProducer);
REGISTER_ELEMENT(TAngel, TProducer);
REGISTER_ELEMENT(TPilaP, TProducer);
REGISTER_ELEMENT(TPilaO, TProducer);
REGISTER_ELEMENT(TSyncGPN, TStatic);
