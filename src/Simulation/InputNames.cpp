#include "Simulation/InputNames.h"

#include <cstdio>

#include "blocks/Families.h"
#include "model/ElementNames.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TInfoConnector.h"

std::vector<std::string> ConsumerInputNames(const Schematic& sheet) {
    const std::vector<std::string> derived = DerivedNames(sheet);
    std::vector<std::string> names;
    for (const TConsumer* c : sheet.Consumers) {
        const TInfoOutput* source = c->Input ? c->Input->GetSource() : nullptr;
        const TBaseElement* owner = source ? source->Parent() : nullptr;
        const int index = owner ? sheet.Elements.IndexOf(owner) : -1;
        if (index < 0) {
            names.emplace_back();
            continue;
        }
        std::string name = derived[std::size_t(index)];
        if (name.empty()) name = owner->Name();
        if (const std::string quantity = owner->OutputQuantity(); !quantity.empty())
            name += ": " + quantity;
        names.push_back(std::move(name));
    }
    return names;
}

std::string InputNamesText(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += std::to_string(i + 1) + "\t" + names[i] + "\n";
    return text;
}

void WriteInputNamesFile(const std::string& dir, const Schematic& sheet) {
    if (dir.empty()) return;
    const std::string path = dir + "/" + InputNamesFile;
    const std::string text = InputNamesText(ConsumerInputNames(sheet));
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::printf("Немогу открыть файл %s\n", path.c_str());
        return;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !written) std::printf("Немогу записать в файл %s\n", path.c_str());
}
