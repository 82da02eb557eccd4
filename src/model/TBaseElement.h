#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/Geometry.h"
#include "model/TControl.h"
#include "params/ParamDef.h"

class Schematic;
class TConnector;
class TInfoInput;
class TInfoOutput;
struct TBranchRecord;

enum class TMouseButton { Left, Right, Middle };

// The common base of every element on the sheet: electrical components,
// machines, signal blocks and mediators. Elements are created through
// CreateElementByName, which applies the forms and runs Loaded once; the
// Schematic owns them.
// Called when code asks an element for a pin it does not have (a misspelt
// name reads 0 V or drops a branch silently); tests install one to check every
// class. Returns the previous hook.
using TNameMissHook = void (*)(const TBaseElement& element, std::string_view name);
TNameMissHook SetNameMissHook(TNameMissHook hook);

class TBaseElement {
public:
    explicit TBaseElement(Schematic& sheet);
    virtual ~TBaseElement();
    TBaseElement(const TBaseElement&) = delete;
    TBaseElement& operator=(const TBaseElement&) = delete;

    Schematic& Sheet() const { return sheet_; }
    // Class name ("TDiode") and component name ("Diode").
    const std::string& ClassName() const { return className_; }
    std::string Name() const;

    // Box on the sheet.
    int Left = 0;
    int Top = 0;
    int Width = 112;
    int Height = 99;
    TRect BoundsRect() const { return RectFromBounds(Left, Top, Width, Height); }

    // Fields, in the order of the element record.
    int ParamCount = 0;
    std::vector<ParamValue> ParamValues;
    bool FSelected = false;
    bool FMoved = false;
    int FAngle = 0;
    std::vector<TConnector*> FConnectors;
    std::vector<TInfoInput*> FInputs;
    std::vector<TInfoOutput*> FOutputs;
    bool ManualRefs = false;
    bool AutoModel = true;
    std::string DeviceType;
    int MethodIndex = 0;
    const char* DbSection = nullptr;
    const ParamDef* RefParamDefs = nullptr;
    const ParamDef* ModelParamDefs = nullptr;
    const char* const* ModelMethods = nullptr;
    int FNodeBase = 0;

    // The picture control and every child (picture and pins) in form order.
    TImage* Image() const { return image_; }
    const std::vector<std::unique_ptr<TControl>>& Children() const { return children_; }
    TControl* FindChild(std::string_view name) const;
    // Pins by name; null when the element has no such pin, which is also
    // told to the name-miss hook.
    TConnector* FindConnector(std::string_view name) const;
    TInfoInput* FindInput(std::string_view name) const;
    TInfoOutput* FindOutput(std::string_view name) const;
    // Adds a pin after the form pins (junction inputs added at run time).
    template <class Pin> Pin* AddChild(std::unique_ptr<Pin> pin) {
        Pin* raw = pin.get();
        children_.push_back(std::move(pin));
        return raw;
    }
    // Frees one child pin (never the picture).
    void RemoveChild(TControl* child);

    // Virtual interface.
    virtual void SetSelected(bool on);
    virtual void MoveBy(int dx, int dy);
    virtual void SaveToStrings(std::vector<std::string>& list) const;
    // `header` is the header line from its first ':' on; returns the index of
    // the first line not consumed.
    virtual int LoadFromStrings(std::string_view header, const std::vector<std::string>& list,
                                int index);
    virtual void EditParams();
    virtual bool CalcModelParams();
    virtual void ResetState();
    virtual void AddInput();
    virtual void DeleteInput(TInfoInput* input);
    virtual void AddOutput();
    virtual void DeleteOutput(TInfoOutput* output);
    // Branch records ending with a terminal of kind -1, or null.
    virtual const TBranchRecord* GetCircuitModel() const;
    // What the element's live values (branch values, outputs) read of the
    // run's unknowns, from which the engine knows the Jacobian's pattern. By
    // default every pin, every internal node and every signal input; an
    // element that reads less may say so, one that reads more must.
    virtual void DeclareLiveReads(struct TLiveReads& reads) const;
    // Checks the parameters a run needs before it starts; reports what is
    // wrong and returns false.
    virtual bool CheckBeforeRun() { return true; }
    // Elements with a step state (windings, shafts, companion sources)
    // advance it here: the time loop calls BeginStep once a step, before
    // anything reads the element at the step's model time, with the
    // accepted solution of the step before still in place. Live values are
    // then plain reads. Only elements that say AdvancesEachStep are called.
    virtual bool AdvancesEachStep() const { return false; }
    virtual void BeginStep() {}
    // What the signal output stands for, as a name and unit ("ток, А"),
    // for the names of recorded signals; by default the option chosen in
    // the element's "vv" row, empty without one.
    virtual std::string OutputQuantity() const;

    // Orientation.
    int GetAngle() const;
    bool GetXFlip() const;
    bool GetYFlip() const;
    void SetAngle(int angle);
    void SetXFlip(bool on);
    void SetYFlip(bool on);

    // Mouse rules, in element coordinates.
    void MouseDown(TMouseButton button, bool shift, int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(TMouseButton button, bool shift, int x, int y);

    // Parameters.
    ParamValue* FindParam(std::string_view name);
    const ParamValue* FindParam(std::string_view name) const;
    // The value of a parameter the class is known to have (0 when absent,
    // after FindParam's message).
    double ParamOf(std::string_view name) const;
    void ResetParams();
    // Position in Elements (the element number of files and messages).
    int ElementIndex() const;
    // For CheckBeforeRun: a parameter that must be greater than zero.
    bool RequirePositive(std::string_view name) const;
    bool LoadDeviceType(const std::string& type);
    // Writes the reference values into the database under the type name.
    bool SaveDeviceType(const std::string& type);
    bool RemoveDeviceType(const std::string& type);

    // What the painter draws in element coordinates: picture and pins.
    std::vector<TPrimitive> Paint() const;

    // Form application and the once-only work after the concrete form.
    void ApplyForm(const struct TFormDescription& form);
    virtual void Loaded();

protected:
    // Block pins are placed on the box edges by their angles.
    void PlaceSignalPin(class TInfoConnector* pin, bool output);

private:
    friend TBaseElement* CreateElementByName(Schematic&, const std::string&);

    void BuildParamValues();
    void ClassifyChildrenAndSize();
    void ApplyBlockMargins();
    void SetElectricalAngle(int angle);
    void TurnElectricalQuarter();
    void SetBlockAngle(int angle);
    void MirrorElectrical(bool horizontal);

    Schematic& sheet_;
    std::string className_;
    std::vector<std::unique_ptr<TControl>> children_;
    TImage* image_ = nullptr;
    bool loaded_ = false;
};

// Adapts a member function to the plain getter a live value holds.
template <class T, double (T::*Method)()> double MemberGetter(TBaseElement* element) {
    return (static_cast<T*>(element)->*Method)();
}
