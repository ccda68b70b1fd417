// The date boxes as start-up fills them, and Set By Date: four keys from a day, a month and a year.
#include "apps/rovanta-v5/settings.h"
#include "tests/core/test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using coretest::differences;
using coretest::Panel;
using coretest::panelOf;
using rovanta::keyRowOfSelector;
using rovanta::MachineControls;
using rovanta::SetByDateOutcome;

std::string cellsOf(const rovanta::MachineState& state, int row)
{
    std::string cells;
    for (int cell = 1; cell <= 26; ++cell)
        cells += state.cellText(row, cell);
    return cells;
}

// --- The date boxes at start-up -------------------------------------------------------------------------

struct StartDay {
    const char* name;
    rovanta::CalendarDate today;
    const char* dayText;
    const char* monthText;
    const char* yearText;
    std::size_t days;
};

void PrintTo(const StartDay& row, std::ostream* out)
{
    *out << row.name;
}

class Setup : public ::testing::TestWithParam<StartDay> {};

TEST_P(Setup, fillsTheBoxesWithTodayAndTheDaysOfItsMonth)
{
    const StartDay& row = GetParam();
    const rovanta::DateBoxes boxes = rovanta::setup(row.today);
    EXPECT_EQ(boxes.dayText, row.dayText);
    EXPECT_EQ(boxes.monthText, row.monthText);
    EXPECT_EQ(boxes.yearText, row.yearText);
    ASSERT_EQ(boxes.dayItems.size(), row.days);
    EXPECT_EQ(boxes.dayItems.front(), "01");
    EXPECT_EQ(boxes.dayItems[8], "09");
    EXPECT_EQ(boxes.dayItems[9], "10");
    EXPECT_EQ(boxes.dayItems.back(), std::to_string(row.days));
}

