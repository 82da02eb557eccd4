// Pages, rows, methods and closing of the parameter dialog's logic.
#include <cmath>

#include "ParamsDialogFixture.h"

namespace {

using Target = TParamsFocus::Target;

TEST_F(ParamsDialog, ElementWithoutDatabaseOrModelHasOnePageAndIsTakenAsHandEntered) {
    TBaseElement* e = CreateElementByName(sheet, "TTestTwoPin");
    TElementParamsController c(*e, ',');
    EXPECT_FALSE(c.DataBasePanelVisible);
    EXPECT_FALSE(c.ModelPageVisible);
    EXPECT_FALSE(c.MethodsPanelVisible);
    EXPECT_TRUE(c.RefPageVisible);
    ASSERT_EQ(c.RefEditors.size(), 1u);
    const TParameterEditor& r = *c.RefEditors[0];
    EXPECT_EQ(r.Label(), "Сопротивление:");
    EXPECT_EQ(r.Text, "1"); // 1000 Ом shown in кОм
    EXPECT_EQ(r.UnitSelection, 1);
    EXPECT_EQ(r.UnitTexts, (std::vector<std::string>{"Ом", "кОм", "МОм", "ГОм"}));

    c.FormShow();
    EXPECT_EQ(c.Focus.What, Target::ValueBox);
    EXPECT_EQ(c.Focus.Row, &r);

    ASSERT_TRUE(c.FormCloseQuery());
    EXPECT_TRUE(e->ManualRefs);
    EXPECT_TRUE(e->DeviceType.empty());
    EXPECT_FALSE(e->AutoModel);
    EXPECT_EQ(e->MethodIndex, -1);
    EXPECT_DOUBLE_EQ(e->ParamOf("R"), 1000);
    EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(ParamsDialog, ModelRowsFollowTheirMethodMasks) {
    TTestPart* e = NewPart();
    TElementParamsController c(*e, '.');
    ASSERT_TRUE(c.ModelPageVisible);
    EXPECT_EQ(c.MethodItems, (std::vector<std::string>{"Метод 0", "Метод 1"}));
    EXPECT_EQ(c.MethodSelection, 0);
    EXPECT_EQ(Names(c.ModelEditors), (std::vector<std::string>{"Twice", "Zero"}));

    const int generation = c.ModelEditorsGeneration;
    c.MethodPicked(1);
    EXPECT_GT(c.ModelEditorsGeneration, generation);
    EXPECT_EQ(Names(c.ModelEditors), (std::vector<std::string>{"Twice", "One"}));
    // With "AutoCalc" the new method takes effect at once: A = 2 V, three times.
    EXPECT_EQ(e->MethodIndex, 1);
    EXPECT_DOUBLE_EQ(e->ParamOf("Twice"), 6);
    EXPECT_EQ(Row(c.ModelEditors, "Twice")->Text, "6");

    c.MethodPicked(0);
    EXPECT_EQ(Names(c.ModelEditors), (std::vector<std::string>{"Twice", "Zero"}));
    EXPECT_DOUBLE_EQ(e->ParamOf("Twice"), 4);
    // The masked-out row still exists for the model code.
    EXPECT_DOUBLE_EQ(e->ParamOf("Hidden"), 7);
}

TEST_F(ParamsDialog, HandTypedModelValuesSurviveAMethodChange) {
    TTestPart* e = NewPart();
    e->AutoModel = false;
    TElementParamsController c(*e, ',');
    EXPECT_FALSE(c.AutoCalcSelected);
    EXPECT_FALSE(c.RefPageVisible);
    EXPECT_TRUE(Row(c.ModelEditors, "Twice")->ValueEnabled);
    Row(c.ModelEditors, "Twice")->Text = "8,5";
    Row(c.ModelEditors, "Zero")->Text = "-3";

    c.MethodPicked(1);
    EXPECT_EQ(Names(c.ModelEditors), (std::vector<std::string>{"Twice", "One"}));
    EXPECT_EQ(Row(c.ModelEditors, "Twice")->Text, "8,5");
    EXPECT_DOUBLE_EQ(e->ParamOf("Zero"), -3); // applied before its row went away
    Row(c.ModelEditors, "One")->Text = "0,25";
    // Nothing is calculated while the values are typed.
    EXPECT_EQ(e->MethodIndex, 0);

    ASSERT_TRUE(c.FormCloseQuery());
    EXPECT_FALSE(e->AutoModel);
    EXPECT_EQ(e->MethodIndex, 1);
    EXPECT_DOUBLE_EQ(e->ParamOf("Twice"), 8.5);
    EXPECT_DOUBLE_EQ(e->ParamOf("One"), 0.25);
    EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(ParamsDialog, SwitchingBetweenCalculatedAndTypedModelValues) {
    TTestPart* e = NewPart();
    e->ManualRefs = true;
    TElementParamsController c(*e, '.');
    c.FormShow();
    EXPECT_EQ(c.ActivePage, TParamsPage::Reference);
    EXPECT_EQ(c.Focus.What, Target::TypeList);
    for (const auto& r : c.ModelEditors)
        EXPECT_FALSE(r->ValueEnabled);

    c.SetAutoCalc(false);
    EXPECT_FALSE(c.RefPageVisible);
    EXPECT_EQ(c.ActivePage, TParamsPage::Model);
    for (const auto& r : c.ModelEditors)
        EXPECT_TRUE(r->ValueEnabled);
    Row(c.ModelEditors, "Twice")->Text = "100";

    // Back to calculated values: the typed one is replaced by 2 * A.
    Row(c.RefEditors, "A")->Text = "1.5";
    c.SetAutoCalc(true);
    EXPECT_TRUE(c.RefPageVisible);
    EXPECT_DOUBLE_EQ(e->ParamOf("A"), 1.5);
    EXPECT_DOUBLE_EQ(e->ParamOf("Twice"), 3);
    EXPECT_EQ(Row(c.ModelEditors, "Twice")->Text, "3");
    for (const auto& r : c.ModelEditors)
        EXPECT_FALSE(r->ValueEnabled);
}

TEST_F(ParamsDialog, EnteringTheModelPageRecalculatesFromTheEditedReferences) {
    TTestPart* e = NewPart();
    e->ManualRefs = true;
    TElementParamsController c(*e, '.');
    Row(c.RefEditors, "A")->Text = "5";
    c.ActivePage = TParamsPage::Model;
    c.CalcSheetEnter();
    EXPECT_DOUBLE_EQ(e->ParamOf("Twice"), 10);
    EXPECT_EQ(Row(c.ModelEditors, "Twice")->Text, "10");

    // A reference that does not apply stops the recalculation.
    Row(c.RefEditors, "A")->Text = "5x";
    c.CalcSheetEnter();
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Ошибка в параметре!\nПоле «Величина»: ожидается число вида 2.2 (В)"}));
    EXPECT_DOUBLE_EQ(e->ParamOf("Twice"), 10);
    EXPECT_EQ(c.ActivePage, TParamsPage::Reference);
    EXPECT_EQ(c.Focus.Row, Row(c.RefEditors, "A"));
}

TEST_F(ParamsDialog, HandEnteredModelOpensOnTheModelPage) {
    TTestPart* e = NewPart();
    e->AutoModel = false;
    TElementParamsController c(*e, '.');
    c.FormShow();
    EXPECT_EQ(c.ActivePage, TParamsPage::Model);
    EXPECT_EQ(c.Focus.What, Target::MethodsList);
    EXPECT_FALSE(c.RefPageVisible);
}

TEST_F(ParamsDialog, EnumeratedRowShowsOnlyItsChoiceAndStoresTheIndex) {
    TTestPart* e = NewPart();
    e->ManualRefs = true;
    e->FindParam("Kind")->Value = 0.75;
    TElementParamsController c(*e, '.');
    TParameterEditor* kind = Row(c.RefEditors, "Kind");
    EXPECT_FALSE(kind->ValueVisible);
    EXPECT_TRUE(kind->UnitVisible);
    EXPECT_TRUE(kind->UnitEnabled);
    EXPECT_EQ(kind->UnitTexts, (std::vector<std::string>{"Si", "Ge"}));
    EXPECT_EQ(kind->UnitSelection, 0);
    kind->Text = "garbage that is never read";
    kind->UnitSelection = 1;
    ASSERT_TRUE(c.FormCloseQuery());
    EXPECT_EQ(e->FindParam("Kind")->Unit, 1);
    EXPECT_DOUBLE_EQ(e->FindParam("Kind")->Value, 0.75);
    EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(ParamsDialog, LettersInAValueBoxAreRefusedOnceAndKeepTheDialogOpen) {
    TTestPart* e = NewPart();
    e->ManualRefs = true;
    e->DeviceType = "old";
    TElementParamsController c(*e, ',');
    TParameterEditor* a = Row(c.RefEditors, "A");
    a->Text = "два";
    c.TypeTextEdited("new");
    EXPECT_FALSE(c.FormCloseQuery());
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Kind, "error");
    EXPECT_EQ(messages.Entries[0].Text, "Ошибка в параметре!\nПоле «Величина»: ожидается число вида 2,2 (В)");
    EXPECT_EQ(c.Focus.What, Target::ValueBox);
    EXPECT_EQ(c.Focus.Row, a);
    EXPECT_DOUBLE_EQ(e->ParamOf("A"), 2);
    EXPECT_EQ(e->DeviceType, "old"); // the final step did not run

    a->Text = "2,5";
    EXPECT_TRUE(c.FormCloseQuery());
    EXPECT_DOUBLE_EQ(e->ParamOf("A"), 2.5);
    EXPECT_EQ(e->DeviceType, "new");
    EXPECT_EQ(messages.Entries.size(), 1u);
}

TEST_F(ParamsDialog, LeavingAValueBoxChecksWithoutStoring) {
    TTestPart* e = NewPart();
    e->ManualRefs = true;
    TElementParamsController c(*e, ',');
    TParameterEditor* a = Row(c.RefEditors, "A");
    a->Text = "3,5";
    EXPECT_TRUE(c.LeaveValueBox(*a));
    EXPECT_DOUBLE_EQ(e->ParamOf("A"), 2);
    a->Text = "3.5"; // the file's form is not the user's here
    EXPECT_FALSE(c.LeaveValueBox(*a));
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Ошибка в параметре!\nПоле «Величина»: ожидается число вида 2,2 (В)"}));
    EXPECT_EQ(c.Focus.Row, a);
    // The enumerated row has no value box to check.
    EXPECT_TRUE(c.LeaveValueBox(*Row(c.RefEditors, "Kind")));
}

TEST_F(ParamsDialog, AnEmptyTypedModelValueKeepsTheDialogOpen) {
    TTestPart* e = NewPart();
    e->AutoModel = false;
    e->DeviceType = "gone"; // not in the database: accepting would clear it
    TElementParamsController c(*e, '.');
    Row(c.ModelEditors, "Zero")->Text = "";
    EXPECT_FALSE(c.FormCloseQuery());
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Ошибка в параметре!\nПоле «Только нулевой»: ожидается число вида 2.2"}));
    EXPECT_EQ(c.Focus.Row, Row(c.ModelEditors, "Zero"));
    EXPECT_DOUBLE_EQ(e->ParamOf("Zero"), 5);
    EXPECT_EQ(e->DeviceType, "gone");
}

TEST_F(ParamsDialog, UnitChangeReadsTheShownNumberInTheNewUnit) {
    TTestPart* e = NewPart();
    e->ManualRefs = true;
    ParamValue* a = e->FindParam("A");
    a->Value = 1e-5;
    a->Unit = 0;
    TElementParamsController c(*e, '.');
    TParameterEditor* row = Row(c.RefEditors, "A");
    EXPECT_EQ(row->Text, "10"); // 1e-5 V in "мкВ"
    row->UnitSelection = 1;     // "мВ"
    EXPECT_EQ(row->Text, "10");
    ASSERT_TRUE(c.FormCloseQuery());
    EXPECT_NEAR(a->Value, 0.01, 1e-15);
    EXPECT_EQ(a->Unit, 1);
}

TEST_F(ParamsDialog, UntouchedRowsKeepTheirExactValues) {
    TTestPart* e = NewPart();
    e->ManualRefs = true;
    e->FindParam("A")->Value = 1.0 / 3.0;
    e->FindParam("A")->Unit = 1; // shown in "мВ" as 333.333333333333
    TElementParamsController c(*e, '.');
    EXPECT_EQ(Row(c.RefEditors, "A")->Text, "333.333333333333");
    ASSERT_TRUE(c.FormCloseQuery());
    EXPECT_EQ(e->ParamOf("A"), 1.0 / 3.0);
}

TEST_F(ParamsDialog, AcceptingRecalculatesFromTheReferencesJustTyped) {
    TTestPart* e = NewPart();
    e->ManualRefs = true;
    TElementParamsController c(*e, '.');
    EXPECT_EQ(Row(c.ModelEditors, "Twice")->Text, "4");
    Row(c.RefEditors, "A")->Text = "7";
    ASSERT_TRUE(c.FormCloseQuery());
    EXPECT_DOUBLE_EQ(e->ParamOf("Twice"), 14); // not the 4 still shown on the model page
    EXPECT_TRUE(e->AutoModel);
    EXPECT_EQ(e->MethodIndex, 0);
}

TEST_F(ParamsDialog, AFailedCalculationKeepsTheDialogOpenWithoutAMessage) {
    TTestPart* e = NewPart();
    e->ManualRefs = true;
    TElementParamsController c(*e, '.');
    Row(c.RefEditors, "A")->Text = "-1";
    EXPECT_FALSE(c.FormCloseQuery());
    EXPECT_TRUE(messages.Entries.empty());
    EXPECT_DOUBLE_EQ(e->ParamOf("A"), -1); // applied values stay applied
    EXPECT_TRUE(e->AutoModel);
    EXPECT_TRUE(e->DeviceType.empty());
}

} // namespace

namespace {

TEST_F(ParamsDialog, SingleUnitRowsStayFixedAndRowsWithoutUnitsHaveNoUnitBox) {
    TBaseElement* e = CreateElementByName(sheet, "TTestGauge");
    TElementParamsController c(*e, ',');
    TParameterEditor* t = Row(c.RefEditors, "T");
    TParameterEditor* k = Row(c.RefEditors, "k");
    EXPECT_TRUE(t->UnitVisible);
    EXPECT_FALSE(t->UnitEnabled);
    EXPECT_EQ(t->UnitTexts, (std::vector<std::string>{"К"}));
    EXPECT_FALSE(k->UnitVisible);
    EXPECT_EQ(k->Text, "0,5");
    t->SetEditable(false);
    t->SetEditable(true);
    EXPECT_FALSE(t->UnitEnabled);
    EXPECT_TRUE(t->ValueEnabled);
}

TEST_F(ParamsDialog, ModelRowsWithoutMethodsAreTheOnesOfEveryMethod) {
    TBaseElement* e = CreateElementByName(sheet, "TTestGauge");
    TElementParamsController c(*e, '.');
    EXPECT_TRUE(c.ModelPageVisible);
    EXPECT_FALSE(c.MethodsPanelVisible);
    EXPECT_FALSE(c.DataBasePanelVisible);
    EXPECT_EQ(Names(c.ModelEditors), (std::vector<std::string>{"Kelvin"}));
    EXPECT_EQ(Row(c.ModelEditors, "Kelvin")->Text, "150");
    Row(c.RefEditors, "k")->Text = "2";
    ASSERT_TRUE(c.FormCloseQuery());
    EXPECT_DOUBLE_EQ(e->ParamOf("Kelvin"), 600);
    EXPECT_EQ(e->MethodIndex, -1);
    EXPECT_TRUE(e->AutoModel);
    EXPECT_TRUE(e->ManualRefs);
}

} // namespace

namespace {

TEST_F(ParamsDialog, DiodeReverseCurrentChangesUnitAsTheTablesSay) {
    TBaseElement* diode = CreateElementByName(sheet, "TDiode");
    diode->ManualRefs = true;
    TElementParamsController c(*diode, ',');
    TParameterEditor* reverse = Row(c.RefEditors, "Iобр");
    EXPECT_EQ(reverse->Text, "10");
    EXPECT_EQ(reverse->UnitTexts.at(std::size_t(reverse->UnitSelection)), "мкА");
    reverse->UnitSelection = 1; // "мА"
    ASSERT_TRUE(c.FormCloseQuery());
    EXPECT_NEAR(diode->ParamOf("Iобр"), 0.01, 1e-15);
    EXPECT_EQ(diode->FindParam("Iобр")->Unit, 1);
}

TEST_F(ParamsDialog, DiodeModelPageShowsTheRowsOfEachOfferedMethod) {
    TBaseElement* diode = CreateElementByName(sheet, "TDiode");
    TElementParamsController c(*diode, '.');
    EXPECT_EQ(c.MethodItems, (std::vector<std::string>{"Кусочно-линейный безинерционный",
                                                       "Экспоненциальный безинерционный"}));
    EXPECT_EQ(Names(c.ModelEditors),
              (std::vector<std::string>{"Upr_c", "Iprr", "Uo", "Io", "Uобр_c", "Iобр_c"}));
    c.MethodPicked(1);
    EXPECT_EQ(Names(c.ModelEditors),
              (std::vector<std::string>{"Upr_c", "isr", "m", "Tpn_c", "Uобр_c", "Iобр_c"}));
    EXPECT_EQ(diode->MethodIndex, 1);
}

} // namespace
