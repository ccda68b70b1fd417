// Live typing and Encrypt over any text: every character typed into the message box one by one, then the
// whole text through Encrypt, on both models, each compared letter by letter with the plain arithmetic.
#include "apps/rovanta-v4/settings.h"
#include "apps/rovanta-v5/settings.h"
#include "tests/fuzz/fuzz_support.h"

using rovanta::EncryptOutcome;
using rovanta::TypedKey;

namespace {

void typeEveryCharacter(rovanta::MachineControls& machine, fuzz::Reference& reference,
                        std::u16string_view text)
{
    const rovanta::MachineControls start = machine;
    std::u16string capitals;
    for (const char32_t character : fuzz::charactersOf(text)) {
        const rovanta::Typed typed = machine.type(character);
        const char16_t capital = reference.type(character);
        fuzz::expect(typed.key == (capital != 0 ? TypedKey::Letter : TypedKey::Backspace),
                     "a letter is enciphered, anything else becomes a Backspace");
        fuzz::expect(capital == 0 || typed.capital == capital, "the message box gets the letter's capital");
        if (capital != 0)
            capitals.push_back(capital);
    }
    fuzz::expectAgree(machine, reference);
    fuzz::expectReciprocal(start, machine, capitals);
}

void encryptWholeText(rovanta::MachineControls& machine, fuzz::Reference& reference, std::u16string_view text)
{
    const rovanta::MachineControls before = machine;
    const rovanta::Encrypted result = machine.encrypt(text);
    const bool accepted = reference.encrypt(text);
    fuzz::expect((result.outcome == EncryptOutcome::Enciphered) == accepted,
                 "Encrypt rejects exactly the messages holding something other than letters and spaces");
    fuzz::expectAgree(machine, reference);
    if (accepted) {
        fuzz::expectReciprocal(before, machine, machine.state().message());
        return;
    }
    const std::u16string& failed = machine.state().letternum();
    fuzz::expect(!failed.empty() && fuzz::capitalsOf(failed) == std::nullopt,
                 "a rejected message leaves the failing character in letternum");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::array<rovanta::ModelSettings, 2> models{rovanta::v5::modelSettings(),
                                                              rovanta::v4::modelSettings()};
    const std::u16string text = fuzz::textOf(data, size);
    for (const rovanta::ModelSettings& settings : models) {
        rovanta::MachineControls machine(settings);
        machine.startUp();
        fuzz::Reference reference(settings);
        typeEveryCharacter(machine, reference, text);
        encryptWholeText(machine, reference, text);
    }
    return 0;
}
