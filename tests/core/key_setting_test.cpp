// The key book, the four selectors, the six window buttons, Reset and the start state, in both models.
#include "apps/rovanta-v4/settings.h"
#include "apps/rovanta-v5/settings.h"
#include "tests/core/test_support.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using coretest::differences;
using coretest::Panel;
using coretest::panelOf;
using coretest::setWindows;
using rovanta::CellColour;
using rovanta::keyRowOfSelector;
using rovanta::MachineControls;
using rovanta::WindowButton;

using coretest::Model;
using coretest::nameOf;
using coretest::started;

// The 26 cell texts a key row shows for a key text of either form.
std::string cellsOfKey(const MachineControls& machine, int row)
{
    std::string cells;
    for (int cell = 1; cell <= 26; ++cell)
        cells += machine.state().cellText(row, cell);
    return cells;
}

// A key row shows key `slot` exactly when its cells, read in order, spell the key's text.
void expectKeyInRow(const MachineControls& machine, int slot, int row)
{
    EXPECT_EQ(cellsOfKey(machine, row), machine.settings().keybook[static_cast<std::size_t>(slot)])
        << "Label" << row << " should show key " << slot;
}

// --- The key books --------------------------------------------------------------------------------------

TEST(KeyBook, v5HoldsOneHundredAndOneDistinctPermutationsInTwoDigitForm)
{
    const auto& book = rovanta::v5::kKeyBook;
    ASSERT_EQ(book.size(), 101u);
    std::set<std::string_view> distinct;
    for (std::size_t slot = 0; slot < book.size(); ++slot) {
        const std::string_view key = book[slot];
        ASSERT_EQ(key.size(), 52u) << "slot " << slot;
        std::set<int> numbers;
        for (std::size_t i = 0; i < 52; i += 2) {
            ASSERT_TRUE(key[i] >= '0' && key[i] <= '9' && key[i + 1] >= '0' && key[i + 1] <= '9')
                << "slot " << slot;
            numbers.insert((key[i] - '0') * 10 + (key[i + 1] - '0'));
        }
        EXPECT_EQ(numbers.size(), 26u) << "slot " << slot;
        EXPECT_EQ(*numbers.begin(), 1) << "slot " << slot;
        EXPECT_EQ(*numbers.rbegin(), 26) << "slot " << slot;
        distinct.insert(key);
    }
    EXPECT_EQ(distinct.size(), 101u);
}

TEST(KeyBook, v4HoldsOneHundredDistinctLetterPermutationsAndAnEmptySlot0)
{
    const auto& book = rovanta::v4::kKeyBook;
    ASSERT_EQ(book.size(), 101u);
    EXPECT_EQ(book[0], "");
    std::set<std::string_view> distinct;
    for (std::size_t slot = 1; slot < book.size(); ++slot) {
        const std::string_view key = book[slot];
        ASSERT_EQ(key.size(), 26u) << "slot " << slot;
        const std::set<char> letters(key.begin(), key.end());
        EXPECT_EQ(letters.size(), 26u) << "slot " << slot;
        EXPECT_EQ(*letters.begin(), 'A') << "slot " << slot;
        EXPECT_EQ(*letters.rbegin(), 'Z') << "slot " << slot;
        distinct.insert(key);
    }
    EXPECT_EQ(distinct.size(), 100u);
}

TEST(KeyBook, startUpLoadsTheBuiltInKeysIntoEverySlot)
{
    const MachineControls v5 = coretest::startedV5();
    const MachineControls v4 = coretest::startedV4();
    for (int slot = 0; slot <= 100; ++slot) {
        EXPECT_EQ(v5.state().keybookSlot(slot), rovanta::v5::kKeyBook[static_cast<std::size_t>(slot)]);
        EXPECT_EQ(v4.state().keybookSlot(slot), rovanta::v4::kKeyBook[static_cast<std::size_t>(slot)]);
    }
}

TEST(KeyBook, aCopiedKeyFillsCell1FromItsFirstCharactersAndCell26FromItsLast)
{
    MachineControls machine = coretest::startedV5();
    for (int press = 0; press < 99; ++press)
        machine.pressSelector(1); // key 100 into Label8
    const std::string_view key = rovanta::v5::kKeyBook[100];
    EXPECT_EQ(machine.state().cellText(8, 1), key.substr(0, 2));
    EXPECT_EQ(machine.state().cellText(8, 26), key.substr(50, 2));
    std::set<std::string_view> texts;
    for (int cell = 1; cell <= 26; ++cell)
        texts.insert(machine.state().cellText(8, cell));
    EXPECT_EQ(texts.size(), 26u);
}

