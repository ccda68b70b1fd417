// The model against the reference machine: the same operator actions on both, then every window, caption,
// cell text and colour, letternum, message and output compared.
#include "apps/rovanta-v4/settings.h"
#include "apps/rovanta-v5/settings.h"
#include "tests/core/test_support.h"
#include "tests/reference/reference_machine.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>

namespace {

using reference::differences;
using rovanta::EncryptOutcome;
using rovanta::MachineControls;
using rovanta::TypedKey;
using rovanta::WindowButton;

using coretest::Model;
using coretest::nameOf;
using coretest::settingsOf;

// One machine of each kind, worked by the same hands.
class Pair {
public:
    explicit Pair(Model model) : m_model(settingsOf(model)), m_reference(settingsOf(model))
    {
        m_model.startUp();
    }

    const rovanta::MachineState& model() const { return m_model.state(); }
    const reference::ReferenceMachine& reference() const { return m_reference; }

    void pressSelector(int selector)
    {
        m_model.pressSelector(selector);
        m_reference.pressSelector(selector);
    }
    void pressWindowButton(int command)
    {
        m_model.pressWindowButton(static_cast<WindowButton>(command));
        m_reference.pressWindowButton(static_cast<WindowButton>(command));
    }
    void reset()
    {
        m_model.reset();
        m_reference.reset();
    }
    void setByDate(const std::string& day, const std::string& month, const std::string& year)
    {
        const auto wide = [](const std::string& text) { return std::u16string(text.begin(), text.end()); };
        EXPECT_EQ(m_model.setByDate(wide(day), wide(month), wide(year)), rovanta::SetByDateOutcome::Set);
        EXPECT_TRUE(m_reference.setByDate(wide(day), wide(month), wide(year)));
    }
    void type(char32_t character)
    {
        const bool enciphered = m_model.type(character).key == TypedKey::Letter;
        EXPECT_EQ(enciphered, m_reference.type(character) != 0)
            << "character " << static_cast<int>(character);
    }
    void encrypt(const std::string& message)
    {
        const std::u16string wide(message.begin(), message.end());
        const rovanta::Encrypted result = m_model.encrypt(wide);
        EXPECT_EQ(result.outcome == EncryptOutcome::Enciphered, m_reference.encrypt(wide)) << message;
    }
    void setWindows(int w1, int w2, int w3)
    {
        const std::array<std::pair<int, int>, 3> windows{{{w1, 6}, {w2, 4}, {w3, 2}}};
        for (int window = 1; window <= 3; ++window) {
            const auto& [position, command] = windows[window - 1];
            coretest::pressUntil(
                window, position, [&] { return m_model.state().window(window); },
                [&] { pressWindowButton(command); });
        }
    }

private:
    MachineControls m_model;
    reference::ReferenceMachine m_reference;
};

// A panel redraws a row, the message or the output only when its revision moves, and otherwise only
// appends what the output grew by. Whatever changed must have moved its revision.
class Revisions {
public:
    std::string changedUnseen(const rovanta::MachineState& state)
    {
        std::string unseen;
        for (int row = 1; row <= 10; ++row) {
            std::string texts;
            for (int cell = 1; cell <= 26; ++cell)
                texts += state.cellText(row, cell);
            if (texts != m_rows[row] && state.rowRevision(row) == m_rowRevisions[row])
                unseen += "Label" + std::to_string(row) + " ";
            m_rows[row] = texts;
            m_rowRevisions[row] = state.rowRevision(row);
        }
        if (state.message() != m_message && state.messageRevision() == m_messageRevision)
            unseen += "message ";
        if (state.outputRevision() == m_outputRevision && !state.output().starts_with(m_output))
            unseen += "output ";
        m_message = state.message();
        m_messageRevision = state.messageRevision();
        m_output = state.output();
        m_outputRevision = state.outputRevision();
        return unseen;
    }

private:
    std::array<std::string, 11> m_rows{};
    std::array<std::uint64_t, 11> m_rowRevisions{};
    std::u16string m_message;
    std::uint64_t m_messageRevision = 0;
    std::u16string m_output;
    std::uint64_t m_outputRevision = 0;
};

// Random operator sessions: keys from the selectors and from dates, windows from the buttons, typed
// characters and whole messages, and the odd Reset.
class RandomSession : public ::testing::TestWithParam<std::tuple<Model, unsigned>> {
protected:
    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    std::string twoOrOneDigit(int value)
    {
        std::string text = std::to_string(value);
        return text.size() == 1 && uniform(0, 3) != 0 ? "0" + text : text;
    }

