#include "keysetting/selectors.h"

#include "keysetting/key_book.h"

namespace rovanta {

void pressSelector(MachineState& machine, int selector)
{
    const std::optional<int> shown = keyNumberOfCaption(machine.selectorCaption(selector));
    if (!shown)
        return; // a caption that names no key: there is no key to step from
    const int next = *shown % kLastKey + 1;
    machine.setSelectorCaption(selector, selectorCaption(next));
    copyKey(machine, next, selector);
}

void Reset1234(MachineState& machine)
{
    for (int selector = 1; selector <= kSelectors; ++selector)
        machine.setSelectorCaption(selector, selectorCaption(selector));
    copyStartKeys(machine);
}

void copyStartKeys(MachineState& machine)
{
    for (int selector = 1; selector <= kSelectors; ++selector)
        copyKey(machine, selector, selector);
}

} // namespace rovanta
