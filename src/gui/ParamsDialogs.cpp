#include "gui/ParamsDialogs.h"

#include "blocks/TTransferFunction.h"
#include "gui/ElementParamsDialog.h"
#include "gui/TFParamsDialog.h"
#include "model/TBaseElement.h"

bool ShowParamsDialog(TBaseElement& element, QWidget* parent) {
    if (auto* block = dynamic_cast<TTransferFunction*>(&element)) {
        TTFParams dialog(*block, parent);
        return dialog.exec() == QDialog::Accepted;
    }
    if (!element.RefParamDefs) return false;
    TElementParams dialog(element, UserDecimalSeparator(), parent);
    return dialog.exec() == QDialog::Accepted;
}
