#include "app/SheetLabels.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "app/Palette.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TElectricLine.h"
#include "params/ValueText.h"

namespace {

bool IsBlock(const TBaseElement& e) {
    return e.FConnectors.empty();
}

} // namespace

namespace {

std::string ValueWithUnit(const ParamValue& v) {
    std::string text = FormatShownReal(v.Value / UnitFactor(v));
    if (v.Def && v.Def->Units && ValidUnit(*v.Def, v.Unit) && v.Def->Units[v.Unit].Factor != 0)
        text += std::string(" ") + v.Def->Units[v.Unit].Text;
    return text;
}

} // namespace

std::string MainValueText(const TBaseElement& element) {
    if (IsBlock(element)) return {};
    if (element.DbSection && !element.ManualRefs && !element.DeviceType.empty())
        return element.DeviceType;
    if (!element.RefParamDefs) return {};
    // An option list (a machine's output choice) is no value to show; the
    // first numeric reference row is.
    for (const ParamDef* d = element.RefParamDefs; d->Name; ++d) {
        if (IsEnumerated(*d)) continue;
        const ParamValue* v = element.FindParam(d->Name);
        return v ? ValueWithUnit(*v) : std::string();
    }
    return {};
}

TElementLabel LabelOf(const TBaseElement& element, const std::string& name) {
    TElementLabel label;
    if (!name.empty()) label.Lines.push_back(name);
    if (std::string value = MainValueText(element); !value.empty())
        label.Lines.push_back(std::move(value));
    label.Above = element.Width > element.Height;
    label.At = label.Above
                   ? TPoint{element.Left + element.Width / 2, element.Top - 2}
                   : TPoint{element.Left + element.Width + 4, element.Top + element.Height / 2};
    return label;
}

std::optional<TRect> DrawingBounds(const Schematic& sheet, bool selectionOnly, int margin) {
    std::optional<TRect> bounds;
    const auto add = [&bounds](const TRect& r) {
        if (!bounds)
            bounds = r;
        else
            bounds = TRect{std::min(bounds->left, r.left), std::min(bounds->top, r.top),
                           std::max(bounds->right, r.right), std::max(bounds->bottom, r.bottom)};
    };
    const std::vector<std::string> names = DerivedNames(sheet);
    for (int i = 0; i < sheet.Elements.Count(); ++i) {
        const TBaseElement* e = sheet.Elements[i];
        if (selectionOnly && !e->FSelected) continue;
        add(e->BoundsRect());
        // The label: two lines of about 13 pixels, some 80 wide.
        const TElementLabel label = LabelOf(*e, names[std::size_t(i)]);
        if (label.Lines.empty()) continue;
        const int h = 13 * int(label.Lines.size());
        add(label.Above
                ? TRect{label.At.x - 40, label.At.y - h, label.At.x + 40, label.At.y}
                : TRect{label.At.x, label.At.y - h / 2, label.At.x + 80, label.At.y + h / 2});
    }
    for (const TElectricLine* s : sheet.Lines)
        if (!selectionOnly || s->FSelected) add(s->BoundsRect());
    if (bounds)
        *bounds = {bounds->left - margin, bounds->top - margin, bounds->right + margin,
                   bounds->bottom + margin};
    return bounds;
}

std::string ElementTooltip(const TBaseElement& element, const std::string& name,
                           std::optional<double> output) {
    std::string caption;
    for (const TPaletteItem& item : PaletteItems())
        if (item.ClassName == element.ClassName()) caption = item.Caption;
    std::string text = name.empty() ? caption : caption.empty() ? name : name + " — " + caption;
    if (element.DbSection && !element.ManualRefs && !element.DeviceType.empty())
        text += "\nТип: " + element.DeviceType;
    if (element.RefParamDefs)
        for (const ParamDef* d = element.RefParamDefs; d->Name; ++d)
            if (const ParamValue* v = element.FindParam(d->Name))
                text += std::string("\n") + (d->Description ? d->Description : d->Name) + ": " +
                        ValueWithUnit(*v);
    if (output) {
        // Six digits, as the displays show them; written without the locale.
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, *output,
                                       std::chars_format::general, 6);
        double shown = *output;
        std::from_chars(digits, end.ptr, shown);
        text += "\nВыход: " + FormatShownReal(shown);
    }
    return text;
}
