// Letters reach the machine by typing or by Encrypt: what is upper-cased, what is refused, and what a
// refused message leaves behind.
#include "tests/core/test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using coretest::Panel;
using coretest::panelOf;
using rovanta::EncryptOutcome;
using rovanta::MachineControls;
using rovanta::TypedKey;

using coretest::Model;
using coretest::nameOf;
using coretest::started;

bool allCapitals(std::u16string_view text)
{
    return text.find_first_not_of(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::u16string_view::npos;
}

// --- Encrypt ---------------------------------------------------------------------------------------------

struct EncryptCase {
    const char* name;
    std::u16string message;
    EncryptOutcome outcome;
    std::u16string cleaned;   // upper case, no spaces
    std::u16string letternum; // the refused character; unused when enciphered
};

void PrintTo(const EncryptCase& row, std::ostream* out)
{
    *out << row.name;
}

const std::u16string kLoneSurrogate{u'A', char16_t{0xD800}, u'B'};

std::u16string repeated(std::u16string_view text, std::size_t times)
{
    std::u16string result;
    for (std::size_t i = 0; i < times; ++i)
        result += text;
    return result;
}

const EncryptCase kEncryptCases[] = {
    {"hello_world", u"hello world", EncryptOutcome::Enciphered, u"HELLOWORLD", {}},
    {"lower_case", u"qwerty", EncryptOutcome::Enciphered, u"QWERTY", {}},
    {"spaces_everywhere", u"  a B  c ", EncryptOutcome::Enciphered, u"ABC", {}},
    {"empty", u"", EncryptOutcome::Enciphered, u"", {}},
    {"spaces_only", u"    ", EncryptOutcome::Enciphered, u"", {}},
    {"dotless_i_and_long_s", u"\u0131\u017F", EncryptOutcome::Enciphered, u"IS", {}},
    {"digit_after_capitals", u"AB1", EncryptOutcome::Rejected, u"AB1", u"1"},
    {"digit_first", u"1ab", EncryptOutcome::Rejected, u"1AB", u"1"},
    {"first_of_two_bad", u"a-b?", EncryptOutcome::Rejected, u"A-B?", u"-"},
    {"sharp_s_stays_itself", u"straße", EncryptOutcome::Rejected, u"STRAßE", u"ß"},
    {"tab_is_not_a_space", u"a\tb", EncryptOutcome::Rejected, u"A\tB", u"\t"},
    {"umlaut_upper_cased_then_refused", u"zä", EncryptOutcome::Rejected, u"ZÄ", u"Ä"},
    {"at_sign_below_A", u"@", EncryptOutcome::Rejected, u"@", u"@"},
    {"bracket_above_Z", u"Z[", EncryptOutcome::Rejected, u"Z[", u"["},
    {"backquote_before_a", u"`", EncryptOutcome::Rejected, u"`", u"`"},
    {"brace_after_z", u"z{", EncryptOutcome::Rejected, u"Z{", u"{"},
    {"fullwidth_letter", u"\uFF41", EncryptOutcome::Rejected, u"\uFF21", u"\uFF21"},
    {"surrogate_pair_upper_cased", u"a\U00010428b", EncryptOutcome::Rejected, u"A\U00010400B", u"\U00010400"},
    {"surrogate_pair_without_case", u"\U0001D400", EncryptOutcome::Rejected, u"\U0001D400", u"\U0001D400"},
    {"lone_surrogate", kLoneSurrogate, EncryptOutcome::Rejected, kLoneSurrogate,
     std::u16string(1, char16_t{0xD800})},
    // Long messages are read in blocks of ASCII; these cross the blocks' edges.
    {"long_lower_case_with_spaces",
     repeated(u"ab cd", 30),
     EncryptOutcome::Enciphered,
     repeated(u"ABCD", 30),
     {}},
    {"long_without_spaces", repeated(u"azAZ", 30), EncryptOutcome::Enciphered, repeated(u"AZAZ", 30), {}},
    {"long_with_dotless_i_between_spaces",
     repeated(u"x", 31) + u" \u0131 " + repeated(u"y", 40),
     EncryptOutcome::Enciphered,
     repeated(u"X", 31) + u"I" + repeated(u"Y", 40),
     {}},
    {"digit_deep_in_a_long_message", repeated(u"a", 40) + u"7" + repeated(u"b", 40), EncryptOutcome::Rejected,
     repeated(u"A", 40) + u"7" + repeated(u"B", 40), u"7"},
    {"pair_across_a_block_edge", repeated(u"a", 31) + u"\U00010428" + repeated(u"b", 40),
     EncryptOutcome::Rejected, repeated(u"A", 31) + u"\U00010400" + repeated(u"B", 40), u"\U00010400"},
};

class Encrypt : public ::testing::TestWithParam<std::tuple<Model, EncryptCase>> {};

TEST_P(Encrypt, cleansChecksAndEnciphers)
{
    const auto& [model, row] = GetParam();
    MachineControls machine = started(model);
    machine.encrypt(u"KEEP"); // leave a lit path, output and windows that a refusal must not touch
    const Panel before = panelOf(machine.state());

    const rovanta::Encrypted result = machine.encrypt(row.message);

    ASSERT_EQ(result.outcome, row.outcome);
    const rovanta::MachineState& state = machine.state();
    Panel expected = before;
    if (row.outcome == EncryptOutcome::Rejected) {
        EXPECT_EQ(result.cleaned, row.cleaned);
        expected.message.clear();
        expected.letternum = row.letternum;
        EXPECT_EQ(coretest::differences(panelOf(state), expected), "")
            << "a refused message changes only the message and letternum";
        EXPECT_EQ(state.letternum(), row.letternum);
        EXPECT_EQ(state.message(), u"");
        return;
    }
    EXPECT_EQ(state.message(), row.cleaned);
    if (row.cleaned.empty()) {
        expected.message.clear();
        EXPECT_EQ(coretest::differences(panelOf(state), expected), "")
            << "an empty message enciphers nothing";
        return;
    }
    ASSERT_EQ(state.output().size(), before.output.size() + row.cleaned.size());
    EXPECT_EQ(state.output().substr(0, before.output.size()), before.output);
    EXPECT_TRUE(allCapitals(state.output()));
    EXPECT_EQ(state.letternum(), state.output().substr(state.output().size() - 1));
    // KEEP took window 1 to 05.
    EXPECT_EQ(state.window(1), (4 + static_cast<int>(row.cleaned.size())) % 26 + 1);
}

INSTANTIATE_TEST_SUITE_P(Messages, Encrypt,
                         ::testing::Combine(::testing::Values(Model::V5, Model::V4),
                                            ::testing::ValuesIn(kEncryptCases)),
                         [](const auto& row) {
                             return nameOf(std::get<0>(row.param)) + "_" + std::get<1>(row.param).name;
                         });

// --- Live typing ----------------------------------------------------------------------------------------

struct TypedCase {
    const char* name;
    char32_t character;
    TypedKey key;
    char16_t capital;
};

void PrintTo(const TypedCase& row, std::ostream* out)
{
    *out << row.name;
}

// The characters a random session types against the reference (digits, punctuation, control codes) are
// checked there; these are the edges of the alphabet and characters outside ASCII.
const TypedCase kTypedCases[] = {
    {"lower_a", U'a', TypedKey::Letter, u'A'},
    {"lower_q", U'q', TypedKey::Letter, u'Q'},
    {"capital_Z", U'Z', TypedKey::Letter, u'Z'},
    {"dotless_i", U'\u0131', TypedKey::Letter, u'I'},
    {"long_s", U'\u017F', TypedKey::Letter, u'S'},
    {"digit_1", U'1', TypedKey::Backspace, 0},
    {"at_sign", U'@', TypedKey::Backspace, 0},
    {"bracket", U'[', TypedKey::Backspace, 0},
    {"backquote", U'`', TypedKey::Backspace, 0},
    {"brace", U'{', TypedKey::Backspace, 0},
    {"sharp_s", U'ß', TypedKey::Backspace, 0},
    {"e_acute", U'é', TypedKey::Backspace, 0},
    {"surrogate_pair_letter", U'\U00010428', TypedKey::Backspace, 0},
    {"surrogate_pair_capital", U'\U0001D400', TypedKey::Backspace, 0},
};

class Typing : public ::testing::TestWithParam<std::tuple<Model, TypedCase>> {};

TEST_P(Typing, enciphersCapitalsAndTurnsEverythingElseIntoBackspace)
{
    const auto& [model, row] = GetParam();
    MachineControls machine = started(model);
    machine.type(U'k');
    const Panel before = panelOf(machine.state());

    const rovanta::Typed typed = machine.type(row.character);

    ASSERT_EQ(typed.key, row.key);
    const rovanta::MachineState& state = machine.state();
    if (row.key == TypedKey::Backspace) {
        EXPECT_EQ(coretest::differences(panelOf(state), before), "")
            << "nothing is enciphered for a Backspace";
        return;
    }
    EXPECT_EQ(typed.capital, row.capital);
    ASSERT_EQ(state.output().size(), before.output.size() + 1);
    const char16_t cipher = state.output().back();
    EXPECT_TRUE(cipher >= u'A' && cipher <= u'Z');
    EXPECT_NE(cipher, row.capital);
    EXPECT_EQ(state.letternum(), std::u16string(1, cipher));
    EXPECT_EQ(state.windowText(1), "03");
    EXPECT_EQ(state.message(), before.message) << "the box, not the machine, inserts the letter";
}

INSTANTIATE_TEST_SUITE_P(Characters, Typing,
                         ::testing::Combine(::testing::Values(Model::V5, Model::V4),
                                            ::testing::ValuesIn(kTypedCases)),
                         [](const auto& row) {
                             return nameOf(std::get<0>(row.param)) + "_" + std::get<1>(row.param).name;
                         });

// Typing and Encrypt are two roads to the same letter step.
TEST(Typing, givesWhatEncryptGives)
{
    MachineControls typed = coretest::startedV5();
    MachineControls encrypted = coretest::startedV5();
    const std::u16string message = u"THEQUICKBROWNFOXJUMPSOVERTHELAZYDOG";
    for (const char16_t letter : message)
        typed.type(static_cast<char32_t>(letter + 32));
    encrypted.encrypt(message);
    EXPECT_EQ(typed.state().output(), encrypted.state().output());
    Panel typedPanel = panelOf(typed.state());
    typedPanel.message = message;
    EXPECT_EQ(coretest::differences(typedPanel, panelOf(encrypted.state())), "");
}

// --- The operator's edit of the output box ---------------------------------------------------------------

struct OutputEditCase {
    const char* name;
    std::size_t position;
    std::size_t removed;
    std::u16string inserted;
    std::u16string after;
};

class OutputEdit : public ::testing::TestWithParam<OutputEditCase> {};

// The edit lands where the box made it, and the next cipher letter follows the edited text.
TEST_P(OutputEdit, takesTheChangeAndTheNextLetterFollowsIt)
{
    const OutputEditCase& edit = GetParam();
    MachineControls machine = coretest::startedV5();
    machine.encrypt(u"ABCDEF");
    const std::u16string before = machine.state().output();
    const std::uint64_t revision = machine.state().outputRevision();
    std::u16string expected;
    for (const char16_t mark : edit.after)
        expected += mark >= u'0' && mark <= u'9' ? before[mark - u'0'] : mark;
    machine.editOutput(edit.position, edit.removed, edit.inserted);
    EXPECT_EQ(machine.state().output(), expected);
    EXPECT_EQ(machine.state().outputLengthAfterEdit(), expected.size());
    // The box already shows the edit: nothing for the panel to rewrite.
    EXPECT_EQ(machine.state().outputRevision(), revision);
    machine.type(U'a');
    EXPECT_EQ(machine.state().output().substr(0, expected.size()), expected);
    EXPECT_EQ(machine.state().output().size(), expected.size() + 1);
}

// In `after`, a digit stands for the cipher letter at that place before the edit.
const OutputEditCase kOutputEdits[] = {
    {"typing at the end", 6, 0, u"x", u"012345x"},
    {"Backspace in the middle", 2, 1, u"", u"01345"},
    {"a paste over a selection", 1, 3, u"yz", u"0yz45"},
    {"everything removed", 0, 6, u"", u""},
    {"a place past the end is the end", 9, 2, u"x", u"012345x"},
    {"a removal past the end stops there", 4, 9, u"", u"0123"},
};

INSTANTIATE_TEST_SUITE_P(Edits, OutputEdit, ::testing::ValuesIn(kOutputEdits), [](const auto& row) {
    std::string name = row.param.name;
    for (char& character : name)
        character = character == ' ' ? '_' : character;
    return name;
});

} // namespace