// --- Start state ----------------------------------------------------------------------------------------

class StartState : public ::testing::TestWithParam<Model> {};

TEST_P(StartState, isKeys1To4WindowsAt01AndNothingLit)
{
    const MachineControls machine = started(GetParam());
    const rovanta::MachineState& state = machine.state();
    const bool letters = GetParam() == Model::V4;
    for (int selector = 1; selector <= 4; ++selector) {
        EXPECT_EQ(state.selectorCaption(selector), "Key " + std::to_string(selector));
        expectKeyInRow(machine, selector, keyRowOfSelector(selector));
    }
    for (int window = 1; window <= 3; ++window)
        EXPECT_EQ(state.windowText(window), "01");
    for (int cell = 1; cell <= 26; ++cell) {
        const std::string own =
            letters ? std::string(1, static_cast<char>('@' + cell))
                    : std::string(1, static_cast<char>('0' + cell / 10)) + static_cast<char>('0' + cell % 10);
        for (const int row : {1, 3, 5, 7, 9})
            EXPECT_EQ(state.cellText(row, cell), own) << "Label" << row;
        const int partner = 27 - cell;
        EXPECT_EQ(state.cellText(10, cell), letters ? std::string(1, static_cast<char>('@' + partner))
                                                    : std::string(1, static_cast<char>('0' + partner / 10)) +
                                                          static_cast<char>('0' + partner % 10));
        for (int row = 1; row <= 10; ++row)
            EXPECT_EQ(state.cellColour(row, cell), CellColour::Standard);
    }
    EXPECT_EQ(state.message(), u"");
    EXPECT_EQ(state.output(), u"");
    EXPECT_EQ(state.letternum(), u"");
    EXPECT_EQ(state.keybookSlot(0), letters ? "" : rovanta::v5::kKeyBook[0]);
}

INSTANTIATE_TEST_SUITE_P(Models, StartState, ::testing::Values(Model::V5, Model::V4),
                         [](const auto& row) { return nameOf(row.param); });

// --- Selectors ------------------------------------------------------------------------------------------

struct Presses {
    const char* name;
    int selector;
    int presses;
    const char* caption;
    int key;
};

void PrintTo(const Presses& row, std::ostream* out)
{
    *out << row.name;
}

class SelectorPresses : public ::testing::TestWithParam<std::tuple<Model, Presses>> {};

TEST_P(SelectorPresses, stepThroughKeys1To100)
{
    const auto& [model, row] = GetParam();
    MachineControls machine = started(model);
    for (int press = 0; press < row.presses; ++press)
        machine.pressSelector(row.selector);
    EXPECT_EQ(machine.state().selectorCaption(row.selector), row.caption);
    expectKeyInRow(machine, row.key, keyRowOfSelector(row.selector));
}

INSTANTIATE_TEST_SUITE_P(
    Cycle, SelectorPresses,
    ::testing::Combine(
        ::testing::Values(Model::V5, Model::V4),
        ::testing::Values(
            Presses{"key1_once", 1, 1, "Key 2", 2}, Presses{"key1_to_10", 1, 9, "Key 10", 10},
            Presses{"key1_10_to_11", 1, 10, "Key 11", 11}, Presses{"key1_99_times", 1, 99, "Key 100", 100},
            Presses{"key1_100_times", 1, 100, "Key 1", 1}, Presses{"key1_101_times", 1, 101, "Key 2", 2},
            Presses{"key2_once", 2, 1, "Key 3", 3}, Presses{"key3_to_key2s_number", 3, 99, "Key 2", 2},
            Presses{"key4_96_times", 4, 96, "Key 100", 100}, Presses{"key4_97_times", 4, 97, "Key 1", 1},
            Presses{"key4_200_times", 4, 200, "Key 4", 4})),
    [](const auto& row) { return nameOf(std::get<0>(row.param)) + "_" + std::get<1>(row.param).name; });

TEST_P(StartState, aSelectorPressChangesOnlyItsCaptionAndKeyRow)
{
    MachineControls machine = started(GetParam());
    machine.type(U'R');
    for (int selector = 1; selector <= 4; ++selector) {
        Panel expected = panelOf(machine.state());
        machine.pressSelector(selector);
        const Panel after = panelOf(machine.state());
        expected.captions[static_cast<std::size_t>(selector)] = "Key " + std::to_string(selector + 1);
        const int row = keyRowOfSelector(selector);
        for (int cell = 1; cell <= 26; ++cell)
            expected.texts[static_cast<std::size_t>((row - 1) * 26 + cell)] =
                machine.state().cellText(row, cell);
        EXPECT_EQ(differences(after, expected), "") << "selector " << selector;
        expectKeyInRow(machine, selector + 1, row);
    }
}

