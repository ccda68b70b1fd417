#include "machine/message_entry.h"

#include <algorithm>
#include <array>
#include <utility>

namespace rovanta {

namespace {

struct CaseMapping {
    char32_t character;
    char32_t upper;
};

constexpr CaseMapping kUpperCase[] = {
#include "machine/upper_case_table.inc"
};

bool isCapital(char32_t character)
{
    return character >= U'A' && character <= U'Z';
}

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// A surrogate pair is one character; a lone surrogate is one character of its own.
std::size_t characterLength(std::u16string_view text, std::size_t i)
{
    return isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]) ? 2 : 1;
}

char32_t codePoint(std::u16string_view character)
{
    if (character.size() == 2)
        return 0x10000 + ((char32_t(character[0]) - 0xD800) << 10) + (char32_t(character[1]) - 0xDC00);
    return character[0];
}

// Writes a character as one unit or a surrogate pair, and returns where the next one goes.
char16_t* written(char16_t* out, char32_t character)
{
    if (character < 0x10000) {
        *out++ = static_cast<char16_t>(character);
        return out;
    }
    character -= 0x10000;
    *out++ = static_cast<char16_t>(0xD800 + (character >> 10));
    *out++ = static_cast<char16_t>(0xDC00 + (character & 0x3FF));
    return out;
}

// Nearly every message is ASCII, and most of it needs no space dropped. Such a block is upper-cased unit by
// unit without decoding characters, in loops the compiler turns into vector code.
constexpr std::size_t kBlock = 32;

enum class Block : std::uint8_t { Plain, Spaced, Other };

Block kindOfBlock(const char16_t* units)
{
    unsigned wide = 0;
    unsigned space = 0;
    for (std::size_t k = 0; k < kBlock; ++k) {
        wide |= units[k] & ~0x7Fu;
        space |= units[k] == u' ';
    }
    if (wide != 0)
        return Block::Other;
    return space != 0 ? Block::Spaced : Block::Plain;
}

char16_t asciiUpper(char16_t unit)
{
    return static_cast<char16_t>(unit - (unit >= u'a' && unit <= u'z' ? 32 : 0));
}

// Encrypt's cleaning: the upper-case form of a text, character by character, without its spaces. No
// character upper-cases to a space or from one, so both are done in the one pass.
std::u16string upperCasedWithoutSpaces(std::u16string_view text)
{
    std::u16string upper(text.size(), u'\0');
    char16_t* out = upper.data();
    std::size_t i = 0;
    while (i < text.size()) {
        const Block block = text.size() - i >= kBlock ? kindOfBlock(text.data() + i) : Block::Other;
        if (block == Block::Plain) {
            for (std::size_t k = 0; k < kBlock; ++k)
                out[k] = asciiUpper(text[i + k]);
            out += kBlock;
            i += kBlock;
        } else if (block == Block::Spaced) {
            for (std::size_t k = 0; k < kBlock; ++k) {
                *out = asciiUpper(text[i + k]);
                out += text[i + k] != u' ';
            }
            i += kBlock;
        } else {
            // One character at a time, until the next block.
            const std::size_t length = characterLength(text, i);
            const std::u16string_view character = text.substr(i, length);
            i += length;
            if (character[0] == u' ')
                continue;
            // No character upper-cases into another plane, so the text never outgrows its units.
            out = written(out, upperCase(codePoint(character)));
        }
    }
    upper.resize(static_cast<std::size_t>(out - upper.data()));
    return upper;
}

// Where the first character that is not a capital A to Z starts; the text's size when there is none. Every
// unit before it is a whole character, so it starts at the first unit that is not a capital.
std::size_t firstNonCapital(std::u16string_view text)
{
    std::size_t i = 0;
    for (; text.size() - i >= kBlock; i += kBlock) {
        unsigned outside = 0;
        for (std::size_t k = 0; k < kBlock; ++k)
            outside |= static_cast<unsigned>(text[i + k] - u'A') > 25u;
        if (outside != 0)
            break;
    }
    while (i < text.size() && isCapital(text[i]))
        ++i;
    return i;
}

} // namespace

char32_t upperCase(char32_t character)
{
    if (character < 0x80)
        return asciiUpper(static_cast<char16_t>(character));
    const auto* end = std::end(kUpperCase);
    const auto* found = std::lower_bound(std::begin(kUpperCase), end, character,
                                         [](const CaseMapping& m, char32_t c) { return m.character < c; });
    return found != end && found->character == character ? found->upper : character;
}

Typed typeCharacter(MachineState& machine, char32_t character)
{
    const char32_t upper = upperCase(character);
    if (!isCapital(upper))
        return {TypedKey::Backspace, 0};
    machine.setLetternumToPosition(static_cast<int>(upper - U'@'));
    machine.getkey();
    return {TypedKey::Letter, static_cast<char16_t>(upper)};
}

Encrypted encrypt(MachineState& machine, std::u16string_view message)
{
    Encrypted result;
    std::u16string cleaned = upperCasedWithoutSpaces(message);
    // The check runs over the whole message before any letter is enciphered.
    const std::size_t rejected = firstNonCapital(cleaned);
    if (rejected != cleaned.size()) {
        machine.setLetternum(cleaned.substr(rejected, characterLength(cleaned, rejected)));
        machine.setMessage({});
        result.outcome = EncryptOutcome::Rejected;
        result.cleaned = std::move(cleaned);
        return result;
    }
    machine.setMessage(std::move(cleaned));
    machine.encipherCapitals(machine.message());
    return result;
}

} // namespace rovanta
