// Forms of the family bases: the pins every member inherits first.
#include "model/FormDescription.h"

namespace {
const bool registered = [] {
    RegisterForm({"TProducer", {O("Output", 40, 12)}, {}, 0, 0});
    RegisterForm({"TConsumer", {I("Input", 0, 12)}, {}, 0, 0});
    RegisterForm({"TStatic", {O("Output", 64, 20), I("Input", 0, 20)}, {}, 0, 0});
    RegisterForm({"TDynamic", {O("Output", 64, 20), I("Input", 0, 20)}, {}, 0, 0});
    return true;
}();
} // namespace
