#include "Simulation/CircuitWarnings.h"

#include <set>

#include "model/ElementNames.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"

namespace {

// Elements that bring energy into a circuit by themselves: the independent
// sources, the sources driven from the block diagram, the pulse outputs of
// the voltage-frequency converter (their amplitude is a parameter), and the
// machines whose flux needs no current (the permanent-magnet motor and the
// electromechanical block with its tachogenerator), which a load torque
// turns into generators. Separately excited and induction machines, the
// amplifier and the inverter only pass on energy the circuit already has.
bool BringsEnergy(const TBaseElement& e) {
    static const std::set<std::string> sources{
        "TVoltageSource",     "TCurrentSource",     "TBattery", "TSolarBattery", "TVoltageSin",
        "TControlledVoltage", "TControlledCurrent", "TTvf",     "TMotor",        "TMechanical",
    };
    return sources.count(e.ClassName()) > 0;
}

bool IsGroundPin(const TConnector& c) {
    return c.FNet == "GND";
}

std::string ElementName(const TBaseElement& e, const std::vector<std::string>& names) {
    const int index = e.ElementIndex();
    if (index >= 0 && std::size_t(index) < names.size() && !names[std::size_t(index)].empty())
        return names[std::size_t(index)];
    return e.Name() + " №" + std::to_string(index);
}

} // namespace

std::vector<std::string> CircuitWarnings(const Schematic& sheet) {
    bool circuit = false, ground = false, source = false;
    std::vector<int> pinsOnNode(std::size_t(sheet.Nodes.Count()), 0);
    std::vector<const TConnector*> lastPinOnNode(pinsOnNode.size(), nullptr);
    for (const TConnector* c : sheet.ConnectorList) {
        if (!c->IsConnected()) continue;
        const TBaseElement* e = c->Parent();
        if (IsGroundPin(*c))
            ground = true;
        else
            circuit = true;
        if (e && BringsEnergy(*e)) source = true;
        const int node = c->GetNodeID();
        if (node >= 0 && std::size_t(node) < pinsOnNode.size()) {
            ++pinsOnNode[std::size_t(node)];
            lastPinOnNode[std::size_t(node)] = c;
        }
    }
    std::vector<std::string> warnings;
    if (!circuit) return warnings;
    if (!ground)
        warnings.push_back("В электрической цепи нет заземления: ни один её узел не соединён с "
                           "корпусом, потенциалы узлов отсчитываются от одного из них.");

    const std::vector<std::string> names = DerivedNames(sheet);
    std::vector<std::string> lonely;
    for (std::size_t n = 0; n < pinsOnNode.size(); ++n)
        if (pinsOnNode[n] == 1 && lastPinOnNode[n]->Parent()) {
            const TConnector* c = lastPinOnNode[n];
            lonely.push_back(c->Name + " элемента " + ElementName(*c->Parent(), names));
        }
    if (lonely.size() == 1) {
        warnings.push_back("Узел с единственным подключением: к проводу от вывода " + lonely[0] +
                           " больше ничего не подключено.");
    } else if (!lonely.empty()) {
        // A long list would hide the point; the first ones show where to look.
        constexpr std::size_t Shown = 10;
        std::string list;
        for (std::size_t k = 0; k < lonely.size() && k < Shown; ++k)
            list += (k ? ", " : "") + lonely[k];
        if (lonely.size() > Shown) list += " и ещё " + std::to_string(lonely.size() - Shown);
        warnings.push_back("Узлы с единственным подключением: к проводам от выводов " + list +
                           " больше ничего не подключено.");
    }

    if (!source)
        warnings.push_back("В электрической цепи нет ни одного источника энергии: токи и "
                           "напряжения в ней останутся нулевыми.");
    return warnings;
}
