#pragma once

#include <memory>

#include "Simulation/Assert.h"
#include "Simulation/RunSettings.h"
#include "model/Geometry.h"
#include "model/RubberLink.h"
#include "model/TTypedList.h"

class TBaseElement;
class TConnector;
class TElectricLine;
class TENode;
class TInfoInput;
class TInfoOutput;
class TProducer;
class TStatic;
class TDynamic;
class TConsumer;
class TSimModel;

// What the sheet asks of the window that shows it. Every call has a default
// that does nothing, so the model runs without a window.
class TSheetHost {
public:
    virtual ~TSheetHost() = default;
    // Rotate and mirror commands are available exactly when something is selected.
    virtual void SelectionChanged(bool anySelected) { (void)anySelected; }
    // The element's parameter dialog, modal.
    virtual void EditElementParams(TBaseElement& element) { (void)element; }
    // Something changed its looks.
    virtual void Repaint() {}
};

// Mouse state shared by the element, pin and wire rules.
struct TEditorState {
    bool PinMode = false;       // the cross cursor: clicks add or delete signal pins
    bool AddPinMode = true;     // true: add, false: delete
    TPoint DragOrigin;          // element coordinates of the press being dragged
    TBaseElement* Captured = nullptr;
    TRubberLink RubberLink;     // a link drag from a signal pin
};

// One schematic: its elements, wires, nodes, signal pins, block registries
// and its run parameters. It owns every element and segment in its lists;
// the lists themselves own nothing. The model of a run belongs to the run.
class Schematic {
public:
    Schematic();
    ~Schematic();
    Schematic(const Schematic&) = delete;
    Schematic& operator=(const Schematic&) = delete;

    TTypedList<TBaseElement> Elements;          // creation order = element number
    TTypedList<TBaseElement> SelectedElements;  // in order of selection
    TTypedList<TElectricLine> Lines;            // creation order = segment number
    TTypedList<TElectricLine> SelectedLines;
    TTypedList<TENode> Nodes;                   // owned: position = node number
    TTypedList<TConnector> ConnectorList;
    TTypedList<TInfoInput> AllInputs;
    TTypedList<TInfoOutput> AllOutputs;

    // Block registries: position = matrix index. The mediators (voltage
    // sensors, controlled sources) are plain elements, listed as such.
    TTypedList<TProducer> Producers;
    TTypedList<TBaseElement> VoltageSummators;
    TTypedList<TDynamic> Dynamics;
    TTypedList<TStatic> Statics;
    TTypedList<TConsumer> Consumers;
    TTypedList<TBaseElement> ControlledVoltages;
    TTypedList<TBaseElement> ControlledCurrents;

    bool Modified = false;
    TEditorState Editor;
    TSheetHost* Host = nullptr;

    TRunSettings RunSettings;

    // The model of the run the elements take part in, which their live
    // values read (the potentials, the model time, the step). The run's
    // context binds it for as long as it lives, and the editor keeps the
    // last one for the potentials it shows after a run; not owned.
    TSimModel& Run() const {
        QUENTOR_CHECK(run_ != nullptr, "a run is bound", "model/Schematic");
        return *run_;
    }
    // Null outside a run.
    TSimModel* BoundRun() const { return run_; }
    void BindRun(TSimModel* model) { run_ = model; }

    // Deselects every element (last selected first) and every segment.
    void ClearSelection();
    // Moves every selected element; marks the schematic modified.
    void MoveSelection(int dx, int dy);
    // Frees every element and segment (the elements first). Sets Modified,
    // as the editor expects before it resets the flag itself.
    void Clear();
    // Frees one element; it leaves every list and registry.
    void FreeElement(TBaseElement* element);
    // Frees the selected segments, then the selected elements (last selected first).
    void DeleteSelection();

    // Tells the host whether anything is selected.
    void NotifySelection();
    void Repaint();

private:
    TSimModel* run_ = nullptr;
};
