#include "DialogTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "gui/ElementParamsDialog.h"
#include "gui/ParameterEditorWidget.h"
#include "model/ClassRegistry.h"
#include "params/IniFile.h"

TBaseElement* DialogWorld::New(const std::string& className) {
    return CreateElementByName(sheet, className);
}

void DialogWorld::WriteDb(const std::string& file,
                          const std::vector<std::vector<std::string>>& entries) {
    TIniFile db(dbDir.File(file));
    for (const auto& e : entries)
        db.Write(e.at(0), e.at(1), e.at(2));
    db.Save();
}

bool ShowAndActivate(QWidget* dialog) {
    dialog->show();
    dialog->activateWindow();
    return QTest::qWaitForWindowActive(dialog);
}

QString Utf(const char* text) {
    return QString::fromUtf8(text);
}

void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QLineEdit* ValueBox(TElementParams& d, bool model, int row) {
    return (model ? d.ModelRows() : d.RefRows()).at(std::size_t(row))->ValueEdit();
}

QComboBox* UnitBox(TElementParams& d, bool model, int row) {
    return (model ? d.ModelRows() : d.RefRows()).at(std::size_t(row))->GainsBox();
}
