#pragma once

#include "keysetting/machine_controls.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A second machine for the tests, the fuzzers and the benchmark's yardstick, written as plain arithmetic
// on position numbers from the wiring diagram: keys by number, windows as an odometer, the ring of window
// w showing ((i - w) mod 26) + 1 in cell i, the reflector pairing n with 27 - n. It shares no code and no
// table with the machine, so the two can only agree by both being right.
namespace reference {

// A key as numbers: key[i] is the key's i-th number, index 0 unused.
using Key = std::array<int, 27>;

// The capital live typing enciphers for one character, or 0 for a Backspace. Only ASCII letters and the
// two letters whose capital is ASCII (dotless i, long s) are letters.
char16_t capitalOf(char32_t character);

// Characters as the machine counts them: a surrogate pair is one, a lone surrogate one of its own.
std::u32string charactersOf(std::u16string_view text);

// The capitals Encrypt makes of a message (upper case, spaces dropped), or nothing when it must reject it.
std::optional<std::u16string> capitalsOf(std::u16string_view message);

// The machine as start-up leaves it, then worked by the same operator actions as the real one.
class ReferenceMachine {
public:
    explicit ReferenceMachine(const rovanta::ModelSettings& settings);

    // The typed character's capital, enciphered, or 0 for a Backspace.
    char16_t type(char32_t character);
    // False when the message is rejected.
    bool encrypt(std::u16string_view message);
    // The letter path alone for a run of capitals 'A' to 'Z', as Encrypt runs it once the message is clean.
    void encipherCapitals(std::u16string_view capitals);
    void pressSelector(int selector);
    void pressWindowButton(rovanta::WindowButton button);
    void reset();
    bool setByDate(std::u16string_view day, std::u16string_view month, std::u16string_view year);
    void editOutput(std::u16string text) { m_output = std::move(text); }

    int window(int window) const { return m_windows[static_cast<std::size_t>(window)]; }
    const std::string& caption(int selector) const { return m_captions[static_cast<std::size_t>(selector)]; }
    // The number cell `cell` of row Label`row` shows.
    int cellNumber(int row, int cell) const;
    rovanta::CellColour colour(int row, int cell) const;
    // Unknown after Encrypt rejected a character outside ASCII, whose capital only the machine's own
    // upper-casing knows.
    const std::optional<std::u16string>& letternum() const { return m_letternum; }
    const std::u16string& message() const { return m_message; }
    const std::u16string& output() const { return m_output; }
    const rovanta::ModelSettings& settings() const { return m_settings; }

private:
    enum class Highlight : std::uint8_t { Standard, White, Path };

    int encipher(int plain);
    void setKey(int selector, int number, std::string caption);
    void takeStartKeys();

    rovanta::ModelSettings m_settings;
    std::array<Key, 101> m_book{};
    std::array<Key, 101> m_inverse{}; // m_inverse[k][n]: the cell of key k that holds n
    std::array<int, 5> m_keyNumbers{};
    std::array<std::string, 5> m_captions;
    std::array<int, 4> m_windows{0, 1, 1, 1};
    std::optional<std::u16string> m_letternum{std::u16string()};
    std::u16string m_message;
    std::u16string m_output;
    Highlight m_highlight = Highlight::Standard;
    // The last letter's path: the cell lit red and the cell lit yellow in each row.
    std::array<int, 11> m_red{};
    std::array<int, 11> m_yellow{};
};

// The first differences between the real machine and the reference, one per line; empty when they agree
// on every window, caption, key book slot, cell text and colour, letternum, message and output.
std::string differences(const rovanta::MachineState& machine, const ReferenceMachine& reference,
                        bool compareMessage = true);

} // namespace reference
