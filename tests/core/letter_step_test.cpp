// One letter through the machine: the odometer of the windows, the ring rows, the lit path, and the
// machine's two promises (it deciphers what it enciphers, and never leaves a letter as itself).
#include "tests/core/test_support.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <utility>

namespace {

using coretest::setWindows;
using rovanta::CellColour;
using rovanta::MachineControls;

using coretest::Model;
using coretest::nameOf;
using coretest::started;

// --- Windows step like an odometer before the letter is enciphered ---------------------------------------

struct Odometer {
    const char* name;
    std::array<int, 3> before;
    std::array<const char*, 3> after;
};

void PrintTo(const Odometer& row, std::ostream* out)
{
    *out << row.name;
}

class WindowsStep : public ::testing::TestWithParam<std::tuple<Model, Odometer>> {};

TEST_P(WindowsStep, onEveryTypedLetter)
{
    const auto& [model, row] = GetParam();
    MachineControls machine = started(model);
    setWindows(machine, row.before[0], row.before[1], row.before[2]);
    machine.type(U'q');
    for (int window = 1; window <= 3; ++window)
        EXPECT_EQ(machine.state().windowText(window), row.after[window - 1]) << "window " << window;
}

INSTANTIATE_TEST_SUITE_P(
    Carry, WindowsStep,
    ::testing::Combine(::testing::Values(Model::V5, Model::V4),
                       ::testing::Values(Odometer{"first_letter", {1, 1, 1}, {"02", "01", "01"}},
                                         Odometer{"nine_to_ten", {9, 1, 1}, {"10", "01", "01"}},
                                         Odometer{"window_1_to_26", {25, 3, 4}, {"26", "03", "04"}},
                                         Odometer{"carry_into_2", {26, 5, 1}, {"01", "06", "01"}},
                                         Odometer{"carry_into_3", {26, 26, 3}, {"01", "01", "04"}},
                                         Odometer{"window_2_at_26_alone", {3, 26, 26}, {"04", "26", "26"}},
                                         Odometer{"full_wrap", {26, 26, 26}, {"01", "01", "01"}},
                                         Odometer{"carry_into_3_at_9", {26, 26, 9}, {"01", "01", "10"}})),
    [](const auto& row) { return nameOf(std::get<0>(row.param)) + "_" + std::get<1>(row.param).name; });

// --- Ring rows follow their windows -------------------------------------------------------------------

struct RingCell {
    int window;
    int position;
    int cell;
    const char* twoDigit;
    const char* letter;
};

void PrintTo(const RingCell& row, std::ostream* out)
{
    *out << "window " << row.window << " at " << row.position << ", cell " << row.cell;
}

class RingRow : public ::testing::TestWithParam<std::tuple<Model, RingCell>> {};

TEST_P(RingRow, showsItsWindowsTurn)
{
    const auto& [model, row] = GetParam();
    MachineControls machine = started(model);
    std::array<int, 3> windows{1, 1, 1};
    windows[static_cast<std::size_t>(row.window - 1)] = row.position;
    setWindows(machine, windows[0], windows[1], windows[2]);
    const int ringRow = rovanta::ringRowOfWindow(row.window);
    EXPECT_EQ(machine.state().cellText(ringRow, row.cell), model == Model::V5 ? row.twoDigit : row.letter);
}

INSTANTIATE_TEST_SUITE_P(
    Turns, RingRow,
    ::testing::Combine(::testing::Values(Model::V5, Model::V4),
                       ::testing::Values(RingCell{1, 1, 1, "01", "A"}, RingCell{1, 1, 26, "26", "Z"},
                                         RingCell{1, 2, 1, "26", "Z"}, RingCell{1, 2, 2, "01", "A"},
                                         RingCell{1, 2, 26, "25", "Y"}, RingCell{1, 26, 1, "02", "B"},
                                         RingCell{1, 26, 25, "26", "Z"}, RingCell{1, 26, 26, "01", "A"},
                                         RingCell{2, 2, 1, "26", "Z"}, RingCell{2, 2, 2, "01", "A"},
                                         RingCell{2, 2, 26, "25", "Y"}, RingCell{3, 26, 1, "02", "B"},
                                         RingCell{3, 26, 25, "26", "Z"}, RingCell{3, 26, 26, "01", "A"},
                                         RingCell{3, 10, 9, "26", "Z"}, RingCell{3, 10, 10, "01", "A"},
                                         RingCell{3, 10, 18, "09", "I"}, RingCell{3, 10, 19, "10", "J"})),
    [](const auto& row) {
        const RingCell& cell = std::get<1>(row.param);
        return nameOf(std::get<0>(row.param)) + "_window" + std::to_string(cell.window) + "_at" +
               std::to_string(cell.position) + "_cell" + std::to_string(cell.cell);
    });

TEST(RingRow, afterTheFirstLetterWindow1TurnsByOne)
{
    MachineControls machine = coretest::startedV5();
    machine.type(U'A');
    EXPECT_EQ(machine.state().cellText(3, 1), "26");
    EXPECT_EQ(machine.state().cellText(3, 2), "01");
    EXPECT_EQ(machine.state().cellText(3, 26), "25");
    EXPECT_EQ(machine.state().cellText(5, 1), "01");
    EXPECT_EQ(machine.state().cellText(7, 1), "01");
}

// --- The lit path ---------------------------------------------------------------------------------------

class LitPath : public ::testing::TestWithParam<Model> {};

// Every row is crossed once out and once back, so each shows one red and one yellow cell; the entry scale
// lights the plain letter red and the cipher letter yellow, and the reflector's columns are partners.
TEST_P(LitPath, oneRedAndOneYellowCellInEveryRow)
{
    MachineControls machine = started(GetParam());
    std::mt19937 random(11);
    for (int letter = 0; letter < 3000; ++letter) {
        if (letter % 97 == 0)
            machine.pressSelector(static_cast<int>(random() % 4) + 1);
        const int plain = static_cast<int>(random() % 26) + 1;
        machine.type(static_cast<char32_t>('@' + plain));
        const rovanta::MachineState& state = machine.state();
        const int cipher = state.output().back() - u'@';
        for (int row = 1; row <= 10; ++row) {
            ASSERT_EQ(coretest::countColour(state, row, CellColour::Red), 1) << "Label" << row;
            ASSERT_EQ(coretest::countColour(state, row, CellColour::Yellow), 1) << "Label" << row;
            ASSERT_EQ(coretest::countColour(state, row, CellColour::White), 24) << "Label" << row;
        }
        ASSERT_EQ(coretest::cellOfColour(state, 1, CellColour::Red), plain);
        ASSERT_EQ(coretest::cellOfColour(state, 1, CellColour::Yellow), cipher);
        for (const int row : {9, 10}) {
            ASSERT_EQ(coretest::cellOfColour(state, row, CellColour::Red) +
                          coretest::cellOfColour(state, row, CellColour::Yellow),
                      27)
                << "Label" << row;
        }
        // The path told on request is the one lit: the numbers the red cells show on the way out to the
        // reflector and the yellow ones on the way back, from the plain letter to the cipher letter.
        const auto path = state.litPath();
        ASSERT_EQ(path.size(), rovanta::MachineState::kPathNumbers);
        ASSERT_EQ(path.front(), plain);
        ASSERT_EQ(path.back(), cipher);
        for (const auto& [at, row, colour] :
             {std::tuple{1, 2, CellColour::Red}, std::tuple{2, 4, CellColour::Red},
              std::tuple{3, 6, CellColour::Red}, std::tuple{4, 8, CellColour::Red},
              std::tuple{5, 10, CellColour::Red}, std::tuple{7, 7, CellColour::Yellow},
              std::tuple{8, 5, CellColour::Yellow}, std::tuple{9, 3, CellColour::Yellow}})
            ASSERT_EQ(path[at], state.cellNumber(row, coretest::cellOfColour(state, row, colour)))
                << "Label" << row;
        // A lookup lights both rows of its stage in one column.
        for (const int first : {1, 3, 5, 7, 9}) {
            for (const CellColour colour : {CellColour::Red, CellColour::Yellow}) {
                ASSERT_EQ(coretest::cellOfColour(state, first, colour),
                          coretest::cellOfColour(state, first + 1, colour))
                    << "Label" << first;
            }
        }
    }
}

// Once the highlight is cleared there is no path to tell.
TEST_P(LitPath, goesWithTheHighlight)
{
    MachineControls machine = started(GetParam());
    machine.type(U'a');
    machine.reset();
    EXPECT_TRUE(machine.state().litCells().empty());
    EXPECT_TRUE(machine.state().litPath().empty());
}

INSTANTIATE_TEST_SUITE_P(Models, LitPath, ::testing::Values(Model::V5, Model::V4),
                         [](const auto& row) { return nameOf(row.param); });

// The panel paints a cell with its colour number, whose bytes run blue, green, red from the lowest.
TEST(LitPath, colourNumbersAreBlueGreenRed)
{
    const std::array<std::pair<CellColour, std::uint32_t>, 3> numbers{
        {{CellColour::Red, 255}, {CellColour::Yellow, 65535}, {CellColour::White, 16777215}}};
    for (const auto& [colour, number] : numbers)
        EXPECT_EQ(rovanta::colourNumber(colour), number) << "colour " << static_cast<int>(colour);
}

// --- Reciprocity ----------------------------------------------------------------------------------------

// A random setting: keys from the selectors (and in the five-point-one model sometimes from a date),
// then windows.
void randomSetting(MachineControls& machine, Model model, std::mt19937& random)
{
    for (int selector = 1; selector <= 4; ++selector) {
        for (auto press = random() % 100; press > 0; --press)
            machine.pressSelector(selector);
    }
    if (model == Model::V5 && random() % 3 == 0) {
        const std::u16string day = std::u16string(u"0") + static_cast<char16_t>(u'1' + random() % 9);
        const std::u16string year = u"20" + std::u16string(1, static_cast<char16_t>(u'0' + random() % 10)) +
                                    std::u16string(1, static_cast<char16_t>(u'0' + random() % 10));
        machine.setByDate(day, u"11", year);
    }
    setWindows(machine, static_cast<int>(random() % 26) + 1, static_cast<int>(random() % 26) + 1,
               static_cast<int>(random() % 26) + 1);
}

class Reciprocity : public ::testing::TestWithParam<std::tuple<Model, unsigned>> {};

TEST_P(Reciprocity, theSameSettingDeciphersAndNoLetterStaysItself)
{
    const auto& [model, seed] = GetParam();
    std::mt19937 random(seed);
    std::mt19937 sameRandom(seed);
    MachineControls sender = started(model);
    MachineControls receiver = started(model);
    randomSetting(sender, model, random);
    randomSetting(receiver, model, sameRandom);

    std::u16string message;
    for (auto length = random() % 2000 + 1; length > 0; --length)
        message += static_cast<char16_t>(u'A' + random() % 26);
    sender.encrypt(message);
    const std::u16string cipher = sender.state().output();
    ASSERT_EQ(cipher.size(), message.size());
    for (std::size_t i = 0; i < message.size(); ++i)
        ASSERT_NE(cipher[i], message[i]) << "letter " << i;
    receiver.encrypt(cipher);
    EXPECT_EQ(receiver.state().output(), message);
}

INSTANTIATE_TEST_SUITE_P(Settings, Reciprocity,
                         ::testing::Combine(::testing::Values(Model::V5, Model::V4),
                                            ::testing::Range(1u, 26u)),
                         [](const auto& row) {
                             return nameOf(std::get<0>(row.param)) + "_seed" +
                                    std::to_string(std::get<1>(row.param));
                         });

TEST(Reciprocity, everyLetterAtEverySettingOfWindow1)
{
    // Typed letter by letter, one letter and then its cipher from the same windows: back to the letter.
    MachineControls machine = coretest::startedV5();
    for (int position = 1; position <= 26; ++position) {
        for (char32_t plain = U'A'; plain <= U'Z'; ++plain) {
            setWindows(machine, position, 7, 19);
            machine.type(plain);
            const char32_t cipher = machine.state().output().back();
            ASSERT_NE(cipher, plain);
            setWindows(machine, position, 7, 19);
            machine.type(cipher);
            ASSERT_EQ(machine.state().output().back(), plain);
        }
    }
}

TEST(Reciprocity, fourAsFromTheStartAreFourOtherLetters)
{
    MachineControls machine = coretest::startedV5();
    machine.encrypt(u"AAAA");
    ASSERT_EQ(machine.state().output().size(), 4u);
    EXPECT_EQ(machine.state().output().find(u'A'), std::u16string::npos);
}

} // namespace
