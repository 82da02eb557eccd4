#include "app/SchematicInfo.h"

#include <algorithm>

#include "Simulation/SimModel.h"
#include "app/Json.h"
#include "model/ClassRegistry.h"
#include "model/Messages.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TInfoConnector.h"

std::string ElementFamily(const std::string& className) {
    for (const std::string& name : ClassChain(className))
        if (name == "TProducer" || name == "TStatic" || name == "TDynamic" || name == "TConsumer")
            return name;
    return "TBaseElement";
}

namespace {

void ParamRows(TJsonWriter& j, const ParamDef* table, bool model) {
    j.BeginArray();
    for (int i = 0, n = ParamRowCount(table); i < n; ++i) {
        const ParamDef& d = table[i];
        j.BeginObject();
        j.Key("name");
        j.String(d.Name);
        j.Key("description");
        j.String(d.Description ? d.Description : "");
        j.Key("default");
        j.Number(d.DefaultValue);
        j.Key("defaultUnit");
        j.Integer(d.DefaultUnit);
        j.Key("units");
        j.BeginArray();
        for (int u = 0, nu = UnitCount(d.Units); u < nu; ++u) j.String(d.Units[u].Text);
        j.EndArray();
        if (model) {
            j.Key("methodMask");
            j.Integer(d.MethodMask);
        }
        j.EndObject();
    }
    j.EndArray();
}

const char* PinKind(const TControl* c) {
    if (dynamic_cast<const TConnector*>(c)) return "E";
    if (dynamic_cast<const TInfoInput*>(c)) return "I";
    if (dynamic_cast<const TInfoOutput*>(c)) return "O";
    return nullptr;
}

} // namespace

std::string DescribeClassesJson() {
    // Instances are made on a scratch sheet to read their forms; nothing of
    // them is shown.
    Schematic scratch;
    TJsonWriter j;
    j.BeginArray();
    for (const TElementClass* cls : AllElementClasses()) {
        if (!cls->Create) continue;
        TBaseElement* e = CreateElementByName(scratch, cls->Name);
        j.BeginObject();
        j.Key("name");
        j.String(e->Name());
        j.Key("class");
        j.String(cls->Name);
        j.Key("parent");
        j.String(cls->Parent);
        j.Key("family");
        j.String(ElementFamily(cls->Name));
        j.Key("pins");
        j.BeginArray();
        for (const auto& child : e->Children()) {
            const char* kind = PinKind(child.get());
            if (!kind) continue;
            j.BeginObject();
            j.Key("kind");
            j.String(kind);
            j.Key("name");
            j.String(child->Name);
            j.Key("left");
            j.Integer(child->Left);
            j.Key("top");
            j.Integer(child->Top);
            j.EndObject();
        }
        j.EndArray();
        j.Key("params");
        ParamRows(j, e->RefParamDefs, false);
        j.Key("modelParams");
        if (e->ModelParamDefs) ParamRows(j, e->ModelParamDefs, true);
        else j.Null();
        j.Key("modelMethods");
        if (e->ModelMethods) {
            j.BeginArray();
            for (int m = 0, n = MethodCount(e->ModelMethods); m < n; ++m) j.String(e->ModelMethods[m]);
            j.EndArray();
        } else {
            j.Null();
        }
        j.Key("database");
        if (e->DbSection) j.String(e->DbSection);
        else j.Null();
        j.EndObject();
        scratch.FreeElement(e);
    }
    j.EndArray();
    return j.Text();
}

std::string DescribeSchematicJson(const Schematic& sheet) {
    const TRunSettings& m = sheet.RunSettings;
    TJsonWriter j;
    j.BeginObject();
    j.Key("settings");
    j.BeginObject();
    const std::pair<const char*, double> settings[] = {{"T", m.T}, {"h", m.h}, {"pr", m.pr}, {"TNC", m.TNC}, {"GS", m.GS}};
    for (const auto& [key, value] : settings) {
        j.Key(key);
        j.Number(value);
    }
    j.EndObject();
    j.Key("segments");
    j.Integer(sheet.Lines.Count());
    j.Key("nodes");
    j.Integer(sheet.Nodes.Count());
    j.Key("elements");
    j.BeginArray();
    for (int index = 0; index < sheet.Elements.Count(); ++index) {
        const TBaseElement* e = sheet.Elements[index];
        j.BeginObject();
        j.Key("index");
        j.Integer(index);
        j.Key("name");
        j.String(e->Name());
        j.Key("class");
        j.String(e->ClassName());
        j.Key("left");
        j.Integer(e->Left);
        j.Key("top");
        j.Integer(e->Top);
        j.Key("angle");
        j.Integer(e->FAngle);
        j.Key("xflip");
        j.Bool(e->GetXFlip());
        j.Key("yflip");
        j.Bool(e->GetYFlip());
        j.Key("pins");
        j.BeginArray();
        for (const TConnector* c : e->FConnectors) {
            j.BeginObject();
            j.Key("name");
            j.String(c->Name);
            j.Key("node");
            j.Integer(c->GetNodeID());
            j.EndObject();
        }
        j.EndArray();
        j.Key("inputs");
        j.BeginArray();
        for (const TInfoInput* in : e->FInputs) {
            j.BeginObject();
            j.Key("name");
            j.String(in->Name);
            j.Key("source");
            const TInfoOutput* src = in->GetSource();
            const TBaseElement* owner = src ? src->Parent() : nullptr;
            if (owner) {
                const auto& outs = owner->FOutputs;
                j.BeginObject();
                j.Key("element");
                j.Integer(sheet.Elements.IndexOf(owner));
                j.Key("output");
                j.Integer(std::find(outs.begin(), outs.end(), src) - outs.begin());
                j.EndObject();
            } else {
                j.Null();
            }
            j.EndObject();
        }
        j.EndArray();
        j.Key("outputs");
        j.BeginArray();
        for (const TInfoOutput* o : e->FOutputs) j.String(o->Name);
        j.EndArray();
        j.Key("params");
        j.BeginObject();
        for (const ParamValue& v : e->ParamValues) {
            j.Key(v.Def->Name);
            j.BeginObject();
            j.Key("value");
            j.Number(v.Value);
            j.Key("unit");
            j.Integer(v.Unit);
            j.EndObject();
        }
        j.EndObject();
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    return j.Text();
}
