#include "key_book.h"

#include <cassert>

namespace rovanta {

int keyNumber(CellAlphabet alphabet, std::string_view keyText, int n)
{
    const std::size_t width = alphabet == CellAlphabet::TwoDigit ? 2 : 1;
    const std::size_t start = width * static_cast<std::size_t>(n - 1);
    if (start + width > keyText.size())
        return 0;
    return positionOfText(alphabet, keyText.substr(start, width));
}

std::optional<Key> parseKey(CellAlphabet alphabet, std::string_view keyText)
{
    const std::size_t width = alphabet == CellAlphabet::TwoDigit ? 2 : 1;
    if (keyText.size() != width * kCells)
        return std::nullopt;
    Key key{};
    std::array<bool, kCells + 1> seen{};
    for (int n = 1; n <= kCells; ++n) {
        const int number = keyNumber(alphabet, keyText, n);
        if (number == 0 || seen[number])
            return std::nullopt;
        seen[number] = true;
        key[n] = static_cast<std::uint8_t>(number);
    }
    return key;
}

void RandKeys(MachineState& machine, const ModelSettings& settings)
{
    for (int slot = settings.firstFilledSlot; slot < MachineState::kBookSlots; ++slot)
        machine.setKeybookSlot(slot, std::string(settings.keybook[slot]));
}

void copyKey(MachineState& machine, int slot, int keyRow)
{
    assert(slot >= 0 && slot < MachineState::kBookSlots);
    const std::string& text = machine.keybookSlot(slot);
    Key key{};
    for (int n = 1; n <= kCells; ++n)
        key[n] = static_cast<std::uint8_t>(keyNumber(machine.alphabet(), text, n));
    machine.setKeyRow(keyRow, key);
}

} // namespace rovanta
