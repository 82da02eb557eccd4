// The element parameter dialog: its widgets, the keyboard focus and what
// reaches the element.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <memory>

#include "DialogTestSupport.h"
#include "gui/ElementParamsDialog.h"
#include "gui/ParameterEditorWidget.h"
#include "gui/ParamsDialogs.h"
#include "model/TBaseElement.h"
#include "params/IniFile.h"

namespace {

QPushButton* Button(QWidget& d, const char* name) {
    return d.findChild<QPushButton*>(name);
}

QTabWidget* Pages(QWidget& d) {
    return d.findChild<QTabWidget*>("Pages");
}

std::vector<std::string> Texts(const RecordingMessages& m) {
    return m.Texts();
}

// Check boxes and radio buttons take clicks only on their indicator and text,
// which a layout may leave narrower than the widget.
void ClickIndicator(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
}

} // namespace

class ElementParamsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<DialogWorld> w;

private slots:
    void init() { w = std::make_unique<DialogWorld>(); }
    void cleanup() { w.reset(); }

    void captionsPagesAndRowLayout() {
        TBaseElement* e = w->New("TTestPart");
        TElementParams d(*e, '.');
        QCOMPARE(d.windowTitle(), Utf("Параметры модели компонента"));
        QTabWidget* pages = Pages(d);
        QCOMPARE(pages->tabText(0), Utf("Справочные параметры"));
        QCOMPARE(pages->tabText(1), Utf("Математическая модель"));
        QVERIFY(pages->isTabVisible(0));
        QVERIFY(pages->isTabVisible(1));
        QCOMPARE(Button(d, "OkButton")->text(), Utf("&Принять"));
        QCOMPARE(Button(d, "CancelButton")->text(), Utf("&Отменить"));
        QVERIFY(Button(d, "OkButton")->isDefault());

        QCOMPARE(d.RefRows().size(), std::size_t(2));
        ParameterEditorWidget* a = d.RefRows()[0];
        QCOMPARE(a->pos(), QPoint(0, 4));
        QCOMPARE(d.RefRows()[1]->pos(), QPoint(0, 28));
        auto* label = a->findChild<QLabel*>("DescriptionLabel");
        QCOMPARE(label->text(), Utf("Величина:"));
        QVERIFY(label->alignment() & Qt::AlignRight);
        QCOMPARE(label->buddy(), a->ValueEdit());
        QCOMPARE(a->ValueEdit()->geometry(), QRect(272, 0, 89, 23));
        QCOMPARE(a->GainsBox()->geometry(), QRect(368, 0, 105, 23));
        QCOMPARE(a->ValueEdit()->text(), Utf("2"));
        QCOMPARE(a->GainsBox()->currentText(), Utf("В"));

        // The crystal type is a choice: only its unit box is shown.
        ParameterEditorWidget* kind = d.RefRows()[1];
        QVERIFY(kind->ValueEdit()->isHidden());
        QVERIFY(!kind->GainsBox()->isHidden());
        QCOMPARE(kind->GainsBox()->count(), 2);

        // Model rows without units have no unit box; the hidden row is absent.
        QCOMPARE(d.ModelRows().size(), std::size_t(2));
        QVERIFY(d.ModelRows()[0]->GainsBox()->isHidden());
        QCOMPARE(d.ModelRows()[0]->ValueEdit()->text(), Utf("4"));
        QVERIFY(!d.ModelRows()[0]->ValueEdit()->isEnabled());
        QVERIFY(d.findChild<QRadioButton*>("AutoCalc")->isChecked());
        QVERIFY(!d.findChild<QWidget*>("DataBasePanel")->isHidden());
        QVERIFY(!d.findChild<QWidget*>("MethodsPanel")->isHidden());
    }

    void panelsOfSimplerElements() {
        TBaseElement* pin = w->New("TTestTwoPin");
        TElementParams one(*pin, '.');
        QVERIFY(!Pages(one)->isTabVisible(1));
        QVERIFY(one.findChild<QWidget*>("DataBasePanel")->isHidden());

        TBaseElement* gauge = w->New("TTestGauge");
        TElementParams d(*gauge, ',');
        QVERIFY(d.findChild<QWidget*>("MethodsPanel")->isHidden());
        QVERIFY(Pages(d)->isTabVisible(1));
        // A single unit is shown but cannot be changed; no units, no box.
        QVERIFY(!d.RefRows()[0]->GainsBox()->isHidden());
        QVERIFY(!d.RefRows()[0]->GainsBox()->isEnabled());
        QCOMPARE(d.RefRows()[0]->GainsBox()->currentText(), Utf("К"));
        QVERIFY(d.RefRows()[1]->GainsBox()->isHidden());
        QCOMPARE(d.RefRows()[1]->ValueEdit()->text(), Utf("0,5"));
    }

    void lettersAreRefusedOnceAndTheFocusReturns() {
        TBaseElement* e = w->New("TTestPart");
        e->ManualRefs = true;
        TElementParams d(*e, ',');
        QVERIFY(ShowAndActivate(&d));
        QLineEdit* a = ValueBox(d, false, 0);
        a->setFocus();
        a->selectAll();
        QTest::keyClicks(a, "abc");
        QTest::mouseClick(Button(d, "OkButton"), Qt::LeftButton);
        QApplication::processEvents();
        QVERIFY(d.isVisible());
        QCOMPARE(Texts(w->messages), std::vector<std::string>{"Ошибка в параметре!\nПоле «Величина»: ожидается число вида 2,2 (В)"});
        QCOMPARE(QApplication::focusWidget(), a);
        QCOMPARE(e->ParamOf("A"), 2.0);

        a->selectAll();
        QTest::keyClicks(a, "3,5");
        QTest::keyClick(a, Qt::Key_Return);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(e->ParamOf("A"), 3.5);
        QCOMPARE(w->messages.Entries.size(), std::size_t(1));
    }

    void leavingABadValueBoxBringsTheFocusBack() {
        TBaseElement* e = w->New("TTestGauge");
        TElementParams d(*e, '.');
        QVERIFY(ShowAndActivate(&d));
        QLineEdit* t = ValueBox(d, false, 0);
        t->setFocus();
        t->selectAll();
        QTest::keyClicks(t, "3 00");
        QTest::keyClick(t, Qt::Key_Tab);
        QTRY_COMPARE(w->messages.Entries.size(), std::size_t(1));
        QCOMPARE(w->messages.Entries[0].Text, std::string("Ошибка в параметре!\nПоле «Температура»: ожидается число вида 2.2 (К)"));
        QTRY_COMPARE(QApplication::focusWidget(), t);
        QCOMPARE(e->ParamOf("T"), 300.0); // nothing stored on leaving

        // A good value leaves quietly.
        t->selectAll();
        QTest::keyClicks(t, "310");
        QTest::keyClick(t, Qt::Key_Tab);
        QApplication::processEvents();
        QCOMPARE(w->messages.Entries.size(), std::size_t(1));
        QVERIFY(QApplication::focusWidget() != t);
    }

    void twoBadBoxesDoNotPassTheFocusBackAndForth() {
        TBaseElement* e = w->New("TTestGauge");
        TElementParams d(*e, '.');
        QVERIFY(ShowAndActivate(&d));
        QLineEdit* t = ValueBox(d, false, 0);
        QLineEdit* k = ValueBox(d, false, 1);
        k->setFocus();
        QTest::keyClicks(k, "y");
        t->setFocus();
        t->selectAll();
        QTest::keyClicks(t, "x");
        QTest::mouseClick(k, Qt::LeftButton);
        QTRY_COMPARE(QApplication::focusWidget(), t);
        QTest::qWait(50);
        QCOMPARE(w->messages.Entries.size(), std::size_t(1));
        QCOMPARE(QApplication::focusWidget(), t);
    }

    void choosingAnotherUnitReadsTheNumberInIt() {
        TBaseElement* e = w->New("TTestPart");
        e->ManualRefs = true;
        e->FindParam("A")->Value = 1e-5;
        e->FindParam("A")->Unit = 0;
        TElementParams d(*e, '.');
        QVERIFY(ShowAndActivate(&d));
        QCOMPARE(ValueBox(d, false, 0)->text(), Utf("10"));
        QComboBox* unit = UnitBox(d, false, 0);
        unit->setFocus();
        QTest::keyClick(unit, Qt::Key_Down);
        QCOMPARE(unit->currentText(), Utf("мВ"));
        QCOMPARE(ValueBox(d, false, 0)->text(), Utf("10"));
        QTest::mouseClick(Button(d, "OkButton"), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(qAbs(e->ParamOf("A") - 0.01) < 1e-15);
        QCOMPARE(e->FindParam("A")->Unit, 1);
    }

    void manualEntrySwitchesTheDatabaseControls() {
        w->WriteDb("TestParts.edb", {{"Д9Б", "A", "0.5,1"}});
        TBaseElement* e = w->New("TTestPart");
        TElementParams d(*e, '.');
        QVERIFY(ShowAndActivate(&d));
        auto* types = d.findChild<QComboBox*>("TypeList");
        auto* manual = d.findChild<QCheckBox*>("ManualEntry");
        QCOMPARE(manual->text(), Utf("&Задать параметры вручную"));
        QVERIFY(!manual->isChecked());
        QVERIFY(!types->isEditable());
        QVERIFY(!Button(d, "AddButton")->isEnabled());
        QVERIFY(!Button(d, "RemoveButton")->isEnabled());
        QVERIFY(!ValueBox(d, false, 0)->isEnabled());
        QCOMPARE(QApplication::focusWidget(), types);

        ClickIndicator(manual);
        QVERIFY(manual->isChecked());
        QVERIFY(types->isEditable());
        QVERIFY(Button(d, "AddButton")->isEnabled());
        QVERIFY(Button(d, "RemoveButton")->isEnabled());
        QVERIFY(ValueBox(d, false, 0)->isEnabled());
        QVERIFY(UnitBox(d, false, 0)->isEnabled());
    }

    void pickingATypeShowsItsValues() {
        w->WriteDb("TestParts.edb", {{"Д9Б", "A", "0.5,1"}, {"Д9Б", "Kind", "0,1"}});
        TBaseElement* e = w->New("TTestPart");
        TElementParams d(*e, ',');
        QVERIFY(ShowAndActivate(&d));
        auto* types = d.findChild<QComboBox*>("TypeList");
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down);
        QCOMPARE(types->currentText(), Utf("Д9Б"));
        QCOMPARE(e->DeviceType, std::string("Д9Б"));
        QCOMPARE(ValueBox(d, false, 0)->text(), Utf("500"));
        QCOMPARE(UnitBox(d, false, 0)->currentText(), Utf("мВ"));
        QCOMPARE(UnitBox(d, false, 1)->currentText(), Utf("Ge"));
        QCOMPARE(e->ParamOf("Twice"), 1.0);
    }

    void addingAndRemovingThroughTheButtons() {
        TBaseElement* e = w->New("TTestPart");
        e->ManualRefs = true;
        TElementParams d(*e, '.');
        QVERIFY(ShowAndActivate(&d));
        auto* types = d.findChild<QComboBox*>("TypeList");
        QLineEdit* a = ValueBox(d, false, 0);
        a->setFocus();
        a->selectAll();
        QTest::keyClicks(a, "7");
        types->setFocus();
        TypeText(types->lineEdit(), Utf("КД-7"));
        QTest::mouseClick(Button(d, "AddButton"), Qt::LeftButton);
        QVERIFY(w->messages.Entries.empty());
        QCOMPARE(types->count(), 1);
        QCOMPARE(types->itemText(0), Utf("КД-7"));
        const std::string file = w->dbDir.File("TestParts.edb");
        QCOMPARE(TIniFile(file).Read("КД-7", "A", ""), std::string("7,2"));

        QTest::mouseClick(Button(d, "RemoveButton"), Qt::LeftButton);
        QVERIFY(w->messages.Entries.empty());
        QCOMPARE(types->count(), 0);
        QVERIFY(!TIniFile(file).HasSection("КД-7"));
        QTest::mouseClick(Button(d, "RemoveButton"), Qt::LeftButton);
        QCOMPARE(Texts(w->messages),
                 std::vector<std::string>{"В базе данных тип компонента КД-7 отсутствует!"});
    }

    void typedModelValuesSurviveAMethodChange() {
        TBaseElement* e = w->New("TTestPart");
        e->AutoModel = false;
        TElementParams d(*e, '.');
        QVERIFY(ShowAndActivate(&d));
        QVERIFY(!Pages(d)->isTabVisible(0));
        QCOMPARE(Pages(d)->currentIndex(), 1);
        auto* methods = d.findChild<QComboBox*>("MethodsList");
        QCOMPARE(QApplication::focusWidget(), methods);
        QLineEdit* twice = ValueBox(d, true, 0);
        twice->setFocus();
        twice->selectAll();
        QTest::keyClicks(twice, "8.5");
        methods->setFocus();
        QTest::keyClick(methods, Qt::Key_Down);
        QCOMPARE(methods->currentIndex(), 1);
        QCOMPARE(d.ModelRows().size(), std::size_t(2));
        QCOMPARE(ValueBox(d, true, 0)->text(), Utf("8.5"));
        QCOMPARE(d.ModelRows()[1]->findChild<QLabel*>("DescriptionLabel")->text(),
                 Utf("Только первый:"));
        QVERIFY(w->messages.Entries.empty());
    }

    void theModelModeButtonsShowAndHideTheReferencePage() {
        TBaseElement* e = w->New("TTestPart");
        e->ManualRefs = true;
        TElementParams d(*e, '.');
        QVERIFY(ShowAndActivate(&d));
        QLineEdit* a = ValueBox(d, false, 0);
        a->setFocus();
        a->selectAll();
        QTest::keyClicks(a, "5");
        Pages(d)->setCurrentIndex(1); // entering the page recalculates
        QCOMPARE(ValueBox(d, true, 0)->text(), Utf("10"));

        ClickIndicator(d.findChild<QRadioButton*>("RadioButton1"));
        QVERIFY(!Pages(d)->isTabVisible(0));
        QVERIFY(ValueBox(d, true, 0)->isEnabled());
        ClickIndicator(d.findChild<QRadioButton*>("AutoCalc"));
        QVERIFY(Pages(d)->isTabVisible(0));
        QVERIFY(!ValueBox(d, true, 0)->isEnabled());
        QVERIFY(d.findChild<QRadioButton*>("AutoCalc")->isChecked());
        QVERIFY(!d.findChild<QRadioButton*>("RadioButton1")->isChecked());
    }

    void cancellingSkipsTheFinalStep() {
        TBaseElement* e = w->New("TTestPart");
        e->ManualRefs = true;
        e->DeviceType = "old";
        TElementParams d(*e, '.');
        QVERIFY(ShowAndActivate(&d));
        auto* types = d.findChild<QComboBox*>("TypeList");
        types->lineEdit()->selectAll();
        QTest::keyClicks(types->lineEdit(), "new");
        QTest::mouseClick(Button(d, "CancelButton"), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(e->DeviceType, std::string("old"));
    }

    void theEntryPointRunsTheDialogModally() {
        TBaseElement* bare = w->New("TTestThreePin");
        QVERIFY(!ShowParamsDialog(*bare, nullptr));

        TBaseElement* e = w->New("TTestTwoPin");
        QTimer::singleShot(0, [] {
            QWidget* modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            QTest::mouseClick(modal->findChild<QPushButton*>("OkButton"), Qt::LeftButton);
        });
        QVERIFY(ShowParamsDialog(*e, nullptr));
        QVERIFY(e->ManualRefs);
    }
};

int RunElementParamsTests(int argc, char** argv) {
    ElementParamsTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "ElementParamsDialogTest.moc"
