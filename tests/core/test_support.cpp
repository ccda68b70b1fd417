#include "tests/core/test_support.h"

#include "apps/rovanta-v4/settings.h"
#include "apps/rovanta-v5/settings.h"

#include <sstream>

namespace coretest {

oracle::TextMachineSettings textSettingsOf(const rovanta::ModelSettings& settings)
{
    oracle::TextMachineSettings text;
    text.form =
        settings.alphabet == rovanta::CellAlphabet::TwoDigit ? oracle::Form::TwoDigit : oracle::Form::Letter;
    for (std::size_t slot = 0; slot < text.keybook.size(); ++slot)
        text.keybook[slot] = std::string(settings.keybook[slot]);
    text.resetRestoresStartKeys = settings.resetRestoresStartKeys;
    text.windowButtonsClearHighlight = settings.windowButtonsClearHighlight;
    return text;
}

std::uint32_t colourNumberOf(rovanta::CellColour colour)
{
    return colour == rovanta::CellColour::Standard ? oracle::kStandard : rovanta::colourNumber(colour);
}

std::string ascii(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char16_t unit : text)
        out += unit < 0x80 ? static_cast<char>(unit) : '?';
    return out;
}

std::string differences(const rovanta::MachineState& model, const oracle::TextMachine& text,
                        bool compareMessage)
{
    std::ostringstream out;
    int found = 0;
    // Called for every field of every check, so the description is only put together for a difference.
    const auto differ = [&](auto&& what, const auto& modelValue, const auto& textValue) {
        if (modelValue == textValue || ++found > 8)
            return;
        out << what() << ": model \"" << modelValue << "\", text machine \"" << textValue << "\"\n";
    };
    for (int window = 1; window <= 3; ++window)
        differ([&] { return "window " + std::to_string(window); }, model.windowText(window),
               text.window(window));
    for (int selector = 1; selector <= 4; ++selector) {
        differ([&] { return "caption " + std::to_string(selector); }, model.selectorCaption(selector),
               text.caption(selector));
    }
    for (int row = 1; row <= 10; ++row) {
        for (int cell = 1; cell <= 26; ++cell) {
            const auto where = [&] {
                return "Label" + std::to_string(row) + "(" + std::to_string(cell) + ")";
            };
            differ([&] { return where() + " text"; }, model.cellText(row, cell), text.cell(row, cell));
            differ([&] { return where() + " colour"; }, colourNumberOf(model.cellColour(row, cell)),
                   text.colour(row, cell));
        }
    }
    differ([] { return "letternum"; }, ascii(model.letternum()), text.letternum());
    if (compareMessage)
        differ([] { return "message"; }, ascii(model.message()), text.message());
    if (model.output() != std::u16string(text.output().begin(), text.output().end())) {
        const std::string modelOutput = ascii(model.output());
        std::size_t at = 0;
        while (at < modelOutput.size() && at < text.output().size() && modelOutput[at] == text.output()[at])
            ++at;
        out << "output differs at letter " << at << " (lengths " << modelOutput.size() << " and "
            << text.output().size() << ")\n";
    }
    return out.str();
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

void setWindows(rovanta::Machine& machine, int w1, int w2, int w3)
{
    using rovanta::WindowButton;
    const std::array<std::pair<int, WindowButton>, 3> windows{
        {{w1, WindowButton::Command6}, {w2, WindowButton::Command4}, {w3, WindowButton::Command2}}};
    for (int window = 1; window <= 3; ++window) {
        while (machine.state().window(window) != windows[window - 1].first)
            machine.pressWindowButton(windows[window - 1].second);
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

rovanta::Machine started(Model model)
{
    rovanta::Machine machine(settingsOf(model));
    machine.startUp();
    return machine;
}

rovanta::Machine startedV5()
{
    return started(Model::V5);
}

rovanta::Machine startedV4()
{
    return started(Model::V4);
}

std::string letterForm(std::string_view twoDigitKey)
{
    std::string letters;
    for (std::size_t i = 0; i + 1 < twoDigitKey.size(); i += 2)
        letters += static_cast<char>('@' + (twoDigitKey[i] - '0') * 10 + (twoDigitKey[i + 1] - '0'));
    return letters;
}

int countColour(const rovanta::MachineState& state, int row, rovanta::CellColour colour)
{
    int count = 0;
    for (int cell = 1; cell <= 26; ++cell)
        count += state.cellColour(row, cell) == colour ? 1 : 0;
    return count;
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
