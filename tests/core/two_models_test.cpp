// Read through the letter form, the two models are one machine: a four model given the letter forms of
// the five-point-one keys enciphers alike and lights the same cells.
#include "apps/rovanta-v4/settings.h"
#include "apps/rovanta-v5/settings.h"
#include "tests/core/test_support.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using rovanta::MachineControls;
using rovanta::WindowButton;

// The four model's settings with the five-point-one keys 1 to 100 in letter form.
rovanta::ModelSettings v4WithV5Keys()
{
    static const std::array<std::string, rovanta::MachineState::kBookSlots> letterKeys = [] {
        std::array<std::string, rovanta::MachineState::kBookSlots> keys;
        for (std::size_t slot = 1; slot < keys.size(); ++slot)
            keys[slot] = coretest::letterForm(rovanta::v5::kKeyBook[slot]);
        return keys;
    }();
    rovanta::ModelSettings settings = rovanta::v4::modelSettings();
    for (std::size_t slot = 1; slot < letterKeys.size(); ++slot)
        settings.keybook[slot] = letterKeys[slot];
    return settings;
}

std::string letterOf(std::string_view twoDigits)
{
    if (twoDigits.empty())
        return {};
    return std::string(1, static_cast<char>('@' + (twoDigits[0] - '0') * 10 + (twoDigits[1] - '0')));
}

// Cell texts in letter form, windows, captions, output and letternum; colours too when asked, because the
// four model's window buttons keep the highlight that the five-point-one model's clear.
std::string differences(const rovanta::MachineState& v5, const rovanta::MachineState& v4, bool colours)
{
    std::string found;
    for (int row = 1; row <= 10 && found.size() < 400; ++row) {
        for (int cell = 1; cell <= 26; ++cell) {
            const std::string where = "Label" + std::to_string(row) + "(" + std::to_string(cell) + ")";
            if (letterOf(v5.cellText(row, cell)) != v4.cellText(row, cell))
                found += where + " text\n";
            if (colours && v5.cellColour(row, cell) != v4.cellColour(row, cell))
                found += where + " colour\n";
        }
    }
    for (int window = 1; window <= 3; ++window) {
        if (v5.windowText(window) != v4.windowText(window))
            found += "window " + std::to_string(window) + "\n";
    }
    for (int selector = 1; selector <= 4; ++selector) {
        if (v5.selectorCaption(selector) != v4.selectorCaption(selector))
            found += "caption " + std::to_string(selector) + "\n";
    }
    if (v5.output() != v4.output())
        found += "output\n";
    if (v5.letternum() != v4.letternum())
        found += "letternum \"" + coretest::ascii(v5.letternum()) + "\" and \"" +
                 coretest::ascii(v4.letternum()) + "\"\n";
    return found;
}

class OneMachine : public ::testing::TestWithParam<unsigned> {};

TEST_P(OneMachine, twoDigitAndLetterFormsEncipherAndLightAlike)
{
    std::mt19937 random(GetParam());
    const auto uniform = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    MachineControls v5(rovanta::v5::modelSettings());
    MachineControls v4(v4WithV5Keys());
    v5.startUp();
    v4.startUp();
    ASSERT_EQ(differences(v5.state(), v4.state(), true), "");
    // The highlights part at a window button and meet again at the next letter.
    bool sameHighlight = true;
    for (int action = 0; action < 60; ++action) {
        const int kind = uniform(0, 9);
        if (kind < 2) {
            const int selector = uniform(1, 4);
            for (int press = uniform(1, 120); press > 0; --press) {
                v5.pressSelector(selector);
                v4.pressSelector(selector);
            }
        } else if (kind < 4) {
            const auto button = static_cast<WindowButton>(uniform(2, 7));
            for (int press = uniform(1, 30); press > 0; --press) {
                v5.pressWindowButton(button);
                v4.pressWindowButton(button);
            }
            sameHighlight = false;
        } else if (kind < 6) {
            for (int letter = uniform(1, 20); letter > 0; --letter) {
                const auto character = static_cast<char32_t>((uniform(0, 1) ? U'a' : U'A') + uniform(0, 25));
                v5.type(character);
                v4.type(character);
                sameHighlight = true;
                ASSERT_EQ(differences(v5.state(), v4.state(), true), "")
                    << "typed " << static_cast<char>(character);
            }
        } else {
            std::u16string message;
            for (int letter = uniform(0, 3) == 0 ? uniform(600, 2000) : uniform(0, 30); letter > 0; --letter)
                message += static_cast<char16_t>(u'A' + uniform(0, 25));
            if (uniform(0, 9) == 0)
                message += u'7';
            v5.encrypt(message);
            v4.encrypt(message);
            sameHighlight = !v4.state().message().empty() || sameHighlight;
        }
        ASSERT_EQ(differences(v5.state(), v4.state(), sameHighlight), "") << "action " << action;
    }
}

INSTANTIATE_TEST_SUITE_P(Sessions, OneMachine, ::testing::Range(1u, 31u));

} // namespace