    char32_t typedCharacter()
    {
        static constexpr std::string_view kOthers = " 0123456789!.,-\x01\x03\x08\x0d\x16\x1b\x7f";
        if (uniform(0, 9) == 0)
            return static_cast<unsigned char>(kOthers[uniform(0, static_cast<int>(kOthers.size()) - 1)]);
        return static_cast<char32_t>((uniform(0, 1) ? 'a' : 'A') + uniform(0, 25));
    }

    std::size_t messageLength()
    {
        switch (uniform(0, 9)) {
        case 0:
            return 0;
        case 1:
            return 1;
        case 2:
            return 2;
        case 3:
            return static_cast<std::size_t>(uniform(600, 3000)); // across the carries of windows 2 and 3
        default:
            return static_cast<std::size_t>(uniform(3, 60));
        }
    }

    std::string message()
    {
        std::string text;
        const std::size_t length = messageLength();
        for (std::size_t i = 0; i < length; ++i) {
            const int kind = uniform(0, 19);
            text += kind == 0 ? ' ' : static_cast<char>((kind < 10 ? 'a' : 'A') + uniform(0, 25));
        }
        // One message in eight carries a character that is not a letter somewhere.
        if (!text.empty() && uniform(0, 7) == 0)
            text[static_cast<std::size_t>(uniform(0, static_cast<int>(text.size()) - 1))] =
                "1?-\t"[uniform(0, 3)];
        return text;
    }

