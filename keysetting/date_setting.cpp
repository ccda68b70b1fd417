#include "keysetting/date_setting.h"

#include "keysetting/key_book.h"
#include "keysetting/selectors.h"

#include <array>
#include <chrono>
#include <ctime>
#include <optional>

namespace rovanta {

namespace {

constexpr std::array<int, 13> kDaysInMonth{0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kFirstYear = 2000;
constexpr int kLastYear = 2100;

std::string twoDigits(int value)
{
    return std::string(1, static_cast<char>('0' + value / 10 % 10)) + static_cast<char>('0' + value % 10);
}

std::string latin(std::u16string_view digits)
{
    return std::string(digits.begin(), digits.end());
}

} // namespace

CalendarDate localToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    // The reentrant local-time call has its arguments the other way round on Windows.
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::vector<std::string> GetMonth()
{
    std::vector<std::string> months;
    for (int month = 1; month <= 12; ++month)
        months.push_back(twoDigits(month));
    return months;
}

bool Checklepyear(std::string_view yearText)
{
    const std::optional<int> year = wholeNumber(yearText);
    return year && std::chrono::year(*year).is_leap();
}

int DaysInMonth(std::string_view monthText, std::string_view yearText)
{
    for (int month = 1; month <= 12; ++month) {
        if (monthText != twoDigits(month))
            continue;
        return month == 2 && Checklepyear(yearText) ? 29 : kDaysInMonth[month];
    }
    return 0;
}

DateBoxes setup(const CalendarDate& today)
{
    DateBoxes boxes;
    boxes.dayText = twoDigits(today.day);
    boxes.monthText = twoDigits(today.month);
    boxes.yearText = std::to_string(today.year);
    boxes.monthItems = GetMonth();
    for (int year = kFirstYear; year <= kLastYear; ++year)
        boxes.yearItems.push_back(std::to_string(year));
    const int days = DaysInMonth(boxes.monthText, boxes.yearText);
    for (int day = 1; day <= days; ++day)
        boxes.dayItems.push_back(twoDigits(day));
    return boxes;
}

SetByDateOutcome setByDate(MachineState& machine, std::u16string_view day, std::u16string_view month,
                           std::u16string_view year)
{
    if (year.size() < 2)
        return SetByDateOutcome::Unchanged;
    const std::u16string_view century = year.substr(0, 2);
    const std::u16string_view yy = year.substr(year.size() - 2);
    const std::optional<int> k1 = wholeNumber(day);
    const std::optional<int> k2 = wholeNumber(month);
    const std::optional<int> k3 = wholeNumber(yy);
    const std::optional<int> first = wholeNumber(century);
    if (!k1 || !k2 || !k3 || !first || !wholeNumber(year))
        return SetByDateOutcome::Unchanged;
    int k4 = *k1 + *k2 + *k3 + *first;
    if (k4 >= 100)
        k4 -= 95;
    if (*k1 > kLastKey || *k2 > kLastKey || k4 > kLastKey)
        return SetByDateOutcome::Unchanged;

    machine.setSelectorCaption(3, selectorCaption(latin(yy)));
    copyKey(machine, *k3, 3);
    machine.setSelectorCaption(2, selectorCaption(latin(month)));
    copyKey(machine, *k2, 2);
    machine.setSelectorCaption(1, selectorCaption(latin(day)));
    copyKey(machine, *k1, 1);
    machine.setSelectorCaption(4, selectorCaption(k4));
    copyKey(machine, k4, 4);
    return SetByDateOutcome::Set;
}

} // namespace rovanta
