#pragma once

#include <QApplication>

// The editor's application object: an exception that escapes an event
// handler is shown in a message box and the program goes on.
class TApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};
