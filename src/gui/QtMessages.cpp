#include "gui/QtMessages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

namespace {

bool OnGuiThread() {
    return qApp && QThread::currentThread() == qApp->thread();
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

void QtMessages::Error(const std::string& text, const std::string& caption) {
    if (!OnGuiThread()) return fallback_.Error(text, caption);
    QMessageBox::critical(parent_, Q(caption), Q(text));
}

void QtMessages::Warning(const std::string& text, const std::string& caption) {
    if (!OnGuiThread()) return fallback_.Warning(text, caption);
    QMessageBox::warning(parent_, Q(caption), Q(text));
}

void QtMessages::Information(const std::string& text, const std::string& caption) {
    if (!OnGuiThread()) return fallback_.Information(text, caption);
    QMessageBox::information(parent_, Q(caption), Q(text));
}

TAnswer QtMessages::Question(const std::string& text, const std::string& caption, bool cancel) {
    if (!OnGuiThread()) return fallback_.Question(text, caption, cancel);
    QMessageBox box(QMessageBox::Question, Q(caption), Q(text), QMessageBox::Yes | QMessageBox::No,
                    parent_);
    // The interface speaks Russian whatever translations are installed.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Нет"));
    if (cancel) box.addButton(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(cancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return TAnswer::Yes;
    case QMessageBox::No:
        return TAnswer::No;
    default:
        return cancel ? TAnswer::Cancel : TAnswer::No;
    }
}

void QtMessages::Problems(const std::vector<TMessage>& problems) {
    if (!OnGuiThread() || problems.empty()) return fallback_.Problems(problems);
    if (problems.size() == 1) return Messages::Problems(problems);
    constexpr std::size_t Shown = 10;
    QString text = QStringLiteral("При чтении файла найдено ошибок: %1.").arg(problems.size());
    QString all;
    bool error = false;
    for (std::size_t k = 0; k < problems.size(); ++k) {
        error = error || problems[k].Kind == TMessage::TKind::Error;
        if (k < Shown) text += "\n" + Q(problems[k].Text);
        all += Q(problems[k].Text) + "\n";
    }
    if (problems.size() > Shown) text += QStringLiteral("\n…");
    QMessageBox box(error ? QMessageBox::Critical : QMessageBox::Warning, Q(ApplicationTitle), text,
                    QMessageBox::Ok, parent_);
    box.setDetailedText(all);
    box.exec();
}
