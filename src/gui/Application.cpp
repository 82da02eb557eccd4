#include "gui/Application.h"

#include <exception>

#include "model/Messages.h"

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        Msg().Error(error.what(), ApplicationTitle);
    } catch (...) {
        Msg().Error("Неизвестная ошибка", ApplicationTitle);
    }
    return false;
}
