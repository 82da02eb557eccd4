#include "model/ClassRegistry.h"

#include <algorithm>
#include <map>

#include "model/FormDescription.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"

namespace {
std::map<std::string, TElementClass>& Classes() {
    static std::map<std::string, TElementClass> classes;
    return classes;
}
} // namespace

bool RegisterElementClass(TElementClass cls) {
    std::string name = cls.Name;
    Classes()[name] = std::move(cls);
    return true;
}

const TElementClass* FindElementClass(const std::string& name) {
    auto it = Classes().find(name);
    return it == Classes().end() ? nullptr : &it->second;
}

std::vector<const TElementClass*> AllElementClasses() {
    std::vector<const TElementClass*> out;
    for (const auto& [name, cls] : Classes()) out.push_back(&cls);
    return out;
}

std::vector<std::string> ClassChain(const std::string& name) {
    std::vector<std::string> chain;
    std::string current = name;
    // The depth bound guards against a registration cycle.
    for (int depth = 0; !current.empty() && depth < 32; ++depth) {
        chain.push_back(current);
        const TElementClass* cls = FindElementClass(current);
        if (!cls) break;
        current = cls->Parent;
    }
    std::reverse(chain.begin(), chain.end());
    return chain;
}

bool ClassInheritsFrom(const std::string& name, const std::string& base) {
    const auto chain = ClassChain(name);
    return std::find(chain.begin(), chain.end(), base) != chain.end();
}

// The root of every element; its form gives the picture control at (0, 0).
REGISTER_ABSTRACT_ELEMENT(TBaseElement, );

TBaseElement* CreateElementByName(Schematic& sheet, const std::string& className) {
    sheet.Modified = true;
    const TElementClass* cls = FindElementClass(className);
    if (!cls) throw TElementCreateError("Class " + className + " not found");
    if (!cls->Create) throw TElementCreateError("Cannot create an instance of abstract class " + className);
    TBaseElement* e = cls->Create(sheet);
    e->className_ = className;
    for (const std::string& name : ClassChain(className))
        if (const TFormDescription* form = FindForm(name)) e->ApplyForm(*form);
    e->Loaded();
    return e;
}
