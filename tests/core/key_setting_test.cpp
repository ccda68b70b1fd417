// The built-in key books: each key a permutation of 1 to 26, no key twice. How a key reaches the panel is
// checked against the reference machine.
#include "apps/rovanta-v4/settings.h"
#include "apps/rovanta-v5/settings.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>

namespace {

TEST(KeyBook, v5HoldsOneHundredAndOneDistinctPermutationsInTwoDigitForm)
{
    const auto& book = rovanta::v5::kKeyBook;
    ASSERT_EQ(book.size(), 101u);
    std::set<std::string_view> distinct;
    for (std::size_t slot = 0; slot < book.size(); ++slot) {
        const std::string_view key = book[slot];
        ASSERT_EQ(key.size(), 52u) << "slot " << slot;
        std::set<int> numbers;
        for (std::size_t i = 0; i < 52; i += 2) {
            ASSERT_TRUE(key[i] >= '0' && key[i] <= '9' && key[i + 1] >= '0' && key[i + 1] <= '9')
                << "slot " << slot;
            numbers.insert((key[i] - '0') * 10 + (key[i + 1] - '0'));
        }
        EXPECT_EQ(numbers.size(), 26u) << "slot " << slot;
        EXPECT_EQ(*numbers.begin(), 1) << "slot " << slot;
        EXPECT_EQ(*numbers.rbegin(), 26) << "slot " << slot;
        distinct.insert(key);
    }
    EXPECT_EQ(distinct.size(), 101u);
}

TEST(KeyBook, v4HoldsOneHundredDistinctLetterPermutationsAndAnEmptySlot0)
{
    const auto& book = rovanta::v4::kKeyBook;
    ASSERT_EQ(book.size(), 101u);
    EXPECT_EQ(book[0], "");
    std::set<std::string_view> distinct;
    for (std::size_t slot = 1; slot < book.size(); ++slot) {
        const std::string_view key = book[slot];
        ASSERT_EQ(key.size(), 26u) << "slot " << slot;
        const std::set<char> letters(key.begin(), key.end());
        EXPECT_EQ(letters.size(), 26u) << "slot " << slot;
        EXPECT_EQ(*letters.begin(), 'A') << "slot " << slot;
        EXPECT_EQ(*letters.rbegin(), 'Z') << "slot " << slot;
        distinct.insert(key);
    }
    EXPECT_EQ(distinct.size(), 100u);
}

} // namespace
