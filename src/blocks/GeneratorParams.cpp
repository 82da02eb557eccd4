#include "blocks/GeneratorParams.h"

#include "params/Units.h"

namespace {

// Default units: seconds, hertz, radians, volts per second.
constexpr int Seconds = 0, Hertz = 1, Radians = 0, VoltsPerSecond = 1;

} // namespace

namespace GeneratorParams {

const ParamDef Step[] = {
    {"Величина ступеньки", "h", nullptr, 1.0, 0, 0},
    {"Задержка", "t", Units::Time, 0.0, Seconds, 0},
    {},
};

const ParamDef Sinusoid[] = {
    {"Амплитуда", "A", nullptr, 1.0, 0, 0},
    {"Частота", "w", Units::AngularFrequency, TwoPi, Hertz, 0},
    {"Начальная фаза", "phi", Units::Phase, 0.0, Radians, 0},
    {},
};

const ParamDef Const[] = {
    {"Значение константы", "K", nullptr, 1.0, 0, 0},
    {},
};

const ParamDef GPSP[] = {
    {"Максимальное значение", "max", nullptr, 1.0, 0, 0},
    {"Минимальное значение ", "min", nullptr, 1.0, 0, 0},
    {"Период, мс", "T1", nullptr, 1.0, 0, 0},
    {},
};

const ParamDef GRI[] = {
    {"Амплитуда полож.имп.", "A1", nullptr, 1.0, 0, 0},
    {"Задержка полож.имп.", "t1", Units::Time, 0.0, Seconds, 0},
    {"Длительность полож.имп.", "L1", Units::Time, 1.0, Seconds, 0},
    {"Амплитуда отр.имп.", "A2", nullptr, 1.0, 0, 0},
    {"Задержка отр.имп.", "t2", Units::Time, 0.0, Seconds, 0},
    {"Длительность отр.имп.", "L2", Units::Time, 1.0, Seconds, 0},
    {"Частота", "w", Units::AngularFrequency, TwoPi, Hertz, 0},
    {},
};

const ParamDef Trap[] = {
    {"Амплитуда полож.имп.", "A1", nullptr, 1.0, 0, 0},
    {"Задержка полож.имп.", "tp1", Units::Time, 0.0, Seconds, 0},
    {"Длительность передн. фронта", "tp2", Units::Time, 1.0, Seconds, 0},
    {"Длительность вершины", "L1", Units::Time, 1.0, Seconds, 0},
    {"Длительность задн. фронта", "tp3", Units::Time, 1.0, Seconds, 0},
    {"Амплитуда отр.имп.", "A2", nullptr, 1.0, 0, 0},
    {"Задержка отр.имп.", "to1", Units::Time, 4.0, Seconds, 0},
    {"Длительность передн. фронта", "to2", Units::Time, 1.0, Seconds, 0},
    {"Длительность вершины", "L2", Units::Time, 1.0, Seconds, 0},
    {"Длительность задн. фронта", "to3", Units::Time, 1.0, Seconds, 0},
    {"Частота", "w", Units::AngularFrequency, TwoPi, Hertz, 0},
    {},
};

const ParamDef Treu[] = {
    {"Амплитуда ", "A1", nullptr, 1.0, 0, 0},
    {"Частота", "w", Units::AngularFrequency, TwoPi, Hertz, 0},
    {},
};

const ParamDef Ramp[] = {
    {"Коэффициент", "h", nullptr, 1.0, 0, 0},
    {"Задержка", "t", Units::Time, 0.0, Seconds, 0},
    {},
};

const ParamDef Angel[] = {
    {"Амплитуда", "AA", nullptr, 1.0, 0, 0},
    {"Частота", "wA", Units::AngularFrequency, TwoPi, Hertz, 0},
    {},
};

const ParamDef SyncGPN[] = {
    {"Крутизна ", "Kr", Units::VoltageRate, 1.0, VoltsPerSecond, 0},
    {},
};

const ParamDef PilaP[] = {
    {"Амплитуда ", "A1", nullptr, 1.0, 0, 0},
    {"Частота", "w", Units::AngularFrequency, TwoPi, Hertz, 0},
    {},
};

const ParamDef PilaO[] = {
    {"Амплитуда ", "A1", nullptr, 1.0, 0, 0},
    {"Частота", "w", Units::AngularFrequency, TwoPi, Hertz, 0},
    {},
};

} // namespace GeneratorParams