INSTANTIATE_TEST_SUITE_P(Months, Setup,
                         ::testing::Values(StartDay{"february_2024", {2024, 2, 10}, "10", "02", "2024", 29},
                                           StartDay{"april", {2026, 4, 6}, "06", "04", "2026", 30},
                                           StartDay{"january", {2026, 1, 31}, "31", "01", "2026", 31},
                                           StartDay{
                                               "a_year_past_the_list", {2101, 7, 4}, "04", "07", "2101", 31}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Setup, listsTwelveMonthsAndTheYears2000To2100)
{
    const rovanta::DateBoxes boxes = rovanta::setup({2026, 7, 6});
    ASSERT_EQ(boxes.monthItems.size(), 12u);
    EXPECT_EQ(boxes.monthItems.front(), "01");
    EXPECT_EQ(boxes.monthItems[8], "09");
    EXPECT_EQ(boxes.monthItems.back(), "12");
    ASSERT_EQ(boxes.yearItems.size(), 101u);
    EXPECT_EQ(boxes.yearItems.front(), "2000");
    EXPECT_EQ(boxes.yearItems[26], "2026");
    EXPECT_EQ(boxes.yearItems.back(), "2100");
}

struct MonthText {
    const char* month;
    const char* year;
    int days;
};

void PrintTo(const MonthText& row, std::ostream* out)
{
    *out << row.month << " " << row.year;
}

class DaysInMonth : public ::testing::TestWithParam<MonthText> {};

TEST_P(DaysInMonth, readsTheMonthTextAsItStands)
{
    EXPECT_EQ(rovanta::DaysInMonth(GetParam().month, GetParam().year), GetParam().days);
}

// February follows the Gregorian calendar: every fourth year, but not the centuries other than every fourth.
INSTANTIATE_TEST_SUITE_P(Texts, DaysInMonth,
                         ::testing::Values(MonthText{"02", "2024", 29}, MonthText{"02", "2023", 28},
                                           MonthText{"02", "1900", 28}, MonthText{"02", "2400", 29},
                                           MonthText{"02", "", 28}, MonthText{"02", "20x4", 28},
                                           MonthText{"2", "2024", 0}, MonthText{"13", "2024", 0},
                                           MonthText{"00", "2024", 0}, MonthText{"04", "2026", 30},
                                           MonthText{"09", "2026", 30}, MonthText{"10", "2026", 31}));

// --- Set By Date ----------------------------------------------------------------------------------------

struct DateCase {
    const char* name;
    const char16_t* day;
    const char16_t* month;
    const char16_t* year;
    std::array<const char*, 4> captions; // Key 1 to Key 4, each naming the slot of the key it holds
};

void PrintTo(const DateCase& row, std::ostream* out)
{
    *out << row.name;
}

class SetByDate : public ::testing::TestWithParam<DateCase> {};

TEST_P(SetByDate, setsTheFourKeysFromTheDate)
{
    const DateCase& row = GetParam();
    MachineControls machine = coretest::startedV5();
    ASSERT_EQ(machine.setByDate(row.day, row.month, row.year), SetByDateOutcome::Set);
    for (int selector = 1; selector <= 4; ++selector) {
        const auto index = static_cast<std::size_t>(selector - 1);
        EXPECT_EQ(machine.state().selectorCaption(selector), row.captions[index]);
        const auto slot = static_cast<std::size_t>(std::stoi(row.captions[index] + 4));
        EXPECT_EQ(cellsOf(machine.state(), keyRowOfSelector(selector)), rovanta::v5::kKeyBook[slot])
            << "Key " << selector << " should hold key " << slot;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dates, SetByDate,
    ::testing::Values(
        DateCase{"6_december_2026", u"06", u"12", u"2026", {"Key 06", "Key 12", "Key 26", "Key 64"}},
        DateCase{"1_january_2000", u"01", u"01", u"2000", {"Key 01", "Key 01", "Key 00", "Key 22"}},
        DateCase{"sum_100_folds_to_5", u"28", u"12", u"2040", {"Key 28", "Key 12", "Key 40", "Key 5"}},
        DateCase{"31_december_2099", u"31", u"12", u"2099", {"Key 31", "Key 12", "Key 99", "Key 67"}},
        DateCase{"1_january_2100", u"01", u"01", u"2100", {"Key 01", "Key 01", "Key 00", "Key 23"}},
        DateCase{"sum_99_unfolded", u"19", u"10", u"2050", {"Key 19", "Key 10", "Key 50", "Key 99"}},
        DateCase{"typed_single_digit_day", u"6", u"12", u"2026", {"Key 6", "Key 12", "Key 26", "Key 64"}},
        DateCase{"typed_single_digit_month", u"15", u"7", u"2026", {"Key 15", "Key 7", "Key 26", "Key 68"}},
        DateCase{"31_february_unchecked", u"31", u"02", u"2026", {"Key 31", "Key 02", "Key 26", "Key 79"}},
        DateCase{"31_april_typed", u"31", u"04", u"2026", {"Key 31", "Key 04", "Key 26", "Key 81"}}),
    [](const auto& row) { return std::string(row.param.name); });

struct BadDate {
    const char* name;
    const char16_t* day;
    const char16_t* month;
    const char16_t* year;
};

void PrintTo(const BadDate& row, std::ostream* out)
{
    *out << row.name;
}

class SetByDateRefuses : public ::testing::TestWithParam<BadDate> {};

TEST_P(SetByDateRefuses, textsThatNameNoKeyAndChangesNothing)
{
    const BadDate& row = GetParam();
    MachineControls machine = coretest::startedV5();
    machine.pressSelector(2);
    machine.encrypt(u"LIT");
    const Panel before = panelOf(machine.state());
    EXPECT_EQ(machine.setByDate(row.day, row.month, row.year), SetByDateOutcome::Unchanged);
    EXPECT_EQ(differences(panelOf(machine.state()), before), "");
}

INSTANTIATE_TEST_SUITE_P(Texts, SetByDateRefuses,
                         ::testing::Values(BadDate{"day_150", u"150", u"12", u"2026"},
                                           BadDate{"month_101", u"06", u"101", u"2026"},
                                           BadDate{"empty_day", u"", u"12", u"2026"},
                                           BadDate{"empty_month", u"06", u"", u"2026"},
                                           BadDate{"empty_year", u"06", u"12", u""},
                                           BadDate{"year_of_one_character", u"06", u"12", u"6"},
                                           BadDate{"letter_in_day", u"1a", u"12", u"2026"},
                                           BadDate{"letter_in_year", u"06", u"12", u"20a6"},
                                           BadDate{"blank_before_day", u" 6", u"12", u"2026"},
                                           BadDate{"blank_inside_year", u"06", u"12", u"20 6"},
                                           BadDate{"negative_day", u"-1", u"12", u"2026"},
                                           BadDate{"plus_sign_month", u"06", u"+1", u"2026"},
                                           BadDate{"huge_day", u"99999999999999999999", u"12", u"2026"},
                                           BadDate{"huge_month", u"06", u"99999999999999999999", u"2026"},
                                           BadDate{"arabic_indic_digit", u"\u0666", u"12", u"2026"}),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
