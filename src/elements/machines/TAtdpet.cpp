#include "elements/machines/TAtdpet.h"

#include "model/ClassRegistry.h"

namespace {

const TBranchRecord Branches[] = {
    TAtd::Winding<0>("Connector_A"),
    TAtd::Winding<1>("Connector_B"),
    TAtd::Winding<2>("Connector_C"),
    TAtd::Winding<3>("Connector_rA"),
    TAtd::Winding<4>("Connector_rB"),
    TAtd::Winding<5>("Connector_rC"),
    EndRecord(),
};

} // namespace

TAtdpet::TAtdpet(Schematic& sheet) : TAtd(sheet) {
    DbSection = "Atdpet";
    woundRotor_ = true;
}

const TBranchRecord* TAtdpet::GetCircuitModel() const {
    return Branches;
}

REGISTER_ELEMENT(TAtdpet, TProducer);
