// The known answers the README gives an operator for checking a machine: each setting enciphers its plain
// text to the cipher text shown, leaves the windows where shown, and deciphers the cipher text back.
#include "keysetting/selectors.h"
#include "tests/core/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <string_view>

namespace {

using coretest::Model;

struct KnownAnswer {
    Model model;
    std::array<int, 4> keys;    // Key 1 to Key 4
    std::array<int, 3> windows; // window 1 to window 3 before the first letter
    std::string_view plain;
    std::string_view cipher;
    std::array<int, 3> windowsAfter; // window 1 to window 3 after the last letter
};

// Copied from the README's table; change both together.
constexpr std::array<KnownAnswer, 6> kKnownAnswers{{
    {Model::V5,
     {12, 47, 83, 5},
     {3, 17, 22},
     "WHEELSTURNINTHEDARKNIGHT",
     "VQTOFTOYEJJWMZGHFLJMDYRU",
     {1, 18, 22}},
    {Model::V5, {7, 91, 38, 56}, {9, 1, 14}, "MEETATTHEOLDMILLATDAWN", "WXFLQWYLANXKJSHBJLCRXW", {5, 2, 14}},
    {Model::V5,
     {100, 1, 64, 29},
     {26, 26, 26},
     "ALLTHREEWINDOWSTURNATONCE",
     "DNINSSIJCNGAMSPFEXDMCJUHI",
     {25, 1, 1}},
    {Model::V4,
     {12, 47, 83, 5},
     {3, 17, 22},
     "WHEELSTURNINTHEDARKNIGHT",
     "FQMDRPHMPKLWIIJJKDOXLATF",
     {1, 18, 22}},
    {Model::V4,
     {33, 2, 76, 100},
     {20, 5, 11},
     "SENDMORESUPPLIESBYTHURSDAY",
     "CIIVZHGMPFJLCESJNFKOQUEHRQ",
     {20, 6, 11}},
    {Model::V4,
     {1, 2, 3, 4},
     {26, 26, 26},
     "ALLTHREEWINDOWSTURNATONCE",
     "REAHPJARZSKTYECWLQHDOJYVF",
     {25, 1, 1}},
}};

void PrintTo(const KnownAnswer& row, std::ostream* out)
{
    *out << coretest::nameOf(row.model) << " " << row.plain;
}

// A started machine set as the operator sets it: the selectors pressed round to the keys, then the windows.
rovanta::MachineControls setTo(const KnownAnswer& row)
{
    rovanta::MachineControls machine = coretest::started(row.model);
    for (int selector = 1; selector <= 4; ++selector) {
        const std::string caption = rovanta::selectorCaption(row.keys[selector - 1]);
        while (machine.state().selectorCaption(selector) != caption)
            machine.pressSelector(selector);
    }
    coretest::setWindows(machine, row.windows[0], row.windows[1], row.windows[2]);
    return machine;
}

std::string encryptFrom(const KnownAnswer& row, std::string_view text, std::array<int, 3>* windowsAfter)
{
    rovanta::MachineControls machine = setTo(row);
    machine.encrypt(std::u16string(text.begin(), text.end()));
    if (windowsAfter) {
        for (int window = 1; window <= 3; ++window)
            (*windowsAfter)[window - 1] = machine.state().window(window);
    }
    return coretest::ascii(machine.state().output());
}

class KnownAnswers : public ::testing::TestWithParam<KnownAnswer> {};

TEST_P(KnownAnswers, settingEnciphersToTheCipherTextAndBack)
{
    const KnownAnswer& row = GetParam();
    std::array<int, 3> windowsAfter{};
    EXPECT_EQ(encryptFrom(row, row.plain, &windowsAfter), row.cipher);
    EXPECT_EQ(windowsAfter, row.windowsAfter);
    EXPECT_EQ(encryptFrom(row, row.cipher, nullptr), row.plain);
}

INSTANTIATE_TEST_SUITE_P(Readme, KnownAnswers, ::testing::ValuesIn(kKnownAnswers), [](const auto& row) {
    return coretest::nameOf(row.param.model) + "_row" + std::to_string(row.index + 1);
});

} // namespace
