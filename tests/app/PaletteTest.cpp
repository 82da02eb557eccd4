#include <gtest/gtest.h>

#include <set>

#include "app/Palette.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"

namespace {

std::vector<std::string> Captions(const TPaletteEntry& menu) {
    std::vector<std::string> out;
    for (const TPaletteEntry& e : menu.Entries)
        out.push_back(e.Caption);
    return out;
}

const TPaletteEntry& Entry(const std::vector<std::string>& path) {
    const TPaletteEntry* e = FindPaletteEntry(path);
    if (!e) throw std::runtime_error("no palette entry " + path.back());
    return *e;
}

using Strings = std::vector<std::string>;

TEST(Palette, MenuBarHoldsThreePaletteMenus) {
    Strings captions;
    for (const TPaletteEntry& m : PaletteMenus()) {
        captions.push_back(m.Caption);
        EXPECT_TRUE(m.Submenu);
    }
    EXPECT_EQ(captions, (Strings{"&Блоки", "&Элементы", "&Посредники"}));
}

TEST(Palette, BlocksMenuHoldsItsSubmenusOnly) {
    const TPaletteEntry& blocks = Entry({"&Блоки"});
    EXPECT_EQ(Captions(blocks),
              (Strings{"Арифметика", "Интегрирование", "Линейная система", "Генераторы сигналов",
                       "Приемники сигналов", "Нелинейности"}));
    for (const TPaletteEntry& e : blocks.Entries)
        EXPECT_TRUE(e.Submenu) << e.Caption;
}

TEST(Palette, ArithmeticItemsInOrderWithTheirClasses) {
    const TPaletteEntry& menu = Entry({"&Блоки", "Арифметика"});
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Пропорциональное звено", "TGain"},
        {"Сумматор", "TSummingJunction"},
        {"Перемножитель", "TMultiplyingJunction"},
        {"Делитель", "TDivideningJunction"},
        {"abs", "TAbs"},
        {"-X", "TSInv"},
        {"1/X", "TSVer"},
        {"sign", "TSSign"}};
    ASSERT_EQ(menu.Entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(menu.Entries[i].Caption, expected[i].first);
        EXPECT_EQ(menu.Entries[i].ClassName, expected[i].second);
        EXPECT_FALSE(menu.Entries[i].Submenu);
    }
}

// Items are appended after the submenus a menu already holds.
TEST(Palette, ItemsFollowTheSubmenusOfTheirMenu) {
    const TPaletteEntry& generators = Entry({"&Блоки", "Генераторы сигналов"});
    EXPECT_EQ(Captions(generators),
              (Strings{"Пилообразные импульсы", "Ступенька", "Синусоида", "Константа",
                       "Генератор случайных чисел", "Прямоугольные импульсы",
                       "Трапецеидальные импульсы", "Треугольные импульсы", "Линейная функция",
                       "Пилообразная функция", "Синхронизируемый ГПН"}));
    EXPECT_TRUE(generators.Entries[0].Submenu);
    EXPECT_EQ(Captions(generators.Entries[0]),
              (Strings{"С положительным наклоном", "С отрицательным наклоном"}));

    const TPaletteEntry& nonlinear = Entry({"&Блоки", "Нелинейности"});
    EXPECT_EQ(Captions(nonlinear),
              (Strings{"Трансцендентные", "Насыщение", "Зона нечувствительности", "Реле",
                       "Зона нечувствительности с насыщением", "Гистерезиз"}));

    const TPaletteEntry& elements = Entry({"&Элементы"});
    const Strings elementCaptions = Captions(elements);
    ASSERT_GE(elementCaptions.size(), 5u);
    EXPECT_EQ(Strings(elementCaptions.begin(), elementCaptions.begin() + 5),
              (Strings{"Двигатель", "Транзисторы", "Трансформаторы", "Электромашинные Датчики",
                       "Операционный усилитель"}));
    EXPECT_EQ(elements.Entries.size(), 4u + 17u);
    EXPECT_EQ(elements.Entries.back().Caption, "Автономный инвертор напряжения");

    EXPECT_EQ(Captions(Entry({"&Элементы", "Двигатель"})),
              (Strings{"Постоянного тока", "Переменного тока", "Электро-механический блок"}));
}

TEST(Palette, ThreePhaseTransformersHoldOnlyAnInactivePlaceholder) {
    EXPECT_EQ(Captions(Entry({"&Элементы", "Трансформаторы"})),
              (Strings{"Однофазные", "Трехфазные"}));
    const TPaletteEntry& threePhase = Entry({"&Элементы", "Трансформаторы", "Трехфазные"});
    ASSERT_EQ(threePhase.Entries.size(), 1u);
    EXPECT_EQ(threePhase.Entries[0].Caption, "(в разработке)");
    EXPECT_TRUE(threePhase.Entries[0].ClassName.empty());
    EXPECT_FALSE(threePhase.Entries[0].Enabled);
}

TEST(Palette, SensorsAndMediatorsMenu) {
    const TPaletteEntry& menu = Entry({"&Посредники"});
    EXPECT_EQ(Captions(menu), (Strings{"Датчик напряжения", "Датчик тока", "Управляемая ЭДС",
                                       "Управляемый источник тока"}));
    EXPECT_EQ(menu.Entries[1].ClassName, "TAmper");
    EXPECT_EQ(Entry({"&Элементы", "Транзисторы", "Биполярные", "N-P-N"}).ClassName, "TBipolarNPN");
    EXPECT_EQ(Entry({"&Блоки", "Нелинейности", "Трансцендентные", "sqrt"}).ClassName, "TSsqrt");
}

// Each item creates its element; no class appears twice.
TEST(Palette, EveryItemCreatesItsElement) {
    std::set<std::string> seen;
    const auto items = PaletteItems();
    EXPECT_EQ(items.size(), 77u);
    for (const TPaletteItem& item : items) {
        EXPECT_TRUE(seen.insert(item.ClassName).second) << item.ClassName;
        Schematic sheet;
        EXPECT_NO_THROW(CreateElementByName(sheet, item.ClassName)) << item.Caption;
        EXPECT_EQ(sheet.Elements.Count(), 1) << item.Caption;
    }
}

TEST(Palette, UnknownPathsFindNothing) {
    EXPECT_EQ(FindPaletteEntry({"&Блоки", "Резистор"}), nullptr);
    EXPECT_EQ(FindPaletteEntry({"Блоки"}), nullptr);
}

} // namespace
