#pragma once

#include <cstdint>

#include "Simulation/Assert.h"

class TBaseElement;

// One partial derivative of an affine live value: d(value)/d(potential of
// model node `Node`).
struct TNodeSlope {
    static constexpr int Max = 16;  // the most an element may report
    int Node = -1;
    double Value = 0;
};

// The engine's scalar: a number fixed when stored (Static) or a live
// reference to an element function evaluated at every read (Dynamic). A live
// value is a plain function pointer with its element, so reading one costs an
// indirect call and nothing else.
class TValue {
public:
    using Getter = double (*)(TBaseElement*);
    // Writes the slopes of an affine value for the present step into `out`
    // (at most TNodeSlope::Max) and returns their number.
    using SlopeGetter = int (*)(TBaseElement*, TNodeSlope* out);
    enum : std::uint8_t { Static = 1, Dynamic = 2 };

    TValue() = default;
    TValue(double v) : value_(v) {}  // NOLINT: numbers convert to static values
    TValue(TBaseElement* element, Getter getter)
        : Type(Dynamic), element_(element), getter_(getter) {}
    // A live value that changes only from one step to the next (a companion
    // source, a generator): within a step's Newton iterations it reads the
    // same, so the engine may keep what it derived from it.
    static TValue OncePerStep(TBaseElement* element, Getter getter) {
        TValue v(element, getter);
        v.fixedWithinStep_ = true;
        return v;
    }

    // A live value that follows the present potentials within a step, but
    // affinely, with coefficients fixed for the step (the EMF of a winding
    // coupled to others whose inductances follow the shaft once a step): it
    // is read at every evaluation, while its derivatives change only from one
    // step to the next.
    // With `slopes`, the element also states the coefficients, so that the
    // engine can form its derivatives instead of differencing them.
    static TValue AffineWithinStep(TBaseElement* element, Getter getter, SlopeGetter slopes = nullptr) {
        TValue v(element, getter);
        v.affineWithinStep_ = true;
        v.slopes_ = slopes;
        return v;
    }

    std::uint8_t Type = Static;

    double Value() const {
        if (Type == Static) return value_;
        QUENTOR_CHECK(Type == Dynamic, "Type==Static || Type==Dynamic", "Simulation/TValue");
        return getter_(element_);
    }
    operator double() const { return Value(); }  // NOLINT: reads like a number
    TValue& operator=(double v) {
        Type = Static;
        fixedWithinStep_ = false;
        affineWithinStep_ = false;
        slopes_ = nullptr;
        value_ = v;
        return *this;
    }
    bool IsDynamic() const { return Type == Dynamic; }
    // Whether the value can change between two reads within one step.
    bool VariesWithinStep() const { return Type == Dynamic && !fixedWithinStep_; }
    // Whether its derivatives with respect to what it reads can change
    // between two reads within one step.
    bool DerivativesVaryWithinStep() const { return VariesWithinStep() && !affineWithinStep_; }
    TBaseElement* Element() const { return element_; }
    Getter GetterFunction() const { return getter_; }
    // The slopes of an affine value, when its element states them.
    SlopeGetter Slopes() const { return affineWithinStep_ ? slopes_ : nullptr; }

private:
    bool fixedWithinStep_ = false;
    bool affineWithinStep_ = false;
    double value_ = 0.0;
    TBaseElement* element_ = nullptr;
    Getter getter_ = nullptr;
    SlopeGetter slopes_ = nullptr;
};