    std::mt19937 m_random{std::get<1>(GetParam())};
};

TEST_P(RandomSession, agreesAfterEveryAction)
{
    const Model model = std::get<0>(GetParam());
    Pair pair(model);
    ASSERT_EQ(differences(pair.model(), pair.reference()), "") << "start-up";
    Revisions revisions;
    revisions.changedUnseen(pair.model());
    for (int action = 0; action < 80; ++action) {
        const int kind = uniform(0, 99);
        std::string what;
        if (kind < 15) {
            const int selector = uniform(1, 4);
            const int presses = uniform(1, 3) == 1 ? uniform(90, 130) : uniform(1, 12);
            what = "selector " + std::to_string(selector) + " pressed " + std::to_string(presses) + " times";
            for (int press = 0; press < presses; ++press)
                pair.pressSelector(selector);
        } else if (kind < 25 && model == Model::V5) {
            const std::string day = twoOrOneDigit(uniform(1, 31));
            const std::string month = twoOrOneDigit(uniform(1, 12));
            const std::string year =
                std::to_string(uniform(0, 4) == 0 ? uniform(0, 1) * 100 + 2000 : uniform(2000, 2100));
            what = "Set By Date " + day + " " + month + " " + year;
            pair.setByDate(day, month, year);
        } else if (kind < 40) {
            const int command = uniform(2, 7);
            const int presses = uniform(1, 30);
            what = "Command" + std::to_string(command) + " pressed " + std::to_string(presses) + " times";
            for (int press = 0; press < presses; ++press) {
                pair.pressWindowButton(command);
                ASSERT_EQ(differences(pair.model(), pair.reference()), "") << what << ", press " << press;
            }
        } else if (kind < 65) {
            const int characters = uniform(1, 30);
            what = "typing";
            for (int i = 0; i < characters; ++i) {
                const char32_t character = typedCharacter();
                pair.type(character);
                ASSERT_EQ(differences(pair.model(), pair.reference(), false), "")
                    << "after typing character " << static_cast<int>(character);
            }
        } else if (kind < 95) {
            const std::string text = message();
            what = "Encrypt of " + std::to_string(text.size()) + " characters: " + text.substr(0, 40);
            pair.encrypt(text);
        } else {
            what = "Reset";
            pair.reset();
        }
        ASSERT_EQ(differences(pair.model(), pair.reference()), "") << "action " << action << ": " << what;
        ASSERT_EQ(revisions.changedUnseen(pair.model()), "") << "action " << action << ": " << what;
    }
}

INSTANTIATE_TEST_SUITE_P(Sessions, RandomSession,
                         ::testing::Combine(::testing::Values(Model::V5, Model::V4),
                                            ::testing::Range(1u, 101u)),
                         [](const auto& row) {
                             return nameOf(std::get<0>(row.param)) + "_seed" +
                                    std::to_string(std::get<1>(row.param));
                         });

// The places a random session may step past: a selector round past Key 100, a press after a date's
// captions, the window buttons round 26 and 01 without a carry, and a letter carrying into windows 2 and 3.
void pressSelector(Pair& pair, int selector, int presses)
{
    for (int press = 0; press < presses; ++press)
        pair.pressSelector(selector);
}

// Each button once and its partner once, which steps the same window back.
void pressEveryWindowButtonFrom(Pair& pair, int position)
{
    pair.setWindows(position, position, position);
    for (int command = 2; command <= 7; ++command) {
        pair.pressWindowButton(command);
        pair.pressWindowButton(command % 2 == 0 ? command + 1 : command - 1);
    }
}

struct Edge {
    const char* what;
    bool datesOnly; // the four model has no Set By Date
    void (*act)(Pair&);
};

constexpr std::array<Edge, 9> kEdges{{
    {"Key 1 pressed 101 times", false, [](Pair& pair) { pressSelector(pair, 1, 101); }},
    {"Key 4 pressed 97 times", false, [](Pair& pair) { pressSelector(pair, 4, 97); }},
    {"day 6 set, then Key 1", true,
     [](Pair& pair) {
         pair.setByDate("6", "12", "2026");
         pressSelector(pair, 1, 1);
     }},
    {"month 09 set, then Key 2", true,
     [](Pair& pair) {
         pair.setByDate("15", "09", "2026");
         pressSelector(pair, 2, 1);
     }},
    {"year 2100 set, then Key 3", true,
     [](Pair& pair) {
         pair.setByDate("01", "01", "2100");
         pressSelector(pair, 3, 1);
     }},
    {"every window button from 26 26 26", false, [](Pair& pair) { pressEveryWindowButtonFrom(pair, 26); }},
    {"every window button from 01 01 01", false, [](Pair& pair) { pressEveryWindowButtonFrom(pair, 1); }},
    {"two letters from 25 26 26", false,
     [](Pair& pair) {
         pair.setWindows(25, 26, 26);
         pair.type(U'A');
         pair.type(U'b');
     }},
    {"Reset from 05 17 26", false,
     [](Pair& pair) {
         pair.setWindows(5, 17, 26);
         pair.reset();
     }},
}};

class Edges : public ::testing::TestWithParam<Model> {};

TEST_P(Edges, agreeStepByStep)
{
    Pair pair(GetParam());
    for (const Edge& edge : kEdges) {
        if (edge.datesOnly && GetParam() == Model::V4)
            continue;
        edge.act(pair);
        ASSERT_EQ(differences(pair.model(), pair.reference()), "") << edge.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Models, Edges, ::testing::Values(Model::V5, Model::V4),
                         [](const auto& row) { return nameOf(row.param); });

// Encrypt takes a fast road for all letters but the last, through tables built from the keys and for each
// pair of windows 2 and 3 the message reaches; its ends, the window carries and a message that comes back
// to settings it has passed are where it would go wrong. Each row runs on keys of its own.
struct LengthCase {
    const char* name;
    std::size_t length;
    int w1, w2, w3;
};

void PrintTo(const LengthCase& lengthCase, std::ostream* out)
{
    *out << lengthCase.length << " letters from " << lengthCase.w1 << " " << lengthCase.w2 << " "
         << lengthCase.w3;
}

class EncryptLength : public ::testing::TestWithParam<std::tuple<Model, LengthCase>> {};

TEST_P(EncryptLength, endsWhereTheReferenceEnds)
{
    const auto& [model, lengthCase] = GetParam();
    Pair pair(model);
    std::mt19937 random(static_cast<unsigned>(lengthCase.length));
    for (int selector = 1; selector <= 4; ++selector) {
        for (auto presses = random() % 100; presses > 0; --presses)
            pair.pressSelector(selector);
    }
    pair.setWindows(lengthCase.w1, lengthCase.w2, lengthCase.w3);
    std::string message;
    for (std::size_t i = 0; i < lengthCase.length; ++i)
        message += static_cast<char>('A' + random() % 26);
    pair.encrypt(message);
    EXPECT_EQ(differences(pair.model(), pair.reference()), "");
    // And once more from where the first run left the windows, appending to the output.
    pair.encrypt(message);
    EXPECT_EQ(differences(pair.model(), pair.reference()), "");
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, EncryptLength,
    ::testing::Combine(
        ::testing::Values(Model::V5, Model::V4),
        ::testing::Values(LengthCase{"empty", 0, 1, 1, 1}, LengthCase{"one", 1, 1, 1, 1},
                          LengthCase{"one_at_26_26_26", 1, 26, 26, 26}, LengthCase{"two", 2, 1, 1, 1},
                          LengthCase{"two_across_26", 2, 25, 26, 26}, LengthCase{"three", 3, 26, 26, 26},
                          LengthCase{"a_ring", 26, 1, 1, 1}, LengthCase{"a_ring_and_one", 27, 1, 1, 1},
                          LengthCase{"676", 676, 1, 1, 1}, LengthCase{"677", 677, 26, 26, 1},
                          LengthCase{"2000_from_05_17_26", 2000, 5, 17, 26},
                          LengthCase{"full_cycle_and_more", 17579, 3, 26, 26})),
    [](const auto& row) { return nameOf(std::get<0>(row.param)) + "_" + std::get<1>(row.param).name; });

} // namespace
