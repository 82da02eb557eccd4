#include "app/Palette.h"

#include <stdexcept>

namespace {

TPaletteEntry Menu(std::string caption, std::vector<TPaletteEntry> submenus = {}) {
    return {std::move(caption), {}, true, true, std::move(submenus)};
}

struct Row {
    std::vector<std::string> path;
    std::vector<std::pair<std::string, std::string>> items; // caption, class
};

TPaletteEntry* Find(std::vector<TPaletteEntry>& entries, const std::vector<std::string>& path) {
    std::vector<TPaletteEntry>* level = &entries;
    TPaletteEntry* found = nullptr;
    for (const std::string& caption : path) {
        found = nullptr;
        for (TPaletteEntry& e : *level)
            if (e.Submenu && e.Caption == caption) found = &e;
        if (!found) return nullptr;
        level = &found->Entries;
    }
    return found;
}

std::vector<TPaletteEntry> Build() {
    // The menus as the window declares them: submenus only, plus the one
    // placeholder item of the three-phase transformers.
    TPaletteEntry threePhase = Menu("Трехфазные");
    threePhase.Entries.push_back({"(в разработке)", {}, false, false, {}});
    std::vector<TPaletteEntry> menus = {
        Menu("&Блоки",
             {Menu("Арифметика"), Menu("Интегрирование"), Menu("Линейная система"),
              Menu("Генераторы сигналов", {Menu("Пилообразные импульсы")}),
              Menu("Приемники сигналов"), Menu("Нелинейности", {Menu("Трансцендентные")})}),
        Menu("&Элементы", {Menu("Двигатель", {Menu("Постоянного тока"), Menu("Переменного тока")}),
                           Menu("Транзисторы", {Menu("Биполярные")}),
                           Menu("Трансформаторы", {Menu("Однофазные"), threePhase}),
                           Menu("Электромашинные Датчики")}),
        Menu("&Посредники"),
    };

    // The palette items are appended after whatever a menu already holds, so
    // in a menu with submenus the items follow them.
    const Row rows[] = {
        {{"&Блоки", "Арифметика"},
         {{"Пропорциональное звено", "TGain"},
          {"Сумматор", "TSummingJunction"},
          {"Перемножитель", "TMultiplyingJunction"},
          {"Делитель", "TDivideningJunction"},
          {"abs", "TAbs"},
          {"-X", "TSInv"},
          {"1/X", "TSVer"},
          {"sign", "TSSign"}}},
        {{"&Блоки", "Интегрирование"}, {{"Интегратор", "TIntegrator"}}},
        {{"&Блоки", "Линейная система"}, {{"Передаточная функция", "TTransferFunction"}}},
        {{"&Блоки", "Генераторы сигналов"},
         {{"Ступенька", "TStep"},
          {"Синусоида", "TSinusoid"},
          {"Константа", "TConst"},
          {"Генератор случайных чисел", "TGPSP"},
          {"Прямоугольные импульсы", "TGRI"},
          {"Трапецеидальные импульсы", "TTrap"},
          {"Треугольные импульсы", "TTreu"},
          {"Линейная функция", "TRamp"},
          {"Пилообразная функция", "TAngel"},
          {"Синхронизируемый ГПН", "TSyncGPN"}}},
        {{"&Блоки", "Генераторы сигналов", "Пилообразные импульсы"},
         {{"С положительным наклоном", "TPilaP"}, {"С отрицательным наклоном", "TPilaO"}}},
        {{"&Блоки", "Приемники сигналов"}, {{"График", "TPlotter"}, {"Дисплей", "TDisplay"}}},
        {{"&Блоки", "Нелинейности"},
         {{"Насыщение", "TLimit"},
          {"Зона нечувствительности", "TDeadBand"},
          {"Реле", "TRelay"},
          {"Зона нечувствительности с насыщением", "TDeadLimit"},
          {"Гистерезиз", "TGisteresis"}}},
        {{"&Блоки", "Нелинейности", "Трансцендентные"},
         {{"sin", "Tssin"},
          {"cos", "TScos"},
          {"tan", "TStan"},
          {"asin", "TSasin"},
          {"acos", "TSacos"},
          {"atan", "TSatan"},
          {"sinh", "TSsinh"},
          {"cosh", "TScosh"},
          {"tanh", "TStanh"},
          {"exp", "TSexp"},
          {"ln", "TSln"},
          {"lg", "TSlg"},
          {"sqrt", "TSsqrt"}}},
        {{"&Элементы"},
         {{"Операционный усилитель", "TAmplifier"},
          {"Корпус", "TGround"},
          {"Резистор", "TResistor"},
          {"Конденсатор", "TCapacitor"},
          {"Индуктивность", "TInductance"},
          {"Диод", "TDiode"},
          {"Тиристор", "TThyristor"},
          {"Электронный ключ", "TSwitch"},
          {"Источник ЭДС", "TVoltageSource"},
          {"Источник синусоидальной ЭДС", "TVoltageSin"},
          {"Источник тока", "TCurrentSource"},
          {"Аккумуляторная батарея", "TBattery"},
          {"Фотопреобразователь", "TSolarBattery"},
          {"Диодная оптопара", "TOptoPair"},
          {"Кабель с разъемом", "TCable"},
          {"Преобразователь напряжение-частота", "TTvf"},
          {"Автономный инвертор напряжения", "TAin"}}},
        {{"&Элементы", "Транзисторы", "Биполярные"}, {{"N-P-N", "TBipolarNPN"}}},
        {{"&Элементы", "Двигатель", "Постоянного тока"},
         {{"С пост.магнитами", "TMotor"},
          {"С электро-магнит.возбуждением", "TVarMotor"},
          {"С электро-магнит.возбуждением yv", "TNVarMotor"}}},
        {{"&Элементы", "Двигатель", "Переменного тока"},
         {{"Асинхронный исполнительный двухфазный", "TIadd"},
          {"Асинхронный трехфазный", "TAtd"},
          {"Асинхронный трехфазный c фазным ротором", "TAtdpet"}}},
        {{"&Элементы", "Двигатель"}, {{"Электро-механический блок", "TMechanical"}}},
        {{"&Элементы", "Трансформаторы", "Однофазные"},
         {{"Лин. с уч. эл. потерь", "TTransformer"},
          {"Лин. с уч. полных потерь и рассеяния", "TTransformator"}}},
        {{"&Элементы", "Электромашинные Датчики"},
         {{"Сельсин датчик", "TSelsinDat"},
          {"Сельсин приёмник", "TSelsinRes"},
          {"Сельсин приёмник трансформаторного режима", "TSelsinResTrans"},
          {"Вращающийся трансформатор", "TPovTr"}}},
        {{"&Посредники"},
         {{"Датчик напряжения", "TVoltageSummator"},
          {"Датчик тока", "TAmper"},
          {"Управляемая ЭДС", "TControlledVoltage"},
          {"Управляемый источник тока", "TControlledCurrent"}}},
    };
    for (const Row& row : rows) {
        TPaletteEntry* menu = Find(menus, row.path);
        if (!menu) throw std::logic_error("palette menu missing: " + row.path.back());
        for (const auto& [caption, className] : row.items)
            menu->Entries.push_back({caption, className, false, true, {}});
    }
    return menus;
}

void Collect(const std::vector<TPaletteEntry>& entries, std::vector<std::string>& path,
             std::vector<TPaletteItem>& out) {
    for (const TPaletteEntry& e : entries) {
        if (e.Submenu) {
            path.push_back(e.Caption);
            Collect(e.Entries, path, out);
            path.pop_back();
        } else if (!e.ClassName.empty()) {
            out.push_back({path, e.Caption, e.ClassName});
        }
    }
}

} // namespace

const std::vector<TPaletteEntry>& PaletteMenus() {
    static const std::vector<TPaletteEntry> menus = Build();
    return menus;
}

const TPaletteEntry* FindPaletteEntry(const std::vector<std::string>& path) {
    const std::vector<TPaletteEntry>* level = &PaletteMenus();
    const TPaletteEntry* found = nullptr;
    for (const std::string& caption : path) {
        found = nullptr;
        for (const TPaletteEntry& e : *level)
            if (e.Caption == caption) found = &e;
        if (!found) return nullptr;
        level = &found->Entries;
    }
    return found;
}

std::vector<TPaletteItem> PaletteItems() {
    std::vector<TPaletteItem> out;
    std::vector<std::string> path;
    Collect(PaletteMenus(), path, out);
    return out;
}
