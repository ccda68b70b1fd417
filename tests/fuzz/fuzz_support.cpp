#include "tests/fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz {

void expect(bool holds, std::string_view what)
{
    if (holds)
        return;
    std::fprintf(stderr, "machine rule broken: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

void appendCodePoint(std::u16string& text, char32_t character)
{
    // Above the first plane: the top ten bits of (character - 0x10000) after 0xD800, the low ten after
    // 0xDC00.
    if (character >= 0x10000)
        text += {static_cast<char16_t>(0xD7C0 + (character >> 10)),
                 static_cast<char16_t>(0xDC00 | (character & 0x3FF))};
    else
        text += static_cast<char16_t>(character);
}

std::u16string textOf(const std::uint8_t* data, std::size_t size)
{
    std::u16string text;
    for (std::size_t i = 0; i < size;) {
        const std::uint8_t lead = data[i];
        const std::size_t tail = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        char32_t character = lead >= 0xF0 ? lead & 0x07 : lead >= 0xE0 ? lead & 0x0F : lead & 0x1F;
        bool whole = tail > 0 && lead < 0xF8 && i + tail < size;
        for (std::size_t k = 1; whole && k <= tail; ++k) {
            whole = (data[i + k] & 0xC0) == 0x80;
            character = (character << 6) | (data[i + k] & 0x3F);
        }
        if (!whole || character > 0x10FFFF) {
            text.push_back(lead);
            ++i;
            continue;
        }
        appendCodePoint(text, character);
        i += tail + 1;
    }
    return text;
}

void expectAgree(const rovanta::MachineControls& machine, const Reference& reference)
{
    const std::string differences = reference::differences(machine.state(), reference);
    expect(differences.empty(), differences);
}

void expectReciprocal(const rovanta::MachineControls& before, const rovanta::MachineControls& after,
                      std::u16string_view plain)
{
    const std::size_t start = before.state().output().size();
    const std::u16string_view cipher = std::u16string_view(after.state().output()).substr(start);
    rovanta::MachineControls again = before;
    again.encrypt(cipher);
    expect(std::u16string_view(again.state().output()).substr(start) == plain,
           "the same setting turns the cipher back into the message");
}

} // namespace fuzz
