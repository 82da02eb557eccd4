// The transfer-function dialog: its rows, first focus, a refused denominator
// and the way from the editor's right click to the block.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "DialogTestSupport.h"
#include "blocks/TTransferFunction.h"
#include "gui/ParamsDialogs.h"
#include "gui/TFParamsDialog.h"

namespace {

void Retype(QLineEdit* edit, const char* text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

} // namespace

class TransferFunctionDialogTest : public QObject {
    Q_OBJECT
    std::unique_ptr<DialogWorld> w;

    TTransferFunction* NewBlock() {
        return static_cast<TTransferFunction*>(w->New("TTransferFunction"));
    }

private slots:
    void init() { w = std::make_unique<DialogWorld>(); }
    void cleanup() { w.reset(); }

    void rowsShowTheBlockAndTheFactorHasTheFocus() {
        TTransferFunction* tf = NewBlock();
        tf->Den = {1, 3, 2};
        TTFParams d(*tf);
        QCOMPARE(d.windowTitle(), Utf("Параметры передаточной функции"));
        QVERIFY(ShowAndActivate(&d));
        QCOMPARE(QApplication::focusWidget(), d.FactorEdit());
        const std::pair<QLineEdit*, const char*> rows[] = {{d.FactorEdit(), "&Коэффициент:"},
                                                           {d.NumeratorEdit(), "&Числитель:"},
                                                           {d.DenumeratorEdit(), "&Знаменатель:"},
                                                           {d.ICEdit(), "&Начальные значения:"}};
        for (const auto& [edit, caption] : rows) {
            bool found = false;
            for (QLabel* label : d.findChildren<QLabel*>())
                if (label->buddy() == edit) found = label->text() == Utf(caption);
            QVERIFY2(found, caption);
        }
        QCOMPARE(d.FactorEdit()->text(), Utf("1"));
        QCOMPARE(d.DenumeratorEdit()->text(), Utf("1 3 2"));
        QCOMPARE(d.ICEdit()->text(), QString());
        QCOMPARE(d.findChild<QPushButton*>("OkButton")->text(), Utf("&Принять"));
        QCOMPARE(d.findChild<QPushButton*>("CancelButton")->text(), Utf("&Отменить"));
    }

    void acceptingStoresTheNormalisedValues() {
        TTransferFunction* tf = NewBlock();
        TTFParams d(*tf);
        QVERIFY(ShowAndActivate(&d));
        Retype(d.FactorEdit(), "4");
        Retype(d.NumeratorEdit(), "1 2 3");
        Retype(d.DenumeratorEdit(), "0 1  1");
        Retype(d.ICEdit(), "5 6 7");
        QTest::keyClick(d.ICEdit(), Qt::Key_Return);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(tf->K, 4.0);
        QCOMPARE(tf->Num, (std::vector<double>{2, 3}));
        QCOMPARE(tf->Den, (std::vector<double>{1, 1}));
        QCOMPARE(tf->IC, (std::vector<double>{5, 6}));
        QVERIFY(w->messages.Entries.empty());
    }

    void aZeroDenominatorKeepsTheDialogOpen() {
        TTransferFunction* tf = NewBlock();
        TTFParams d(*tf);
        QVERIFY(ShowAndActivate(&d));
        Retype(d.FactorEdit(), "3");
        Retype(d.DenumeratorEdit(), "0 0");
        QTest::mouseClick(d.findChild<QPushButton*>("OkButton"), Qt::LeftButton);
        QVERIFY(d.isVisible());
        QCOMPARE(w->messages.Entries.size(), std::size_t(1));
        QVERIFY(w->messages.Entries[0].Text.find("TransferFunction") != std::string::npos);
        QCOMPARE(QApplication::focusWidget(), d.DenumeratorEdit());
        QCOMPARE(tf->K, 1.0);
        QCOMPARE(tf->Den, (std::vector<double>{1, 1}));

        // Cancelling then leaves the block as it was.
        QTest::mouseClick(d.findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(tf->K, 1.0);
    }

    void theBlocksRightClickOpensThisDialog() {
        TTransferFunction* tf = NewBlock();
        QTimer::singleShot(0, [] {
            auto* d = qobject_cast<TTFParams*>(QApplication::activeModalWidget());
            QVERIFY(d);
            d->NumeratorEdit()->setText("2");
            d->accept();
        });
        QVERIFY(ShowParamsDialog(*tf, nullptr));
        QCOMPARE(tf->Num, std::vector<double>{2});
    }
};

int RunTransferFunctionDialogTests(int argc, char** argv) {
    TransferFunctionDialogTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "TransferFunctionDialogTest.moc"