// Set By Date leaves captions with a leading zero; a press reads their digits and steps on.
struct OffCycle {
    const char* name;
    const char16_t* day;
    const char16_t* month;
    const char16_t* year;
    int selector;
    const char* captionBefore;
    const char* captionAfter;
    int key;
};

void PrintTo(const OffCycle& row, std::ostream* out)
{
    *out << row.name;
}

class OffCyclePress : public ::testing::TestWithParam<OffCycle> {};

TEST_P(OffCyclePress, stepsOnFromTheNumberShown)
{
    const OffCycle& row = GetParam();
    MachineControls machine = coretest::startedV5();
    ASSERT_EQ(machine.setByDate(row.day, row.month, row.year), rovanta::SetByDateOutcome::Set);
    ASSERT_EQ(machine.state().selectorCaption(row.selector), row.captionBefore);
    machine.pressSelector(row.selector);
    EXPECT_EQ(machine.state().selectorCaption(row.selector), row.captionAfter);
    expectKeyInRow(machine, row.key, keyRowOfSelector(row.selector));
}

INSTANTIATE_TEST_SUITE_P(
    Captions, OffCyclePress,
    ::testing::Values(OffCycle{"day_06", u"06", u"12", u"2026", 1, "Key 06", "Key 7", 7},
                      OffCycle{"typed_day_6", u"6", u"12", u"2026", 1, "Key 6", "Key 7", 7},
                      OffCycle{"month_09", u"15", u"09", u"2026", 2, "Key 09", "Key 10", 10},
                      OffCycle{"year_2000", u"01", u"01", u"2000", 3, "Key 00", "Key 1", 1},
                      OffCycle{"year_2100", u"01", u"01", u"2100", 3, "Key 00", "Key 1", 1},
                      OffCycle{"year_2007", u"01", u"01", u"2007", 3, "Key 07", "Key 8", 8}),
    [](const auto& row) { return std::string(row.param.name); });

// --- Window buttons -------------------------------------------------------------------------------------

struct ButtonCase {
    const char* name;
    WindowButton button;
    int window;
    int from;
    int to;
};

void PrintTo(const ButtonCase& row, std::ostream* out)
{
    *out << row.name;
}

class WindowButtons : public ::testing::TestWithParam<std::tuple<Model, ButtonCase>> {};

TEST_P(WindowButtons, stepOneWindowWithWrapAndNoCarry)
{
    const auto& [model, row] = GetParam();
    MachineControls machine = started(model);
    std::array<int, 3> windows{14, 14, 14};
    windows[static_cast<std::size_t>(row.window - 1)] = row.from;
    // One odometer step short of them, so that a typed letter leaves the windows there with its path lit.
    std::array<int, 3> before = windows;
    for (std::size_t window = 0; window < 3; ++window) {
        if (--before[window] > 0)
            break;
        before[window] = 26;
    }
    setWindows(machine, before[0], before[1], before[2]);
    machine.type(U'X');
    ASSERT_EQ(machine.state().window(row.window), row.from);
    Panel expected = panelOf(machine.state());

    machine.pressWindowButton(row.button);

    const rovanta::MachineState& state = machine.state();
    const std::string to =
        std::string(1, static_cast<char>('0' + row.to / 10)) + static_cast<char>('0' + row.to % 10);
    expected.windows[static_cast<std::size_t>(row.window)] = to;
    const int ringRow = rovanta::ringRowOfWindow(row.window);
    for (int cell = 1; cell <= 26; ++cell)
        expected.texts[static_cast<std::size_t>((ringRow - 1) * 26 + cell)] = state.cellText(ringRow, cell);
    if (model == Model::V5)
        expected.colours.fill(coretest::kWhite);
    expected.colours[0] = 0;
    EXPECT_EQ(differences(panelOf(state), expected), "");
    EXPECT_EQ(state.cellText(ringRow, row.to), model == Model::V5 ? "01" : "A")
        << "the ring turned to its window";
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, WindowButtons,
    ::testing::Combine(::testing::Values(Model::V5, Model::V4),
                       ::testing::Values(ButtonCase{"c2_up_window3", WindowButton::Command2, 3, 9, 10},
                                         ButtonCase{"c2_wraps_26", WindowButton::Command2, 3, 26, 1},
                                         ButtonCase{"c3_down_window3", WindowButton::Command3, 3, 10, 9},
                                         ButtonCase{"c3_wraps_01", WindowButton::Command3, 3, 1, 26},
                                         ButtonCase{"c4_up_window2", WindowButton::Command4, 2, 25, 26},
                                         ButtonCase{"c4_wraps_26", WindowButton::Command4, 2, 26, 1},
                                         ButtonCase{"c5_down_window2", WindowButton::Command5, 2, 2, 1},
                                         ButtonCase{"c5_wraps_01", WindowButton::Command5, 2, 1, 26},
                                         ButtonCase{"c6_up_window1", WindowButton::Command6, 1, 1, 2},
                                         ButtonCase{"c6_wraps_26_no_carry", WindowButton::Command6, 1, 26, 1},
                                         ButtonCase{"c7_down_window1", WindowButton::Command7, 1, 26, 25},
                                         ButtonCase{"c7_wraps_01_no_borrow", WindowButton::Command7, 1, 1,
                                                    26})),
    [](const auto& row) { return nameOf(std::get<0>(row.param)) + "_" + std::get<1>(row.param).name; });

