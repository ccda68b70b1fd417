#pragma once

#include "keysetting/machine.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What the fuzzers share: the fuzzer's bytes read as text, and a second machine written as plain arithmetic
// on position numbers (no rows, no texts), worked alongside the real one and compared with it after every
// operator action. A broken rule aborts, so the fuzzer keeps the input that broke it.
namespace fuzz {

// A mismatch ends the run with the input's crash report.
void expect(bool holds, std::string_view what);

// A code point in UTF-16: one unit, or a surrogate pair above the first plane.
void appendCodePoint(std::u16string& text, char32_t character);

// The bytes as UTF-8, read leniently: any lead byte with its continuation bytes gives a code point, even a
// surrogate or an overlong form, so every UTF-16 text (lone surrogates too) can be written in a seed
// file. A byte that fits no sequence stands for itself.
std::u16string textOf(const std::uint8_t* data, std::size_t size);

// Characters as the machine counts them: a surrogate pair is one, a lone surrogate one of its own.
std::u32string charactersOf(std::u16string_view text);

// The capitals Encrypt makes of a message (upper case, spaces dropped), or nothing when it must reject it.
// Only ASCII letters and the two letters whose capital is ASCII (dotless i, long s) are letters.
std::optional<std::u16string> capitalsOf(std::u16string_view message);
// The capital live typing enciphers for one character, or 0 for a Backspace.
char16_t capitalOf(char32_t character);

// A key as numbers: key[i] is the key's i-th number, index 0 unused.
using Key = std::array<int, 27>;

// The plain arithmetic of the machine: keys by number, windows as an odometer, the reflector pairing n with
// 27 - n. Each operator action is mirrored here, and `check` compares everything the panel shows.
class Reference {
public:
    explicit Reference(const rovanta::ModelSettings& settings);

    // The typed character's capital, enciphered, or 0 for a Backspace.
    char16_t type(char32_t character);
    // False when the message is rejected.
    bool encrypt(std::u16string_view message);
    void pressSelector(int selector);
    void pressWindowButton(rovanta::WindowButton button);
    void reset();
    bool setByDate(std::u16string_view day, std::u16string_view month, std::u16string_view year);
    void editOutput(std::u16string text) { m_output = std::move(text); }

    const std::u16string& output() const { return m_output; }

    // Windows, rows, captions, key book, colours, message and output of the real machine against this one.
    void check(const rovanta::Machine& machine) const;

private:
    enum class Highlight : std::uint8_t { Standard, White, Path };

    char16_t encipher(int plain);
    void setKey(int selector, int number, std::string caption);
    const Key& key(int number) const { return m_book[static_cast<std::size_t>(number)]; }
    // The text is the number written in the model's form.
    bool shows(std::string_view text, int number) const;
    void checkRows(const rovanta::MachineState& state) const;
    void checkColours(const rovanta::MachineState& state) const;

    rovanta::ModelSettings m_settings;
    std::array<Key, 101> m_book{};
    std::array<int, 5> m_keyNumbers{};
    std::array<std::string, 5> m_captions;
    std::array<int, 4> m_windows{0, 1, 1, 1};
    std::u16string m_message;
    std::u16string m_output;
    Highlight m_highlight = Highlight::Standard;
    // The last letter's path: the cell lit red and the cell lit yellow in each row.
    std::array<int, 11> m_red{};
    std::array<int, 11> m_yellow{};
};

// The machine as it stood before a run of letters turns the cipher they added to the output back into them.
void expectReciprocal(const rovanta::Machine& before, const rovanta::Machine& after,
                      std::u16string_view plain);

} // namespace fuzz
