#pragma once

#include <stdexcept>
#include <string>
#include <vector>

class Schematic;
class TBaseElement;

// The registry of element classes: creation by class name, and the class
// tree that decides which forms apply and which family a class belongs to.

using TElementFactory = TBaseElement* (*)(Schematic&);

struct TElementClass {
    std::string Name;    // "TDiode"
    std::string Parent;  // "TBaseElement" for direct descendants; empty for the root
    TElementFactory Create = nullptr;  // null for abstract classes
};

bool RegisterElementClass(TElementClass cls);
const TElementClass* FindElementClass(const std::string& name);
// Every registered class, in name order.
std::vector<const TElementClass*> AllElementClasses();
// The chain of class names from the root down to `name` itself.
std::vector<std::string> ClassChain(const std::string& name);
bool ClassInheritsFrom(const std::string& name, const std::string& base);

class TElementCreateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Creates an element of the named class on the sheet: construction, the forms
// of every class of its chain from the root down, then the once-only Loaded
// work. Marks the schematic modified. Throws TElementCreateError with the
// reason when the class is unknown or abstract.
TBaseElement* CreateElementByName(Schematic& sheet, const std::string& className);

#define QUENTOR_CONCAT_INNER(a, b) a##b
#define QUENTOR_CONCAT(a, b) QUENTOR_CONCAT_INNER(a, b)

// Registers a concrete element class under its own name.
#define REGISTER_ELEMENT(Class, ParentClass)                                              \
    static const bool QUENTOR_CONCAT(registered_, Class) = RegisterElementClass(          \
        {#Class, #ParentClass, [](Schematic& sheet) -> TBaseElement* { return new Class(sheet); }})

// Registers an abstract class (a family base) so that its form and place in
// the tree are known.
#define REGISTER_ABSTRACT_ELEMENT(Class, ParentClass) \
    static const bool QUENTOR_CONCAT(registered_, Class) = RegisterElementClass({#Class, #ParentClass, nullptr})
