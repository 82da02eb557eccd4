#include "blocks/Families.h"

#include "model/ClassRegistry.h"
#include "model/TInfoConnector.h"

TProducer::TProducer(Schematic& sheet) : TBaseElement(sheet) { sheet.Producers.Add(this); }
TProducer::~TProducer() { Sheet().Producers.Remove(this); }
void TProducer::Loaded() {
    TBaseElement::Loaded();
    Output = FindOutput("Output");
}

TStatic::TStatic(Schematic& sheet) : TBaseElement(sheet) { sheet.Statics.Add(this); }
TStatic::~TStatic() { Sheet().Statics.Remove(this); }
void TStatic::Loaded() {
    TBaseElement::Loaded();
    Output = FindOutput("Output");
    Input = FindInput("Input");
}

TDynamic::TDynamic(Schematic& sheet) : TBaseElement(sheet) { sheet.Dynamics.Add(this); }
TDynamic::~TDynamic() { Sheet().Dynamics.Remove(this); }
void TDynamic::Loaded() {
    TBaseElement::Loaded();
    Output = FindOutput("Output");
    Input = FindInput("Input");
}

TConsumer::TConsumer(Schematic& sheet) : TBaseElement(sheet) { sheet.Consumers.Add(this); }
TConsumer::~TConsumer() { Sheet().Consumers.Remove(this); }
double TConsumer::LastInput() const {
    const std::vector<double>& inputs = Sheet().Run().ConsumerInputs;
    const int k = Sheet().Consumers.IndexOf(this);
    return k >= 0 && k < int(inputs.size()) ? inputs[std::size_t(k)] : 0.0;
}
void TConsumer::Loaded() {
    TBaseElement::Loaded();
    Input = FindInput("Input");
}

REGISTER_ABSTRACT_ELEMENT(TProducer, TBaseElement);
REGISTER_ABSTRACT_ELEMENT(TStatic, TBaseElement);
REGISTER_ABSTRACT_ELEMENT(TDynamic, TBaseElement);
REGISTER_ABSTRACT_ELEMENT(TConsumer, TBaseElement);
