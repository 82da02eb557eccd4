#include "gui/ParamsDialogs.h"

#include "gui/ElementParamsDialog.h"
#include "model/TBaseElement.h"

bool ShowParamsDialog(TBaseElement& element, QWidget* parent) {
    if (!element.RefParamDefs) return false;
    TElementParams dialog(element, UserDecimalSeparator(), parent);
    return dialog.exec() == QDialog::Accepted;
}
