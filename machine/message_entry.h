#pragma once

#include "machine/machine_state.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace rovanta {

// The simple one-to-one Unicode upper-case mapping of one character (a code point). It never changes the
// number of characters: "ß" stays "ß".
char32_t upperCase(char32_t character);

// What one typed character does to the message box.
enum class TypedKey : std::uint8_t {
    Letter,   // the box inserts `capital`; the letter has been enciphered
    Backspace // the box acts as if Backspace had been typed; nothing was enciphered
};

struct Typed {
    TypedKey key = TypedKey::Backspace;
    char16_t capital = 0;
};

// Live typing: the character's capital is enciphered when it is one of A to Z; anything else, control
// characters included, becomes a Backspace.
Typed typeCharacter(MachineState& machine, char32_t character);

enum class EncryptOutcome : std::uint8_t {
    Enciphered, // every letter of the cleaned message went through the machine
    Rejected    // the cleaned message held something other than A to Z; nothing was enciphered
};

struct Encrypted {
    EncryptOutcome outcome = EncryptOutcome::Enciphered;
    // The message as it stood after upper-casing and removing spaces, before any check; the message box
    // shows it while the warning is up.
    std::u16string cleaned;
};

// The warning for a rejected message, word for word, with its trailing space and line break.
inline constexpr std::u16string_view kCapitalsOnlyTitle = u"Twit";
inline constexpr std::u16string_view kCapitalsOnlyText =
    u"Error Encountered: Capital Letters Only \r\nPlease Retry.";

// Encrypt: upper-case the message, remove its spaces, check it, and encipher every letter. A rejected
// message is emptied and letternum holds the character that failed the check.
Encrypted encrypt(MachineState& machine, std::u16string_view message);

} // namespace rovanta
