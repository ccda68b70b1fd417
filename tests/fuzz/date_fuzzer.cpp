// Set By Date over any three texts in the day, month and year boxes (one a line in the input), then a
// few letters through whatever keys it set.
#include "apps/rovanta-v5/settings.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const rovanta::ModelSettings settings = rovanta::v5::modelSettings();
    const std::u16string text = fuzz::textOf(data, size);
    std::array<std::u16string_view, 3> boxes; // day, month, year
    std::u16string_view rest = text;
    for (std::size_t box = 0; box < 2; ++box) {
        const std::size_t end = rest.find(u'\n');
        boxes[box] = rest.substr(0, end);
        rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
    }
    boxes[2] = rest;
    const auto [day, month, year] = boxes;

    rovanta::MachineControls machine(settings);
    machine.startUp();
    fuzz::Reference reference(settings);
    const bool set = reference.setByDate(day, month, year);
    fuzz::expect((machine.setByDate(day, month, year) == rovanta::SetByDateOutcome::Set) == set,
                 "Set By Date sets the keys exactly when the three texts name keys of the book");
    fuzz::expectAgree(machine, reference);
    for (const char16_t letter : std::u16string_view(u"ROVANTA")) {
        machine.type(letter);
        reference.type(letter);
    }
    fuzz::expectAgree(machine, reference);
    return 0;
}
