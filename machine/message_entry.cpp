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

// Walks a UTF-16 text one character at a time; a surrogate pair is one character, a lone surrogate is one
// character of its own.
template <typename Visit> void forEachCharacter(std::u16string_view text, Visit visit)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length =
            (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) ? 2 : 1;
        if (!visit(text.substr(i, length)))
            return;
        i += length;
    }
}

char32_t codePoint(std::u16string_view character)
{
    if (character.size() == 2)
        return 0x10000 + ((char32_t(character[0]) - 0xD800) << 10) + (char32_t(character[1]) - 0xDC00);
    return character[0];
}

void appendCharacter(std::u16string& text, char32_t character)
{
    if (character < 0x10000) {
        text.push_back(static_cast<char16_t>(character));
        return;
    }
    character -= 0x10000;
    text.push_back(static_cast<char16_t>(0xD800 + (character >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (character & 0x3FF)));
}

// Encrypt's cleaning: the upper-case form of a text, character by character, without its spaces. No
// character upper-cases to a space or from one, so both are done in the one pass.
std::u16string upperCasedWithoutSpaces(std::u16string_view text)
{
    std::u16string upper;
    upper.reserve(text.size());
    forEachCharacter(text, [&](std::u16string_view character) {
        const char16_t unit = character[0];
        if (unit == u' ')
            return true;
        if (unit < 0x80)
            upper.push_back(unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - 32) : unit);
        else
            appendCharacter(upper, upperCase(codePoint(character)));
        return true;
    });
    return upper;
}

} // namespace

char32_t upperCase(char32_t character)
{
    if (character < 0x80)
        return character >= U'a' && character <= U'z' ? character - 32 : character;
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
    std::u16string_view rejected;
    forEachCharacter(cleaned, [&](std::u16string_view character) {
        if (character.size() == 1 && isCapital(character[0]))
            return true;
        rejected = character;
        return false;
    });
    if (!rejected.empty()) {
        machine.setLetternum(std::u16string(rejected));
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
