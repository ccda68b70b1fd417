#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Position numbers 1 to 26 and the two ways the machine writes them.
namespace rovanta {

inline constexpr int kCells = 26;
inline constexpr int kRows = 10;
inline constexpr int kWindows = 3;
inline constexpr int kSelectors = 4;

// How a model writes the position numbers in its cells and in letternum: the five-point-one model as
// two digits "01" to "26", the four model as the letter form "A" to "Z". The windows are always two digits.
enum class CellAlphabet : std::uint8_t { TwoDigit, Letter };

// "01" to "26" for 1 to 26; empty for anything else (an empty key cell holds 0).
std::string_view twoDigitText(int number);

// "A" to "Z" for 1 to 26; empty for anything else.
std::string_view letterText(int number);

// The text a cell of the given alphabet shows for a position number; empty for 0.
std::string_view cellText(CellAlphabet alphabet, int number);

// The position number a cell text names, or 0 when the text is not exactly one of the 26 texts of the
// alphabet ("5" never matches "05").
int positionOfText(CellAlphabet alphabet, std::string_view text);
int positionOfText(CellAlphabet alphabet, std::u16string_view text);

// How many characters a position number takes in a cell of the alphabet: 2 or 1.
std::size_t positionWidth(CellAlphabet alphabet);

// The number an operator's text names: one or more ASCII digits and nothing else. Every number the
// machine reads is far below the bound, so larger values are held there instead of overflowing.
template <typename Char> std::optional<int> wholeNumber(std::basic_string_view<Char> text)
{
    constexpr int kBound = 1'000'000;
    if (text.empty())
        return std::nullopt;
    int value = 0;
    for (const Char digit : text) {
        if (digit < '0' || digit > '9')
            return std::nullopt;
        value = std::min(value * 10 + static_cast<int>(digit - '0'), kBound);
    }
    return value;
}

} // namespace rovanta
