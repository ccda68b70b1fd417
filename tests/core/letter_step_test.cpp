// One letter through the machine: the lit path and the path told on request, and the machine's two promises
// (it deciphers what it enciphers, and never leaves a letter as itself). Windows and rings are checked
// against the reference machine.
#include "tests/core/test_support.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>

namespace {

using coretest::setWindows;
using rovanta::CellColour;
using rovanta::MachineControls;

using coretest::Model;
using coretest::nameOf;
using coretest::started;

// --- The lit path ---------------------------------------------------------------------------------------

class LitPath : public ::testing::TestWithParam<Model> {};

// The path told on request is the one lit: the numbers the red cells show on the way out to the reflector
// and the yellow ones on the way back, from the plain letter to the cipher letter. Which cells are lit is
// checked against the reference machine.
TEST_P(LitPath, isTheOneLit)
{
    MachineControls machine = started(GetParam());
    std::mt19937 random(11);
    for (int letter = 0; letter < 3000; ++letter) {
        if (letter % 97 == 0)
            machine.pressSelector(static_cast<int>(random() % 4) + 1);
        const int plain = static_cast<int>(random() % 26) + 1;
        machine.type(static_cast<char32_t>('@' + plain));
        const rovanta::MachineState& state = machine.state();
        const auto path = state.litPath();
        ASSERT_EQ(path.size(), rovanta::MachineState::kPathNumbers);
        ASSERT_EQ(path.front(), plain);
        ASSERT_EQ(path.back(), state.output().back() - u'@');
        for (const auto& [at, row, colour] :
             {std::tuple{1, 2, CellColour::Red}, std::tuple{2, 4, CellColour::Red},
              std::tuple{3, 6, CellColour::Red}, std::tuple{4, 8, CellColour::Red},
              std::tuple{5, 10, CellColour::Red}, std::tuple{7, 7, CellColour::Yellow},
              std::tuple{8, 5, CellColour::Yellow}, std::tuple{9, 3, CellColour::Yellow}})
            ASSERT_EQ(path[at], state.cellNumber(row, coretest::cellOfColour(state, row, colour)))
                << "Label" << row;
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

} // namespace
