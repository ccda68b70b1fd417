#include "machine/position.h"

#include <array>

namespace rovanta {

namespace {

constexpr std::string_view kTwoDigits = "000102030405060708091011121314151617181920212223242526";
constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

bool isPosition(int number)
{
    return number >= 1 && number <= kCells;
}

template <typename Char> int positionOfTwoDigits(std::basic_string_view<Char> text)
{
    if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9')
        return 0;
    const int number = (text[0] - '0') * 10 + (text[1] - '0');
    return isPosition(number) ? number : 0;
}

template <typename Char> int positionOfLetter(std::basic_string_view<Char> text)
{
    if (text.size() != 1 || text[0] < 'A' || text[0] > 'Z')
        return 0;
    return text[0] - 'A' + 1;
}

template <typename Char> int positionOf(CellAlphabet alphabet, std::basic_string_view<Char> text)
{
    return alphabet == CellAlphabet::TwoDigit ? positionOfTwoDigits(text) : positionOfLetter(text);
}

} // namespace

std::string_view twoDigitText(int number)
{
    if (!isPosition(number))
        return {};
    return kTwoDigits.substr(static_cast<std::size_t>(2 * number), 2);
}

std::string_view letterText(int number)
{
    if (!isPosition(number))
        return {};
    return kLetters.substr(static_cast<std::size_t>(number - 1), 1);
}

std::string_view cellText(CellAlphabet alphabet, int number)
{
    return alphabet == CellAlphabet::TwoDigit ? twoDigitText(number) : letterText(number);
}

std::size_t positionWidth(CellAlphabet alphabet)
{
    return alphabet == CellAlphabet::TwoDigit ? 2 : 1;
}

int positionOfText(CellAlphabet alphabet, std::string_view text)
{
    return positionOf(alphabet, text);
}

int positionOfText(CellAlphabet alphabet, std::u16string_view text)
{
    return positionOf(alphabet, text);
}

} // namespace rovanta
