#pragma once

#include "machine/machine_state.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rovanta {

struct CalendarDate {
    int year = 2000;
    int month = 1; // 1 to 12
    int day = 1;   // 1 to 31
};

// Today's local date from the system clock. The panel takes the date through a function of this shape so
// that tests can hand it any day.
CalendarDate localToday();
using Clock = std::function<CalendarDate()>;

// The three date boxes as start-up fills them: the texts of today and the lists.
struct DateBoxes {
    std::string dayText;
    std::string monthText;
    std::string yearText;
    std::vector<std::string> dayItems;
    std::vector<std::string> monthItems;
    std::vector<std::string> yearItems;
};

// "01" to "12".
std::vector<std::string> GetMonth();
// February's day count is 29 in a leap year of the Gregorian calendar: 2000 and 2024 are, 2023 and 2100
// are not. A year text that is not a whole number names no leap year.
bool Checklepyear(std::string_view yearText);
// The day count for a month text "01" to "12"; 0 for any other text.
int DaysInMonth(std::string_view monthText, std::string_view yearText);
// Texts and lists of the date boxes for a start on `today`.
DateBoxes setup(const CalendarDate& today);

enum class SetByDateOutcome : std::uint8_t {
    Set,      // four captions and four key rows written
    Unchanged // a text was not a whole number, or a key number fell outside the book: nothing written
};

// Set By Date: key 1 from the day, key 2 from the month, key 3 from the year's last two digits, key 4 from
// the sum of day, month and both halves of the year, less 95 when it reaches 100. Keys 1 to 3 keep the
// texts' leading zeros in their captions.
SetByDateOutcome setByDate(MachineState& machine, std::u16string_view day, std::u16string_view month,
                           std::u16string_view year);

} // namespace rovanta
