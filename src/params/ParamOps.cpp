// The parameter operations of every element: lookup by short name, defaults,
// and the typical devices of the database.
#include "model/Messages.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "params/Database.h"
#include "params/IniFile.h"
#include "params/ValueText.h"

namespace {
void ReportMissingParam(const TBaseElement& e, std::string_view name) {
    Msg().Error("Компонент " + e.Name() + " не содержит параметра " + std::string(name) + "!",
                ApplicationTitle);
}
} // namespace

ParamValue* TBaseElement::FindParam(std::string_view name) {
    for (ParamValue& v : ParamValues)
        if (v.Def && v.Def->Name && name == v.Def->Name) return &v;
    ReportMissingParam(*this, name);
    return nullptr;
}

const ParamValue* TBaseElement::FindParam(std::string_view name) const {
    return const_cast<TBaseElement*>(this)->FindParam(name);
}

double TBaseElement::ParamOf(std::string_view name) const {
    const ParamValue* v = FindParam(name);
    return v ? v->Value : 0.0;
}

int TBaseElement::ElementIndex() const {
    return sheet_.Elements.IndexOf(this);
}

bool TBaseElement::RequirePositive(std::string_view name) const {
    const ParamValue* v = FindParam(name);
    if (!v || v->Value > 0) return true;
    Msg().Error("Компонент " + Name() + " №" + std::to_string(ElementIndex()) + ": параметр " +
                    std::string(name) + " должен быть больше нуля.",
                ApplicationTitle);
    return false;
}

void TBaseElement::ResetParams() {
    for (ParamValue& v : ParamValues) {
        v.Value = v.Def->DefaultValue;
        v.Unit = v.Def->DefaultUnit;
    }
    if (AutoModel) CalcModelParams();
}

bool TBaseElement::LoadDeviceType(const std::string& type) {
    if (type.empty() || !DbSection) return false;
    const TIniFile db(DatabasePath(DbSection));
    if (!db.HasSection(type)) {
        Msg().Error("Тип " + type + " отсутствует в базе данных \"" + DbSection + "\"!",
                    ApplicationTitle);
        return false;
    }
    DeviceType = type;
    for (const std::string& key : db.Keys(type)) {
        ParamValue* v = FindParam(key);
        if (!v) continue;
        const std::string text = db.Read(type, key, "0");
        if (text.empty()) continue;
        if (const std::string problem = ParseValueText(text, *v); !problem.empty())
            Msg().Error("Тип " + type + " в базе данных \"" + DbSection + "\", параметр " + key +
                            ": " + problem,
                        ApplicationTitle);
    }
    if (AutoModel) CalcModelParams();
    return true;
}

bool TBaseElement::SaveDeviceType(const std::string& type) {
    if (type.empty() || !DbSection) return false;
    TIniFile db(DatabaseWritePath(DbSection));
    for (int i = 0, n = ParamRowCount(RefParamDefs); i < n; ++i)
        if (const ParamValue* v = FindParam(RefParamDefs[i].Name))
            db.Write(type, RefParamDefs[i].Name, FormatValueText(*v));
    return db.Save();
}

bool TBaseElement::RemoveDeviceType(const std::string& type) {
    if (!DbSection) return false;
    TIniFile db(DatabaseWritePath(DbSection));
    db.DeleteSection(type);
    return db.Save();
}
