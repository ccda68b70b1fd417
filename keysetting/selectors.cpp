#include "keysetting/selectors.h"

#include "keysetting/key_book.h"

namespace rovanta {

namespace {

constexpr std::string_view kCaptionPrefix = "Key ";
constexpr int kLastKey = 100;

} // namespace

std::string selectorCaption(int keyNumber)
{
    return selectorCaption(std::to_string(keyNumber));
}

std::string selectorCaption(std::string_view number)
{
    return std::string(kCaptionPrefix).append(number);
}

std::optional<int> keyNumberOfCaption(std::string_view caption)
{
    if (!caption.starts_with(kCaptionPrefix))
        return std::nullopt;
    const std::string_view digits = caption.substr(kCaptionPrefix.size());
    if (digits.empty())
        return std::nullopt;
    int number = 0;
    for (const char digit : digits) {
        if (digit < '0' || digit > '9')
            return std::nullopt;
        number = number * 10 + (digit - '0');
        if (number > kLastKey)
            return std::nullopt;
    }
    return number;
}

void pressSelector(MachineState& machine, int selector)
{
    const std::optional<int> shown = keyNumberOfCaption(machine.selectorCaption(selector));
    if (!shown)
        return; // a caption that names no key: there is no key to step from
    const int next = *shown % kLastKey + 1;
    machine.setSelectorCaption(selector, selectorCaption(next));
    copyKey(machine, next, kKeyRowOfSelector[selector]);
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
        copyKey(machine, selector, kKeyRowOfSelector[selector]);
}

} // namespace rovanta
