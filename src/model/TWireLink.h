#pragma once

class TConnector;
class TElectricLine;

// What a segment end is attached to: a pin, another segment, or nothing.
struct TWireLink {
    TConnector* Pin = nullptr;
    TElectricLine* Line = nullptr;

    TWireLink() = default;
    TWireLink(TConnector* pin) : Pin(pin) {}
    TWireLink(TElectricLine* line) : Line(line) {}

    bool IsFree() const { return !Pin && !Line; }
    explicit operator bool() const { return !IsFree(); }
    friend bool operator==(const TWireLink&, const TWireLink&) = default;
};

// A segment attached to the middle of another one, with the attachment point
// in sheet coordinates. Pins never sit in the middle of a segment.
struct TCLine {
    TElectricLine* Control = nullptr;
    int x = 0;
    int y = 0;
};