TEST(WindowButtons, twentySixPressesComeBackAround)
{
    for (const WindowButton button :
         {WindowButton::Command2, WindowButton::Command3, WindowButton::Command4, WindowButton::Command5,
          WindowButton::Command6, WindowButton::Command7}) {
        MachineControls machine = coretest::startedV5();
        setWindows(machine, 5, 17, 26);
        for (int press = 0; press < 26; ++press)
            machine.pressWindowButton(button);
        EXPECT_EQ(machine.state().window(1), 5);
        EXPECT_EQ(machine.state().window(2), 17);
        EXPECT_EQ(machine.state().window(3), 26);
    }
}

TEST(WindowButtons, whitenTheV5PanelEvenBeforeTheFirstLetterButLeaveTheV4PanelAlone)
{
    MachineControls v5 = coretest::startedV5();
    MachineControls v4 = coretest::startedV4();
    v5.pressWindowButton(WindowButton::Command6);
    v4.pressWindowButton(WindowButton::Command6);
    for (int row = 1; row <= 10; ++row) {
        for (int cell = 1; cell <= 26; ++cell) {
            EXPECT_EQ(v5.state().cellColour(row, cell), CellColour::White);
            EXPECT_EQ(v4.state().cellColour(row, cell), CellColour::Standard);
        }
    }
}

// --- Reset ----------------------------------------------------------------------------------------------

class Reset : public ::testing::TestWithParam<Model> {};

TEST_P(Reset, bringsBackWindowsAndEmptyBoxesAndWhitensEveryCell)
{
    const Model model = GetParam();
    MachineControls machine = started(model);
    for (int press = 0; press < 3; ++press)
        machine.pressSelector(1);
    machine.pressSelector(3);
    machine.encrypt(u"SOMETEXT");
    setWindows(machine, 5, 17, 26);
    machine.type(U'Q');
    const std::u16string letternum = machine.state().letternum();

    machine.reset();

    const MachineControls fresh = started(model);
    Panel expected = panelOf(fresh.state());
    expected.colours.fill(coretest::kWhite);
    expected.colours[0] = 0;
    expected.letternum = letternum;
    if (model == Model::V4) {
        // The four model keeps the operator's keys.
        expected.captions[1] = "Key 4";
        expected.captions[3] = "Key 4";
        for (int cell = 1; cell <= 26; ++cell) {
            expected.texts[static_cast<std::size_t>(7 * 26 + cell)] = machine.state().cellText(8, cell);
            expected.texts[static_cast<std::size_t>(3 * 26 + cell)] = machine.state().cellText(4, cell);
        }
        expectKeyInRow(machine, 4, 8);
        expectKeyInRow(machine, 4, 4);
    }
    EXPECT_EQ(differences(panelOf(machine.state()), expected), "");
}

TEST_P(Reset, onAStartedMachineOnlyWhitensTheCells)
{
    MachineControls machine = started(GetParam());
    Panel expected = panelOf(machine.state());
    machine.reset();
    expected.colours.fill(coretest::kWhite);
    expected.colours[0] = 0;
    EXPECT_EQ(differences(panelOf(machine.state()), expected), "");
}

INSTANTIATE_TEST_SUITE_P(Models, Reset, ::testing::Values(Model::V5, Model::V4),
                         [](const auto& row) { return nameOf(row.param); });

} // namespace
