#include "keysetting/key_book.h"

#include <cassert>

namespace rovanta {

int keyNumber(CellAlphabet alphabet, std::string_view keyText, int n)
{
    const std::size_t width = positionWidth(alphabet);
    const std::size_t start = width * static_cast<std::size_t>(n - 1);
    if (start + width > keyText.size())
        return 0;
    return positionOfText(alphabet, keyText.substr(start, width));
}

void RandKeys(MachineState& machine, const ModelSettings& settings)
{
    for (int slot = settings.firstFilledSlot; slot < MachineState::kBookSlots; ++slot)
        machine.setKeybookSlot(slot, std::string(settings.keybook[slot]));
}

void copyKey(MachineState& machine, int slot, int selector)
{
    assert(slot >= 0 && slot < MachineState::kBookSlots);
    const std::string& text = machine.keybookSlot(slot);
    Key key{};
    for (int n = 1; n <= kCells; ++n)
        key[n] = static_cast<std::uint8_t>(keyNumber(machine.alphabet(), text, n));
    machine.setKeyRow(keyRowOfSelector(selector), key);
}

} // namespace rovanta
