#include <gtest/gtest.h>

#include <string>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "elements/machines/TPovTr.h"
#include "elements/machines/TSelsinDat.h"
#include "elements/machines/TSelsinRes.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "support/CircuitBuilder.h"
#include "support/RecordingMessages.h"

namespace {

TEST(SelsynTables, RowsSectionsAndOutputs) {
    Schematic sheet;
    const struct {
        const char* cls;
        const char* section;
    } classes[] = {{"TSelsinDat", "SelsinDats"},
                   {"TSelsinResTrans", "SelsinResTranss"},
                   {"TSelsinRes", "SelsinRess"},
                   {"TPovTr", "PovTRs"}};
    for (const auto& c : classes) {
        TBaseElement* e = CreateElementByName(sheet, c.cls);
        ASSERT_NE(e, nullptr) << c.cls;
        EXPECT_STREQ(e->DbSection, c.section);
    }
    TBaseElement* rx = CreateElementByName(sheet, "TSelsinRes");
    const char* outputs[] = {"w,рад/с ",    "n,об/мин",   "n,об/с",   "М вращ.,H м  ",
                             "M сопр.,Н м", "М дин.,Н м", "Угол рад."};
    const UnitDef* out = rx->FindParam("vv")->Def->Units;
    ASSERT_EQ(UnitCount(out), 7);
    for (int k = 0; k < 7; ++k)
        EXPECT_STREQ(out[k].Text, outputs[k]);
    EXPECT_EQ(rx->ParamOf("Jd"), 5e-05);
    ASSERT_EQ(MethodCount(rx->ModelMethods), 6);
    TBaseElement* tx = CreateElementByName(sheet, "TSelsinDat");
    const struct {
        const char* name;
        const char* description;
        double value;
    } rows[] = {{"Rc", "Сопротивление обмотки статора", 1},
                {"Lc", "Индуктивность обмотки статора", 0.002},
                {"Rp", "Сопротивление обмоток ротора", 20},
                {"Lp", "Индуктивность обмоток ротора", 0.004},
                {"M", "Макс. взаимная индукт.", 0.0015}};
    for (TBaseElement* e : {tx, rx})
        for (const auto& r : rows) {
            const ParamValue* v = e->FindParam(r.name);
            ASSERT_NE(v, nullptr) << r.name;
            EXPECT_STREQ(v->Def->Description, r.description);
            EXPECT_EQ(v->Value, r.value);
        }
    TBaseElement* rt = CreateElementByName(sheet, "TPovTr");
    ASSERT_EQ(MethodCount(rt->ModelMethods), 1);
    EXPECT_STREQ(rt->ModelMethods[0], "Модель постоянного параметра");
    for (const char* name : {"Ra", "La", "Rb", "Lb", "Rl", "Ll", "Rv", "Lv", "M"})
        EXPECT_NE(rt->FindParam(name), nullptr) << name;
    EXPECT_EQ(rt->ParamOf("M"), 0.0009);
}

// Each class refuses, before the run, the values its step divides by.
TEST(SelsynRun, RefusesValuesThatDivideByZero) {
    const struct {
        const char* cls;
        const char* label;
        std::vector<const char*> names;
    } cases[] = {{"TSelsinDat", "SelsinDat", {"Rc", "Lc", "Rp", "Lp", "M"}},
                 {"TSelsinResTrans", "SelsinResTrans", {"Rc", "Lc", "Rp", "Lp", "M"}},
                 {"TSelsinRes", "SelsinRes", {"Jd", "Rc", "Lc", "Rp", "Lp", "M"}},
                 {"TPovTr", "PovTr", {"Ra", "La", "Rb", "Lb", "Rl", "Ll", "Rv", "Lv", "M"}}};
    for (const auto& c : cases)
        for (const char* name : c.names) {
            Schematic sheet;
            CircuitBuilder b(sheet);
            TBaseElement* e = b.Add(c.cls, 100, 100);
            CircuitBuilder::Set(e, name, 0);
            e->AutoModel = false;
            RecordingMessages messages;
            TRunContext context(sheet, "");
            EXPECT_FALSE(PrepareRun(context)) << c.cls << " " << name;
            ASSERT_EQ(messages.Entries.size(), 1u) << c.cls << " " << name;
            EXPECT_EQ(messages.Entries[0].Text, "Компонент " + std::string(c.label) +
                                                    " №0: параметр " + name +
                                                    " должен быть больше нуля.");
        }
}

} // namespace
