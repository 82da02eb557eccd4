#include "model/Schematic.h"

#include "model/TBaseElement.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"

Schematic::Schematic() = default;

Schematic::~Schematic() {
    Host = nullptr;
    // Elements last first: each leaves its lists from their ends.
    while (!Elements.Empty()) delete Elements.Last();
    while (!Lines.Empty()) delete Lines.First();
    while (!Nodes.Empty()) {
        TENode* node = Nodes.Last();
        Nodes.Delete(Nodes.Count() - 1);
        delete node;
    }
}

void Schematic::ClearSelection() {
    if (SelectedElements.Empty() && SelectedLines.Empty()) return;
    while (!SelectedElements.Empty()) SelectedElements.Last()->SetSelected(false);
    while (!SelectedLines.Empty()) SelectedLines.Last()->Deselect();
    NotifySelection();
    Repaint();
}

void Schematic::MoveSelection(int dx, int dy) {
    Modified = true;
    // Copy: moving never changes the selection, but be safe against callbacks.
    const auto selected = SelectedElements.Items();
    for (TBaseElement* e : selected) e->MoveBy(dx, dy);
}

void Schematic::Clear() {
    Modified = true;
    ClearSelection();
    while (!Elements.Empty()) FreeElement(Elements.First());
    while (!Lines.Empty()) delete Lines.First();
}

void Schematic::FreeElement(TBaseElement* element) {
    if (Editor.Captured == element) Editor.Captured = nullptr;
    delete element;
}

void Schematic::DeleteSelection() {
    Modified = true;
    while (!SelectedLines.Empty()) delete SelectedLines.Last();
    while (!SelectedElements.Empty()) FreeElement(SelectedElements.Last());
    NotifySelection();
    Repaint();
}

void Schematic::NotifySelection() {
    if (Host) Host->SelectionChanged(!SelectedElements.Empty());
}

void Schematic::Repaint() {
    if (Host) Host->Repaint();
}
