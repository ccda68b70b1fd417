#include "tests/core/test_support.h"

#include "apps/rovanta-v4/settings.h"
#include "apps/rovanta-v5/settings.h"

#include <gtest/gtest.h>

#include <sstream>

namespace coretest {

std::uint32_t colourNumberOf(rovanta::CellColour colour)
{
    return colour == rovanta::CellColour::Standard ? kStandard : rovanta::colourNumber(colour);
}

std::string ascii(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char16_t unit : text)
        out += unit < 0x80 ? static_cast<char>(unit) : '?';
    return out;
}

Panel panelOf(const rovanta::MachineState& state)
{
    Panel panel;
    for (int row = 1; row <= 10; ++row) {
        for (int cell = 1; cell <= 26; ++cell) {
            panel.texts[(row - 1) * 26 + cell] = std::string(state.cellText(row, cell));
            panel.colours[(row - 1) * 26 + cell] = colourNumberOf(state.cellColour(row, cell));
        }
    }
    for (int window = 1; window <= 3; ++window)
        panel.windows[window] = std::string(state.windowText(window));
    for (int selector = 1; selector <= 4; ++selector)
        panel.captions[selector] = state.selectorCaption(selector);
    panel.letternum = state.letternum();
    panel.message = state.message();
    panel.output = state.output();
    return panel;
}

std::string differences(const Panel& actual, const Panel& expected)
{
    std::ostringstream out;
    int found = 0;
    const auto differ = [&](auto&& what, const auto& actualValue, const auto& expectedValue) {
        if (actualValue == expectedValue || ++found > 8)
            return;
        out << what() << ": \"" << actualValue << "\", expected \"" << expectedValue << "\"\n";
    };
    for (std::size_t i = 1; i < actual.texts.size(); ++i) {
        const auto where = [&] {
            return "Label" + std::to_string((i - 1) / 26 + 1) + "(" + std::to_string((i - 1) % 26 + 1) + ")";
        };
        differ([&] { return where() + " text"; }, actual.texts[i], expected.texts[i]);
        differ([&] { return where() + " colour"; }, actual.colours[i], expected.colours[i]);
    }
    for (std::size_t i = 1; i < actual.windows.size(); ++i)
        differ([&] { return "window " + std::to_string(i); }, actual.windows[i], expected.windows[i]);
    for (std::size_t i = 1; i < actual.captions.size(); ++i)
        differ([&] { return "caption " + std::to_string(i); }, actual.captions[i], expected.captions[i]);
    differ([] { return "letternum"; }, ascii(actual.letternum), ascii(expected.letternum));
    if (actual.letternum != expected.letternum && ascii(actual.letternum) == ascii(expected.letternum))
        out << "letternum differs outside ASCII\n";
    differ([] { return "message"; }, ascii(actual.message), ascii(expected.message));
    differ([] { return "output"; }, ascii(actual.output), ascii(expected.output));
    return out.str();
}

void pressUntil(int window, int position, const std::function<int()>& shown,
                const std::function<void()>& press)
{
    for (int presses = 0; shown() != position; ++presses) {
        if (presses == rovanta::kCells) {
            ADD_FAILURE() << "window " << window << " shows " << shown()
                          << " after a full turn of its button, never " << position;
            return;
        }
        press();
    }
}

void setWindows(rovanta::MachineControls& machine, int w1, int w2, int w3)
{
    using rovanta::WindowButton;
    const std::array<std::pair<int, WindowButton>, 3> windows{
        {{w1, WindowButton::Command6}, {w2, WindowButton::Command4}, {w3, WindowButton::Command2}}};
    for (int window = 1; window <= 3; ++window) {
        const auto& [position, button] = windows[window - 1];
        pressUntil(
            window, position, [&] { return machine.state().window(window); },
            [&] { machine.pressWindowButton(button); });
    }
}

rovanta::ModelSettings settingsOf(Model model)
{
    return model == Model::V5 ? rovanta::v5::modelSettings() : rovanta::v4::modelSettings();
}

std::string nameOf(Model model)
{
    return model == Model::V5 ? "v5" : "v4";
}

void PrintTo(Model model, std::ostream* out)
{
    *out << nameOf(model);
}

rovanta::MachineControls started(Model model)
{
    rovanta::MachineControls machine(settingsOf(model));
    machine.startUp();
    return machine;
}

rovanta::MachineControls startedV5()
{
    return started(Model::V5);
}

int cellOfColour(const rovanta::MachineState& state, int row, rovanta::CellColour colour)
{
    for (int cell = 1; cell <= 26; ++cell) {
        if (state.cellColour(row, cell) == colour)
            return cell;
    }
    return 0;
}

} // namespace coretest
