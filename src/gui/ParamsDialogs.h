#pragma once

class QWidget;
class TBaseElement;

// The parameter dialog of an element, shown modally: the transfer function's
// own dialog for a transfer function, the common one for any element with
// reference parameters, nothing for the others. True when the user accepted.
bool ShowParamsDialog(TBaseElement& element, QWidget* parent);
