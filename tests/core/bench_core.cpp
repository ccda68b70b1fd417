// How fast Encrypt puts letters through the machine: a fixed million-letter message through
// Machine::encrypt, the road the Encrypt button takes, with the keys changed before every run so that
// whatever the machine builds from its keys is built inside the timing. The best run counts. The machine
// must end where the letter path's arithmetic, done here in plain loops, says it ends; otherwise the
// figure is worthless and the program fails.
#include "apps/rovanta-v5/settings.h"
#include "keysetting/machine.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>

namespace {

using rovanta::CellColour;
using rovanta::Machine;

constexpr std::size_t kLetters = 1'000'000;
constexpr int kRuns = 7;

using Wiring = std::array<int, 27>; // Number N of a key at index N

Wiring wiringOf(std::string_view key)
{
    Wiring wiring{};
    for (int n = 1; n <= 26; ++n)
        wiring[n] = (key[2 * n - 2] - '0') * 10 + (key[2 * n - 1] - '0');
    return wiring;
}

int mod26(int value)
{
    return (value % 26 + 26) % 26;
}

int cellHolding(const Wiring& key, int number)
{
    for (int cell = 1; cell <= 26; ++cell) {
        if (key[cell] == number)
            return cell;
    }
    return 0;
}

// The settings the benchmark drives the machine through, kept here apart from the machine.
struct Setting {
    std::array<int, 5> slots{0, 1, 2, 3, 4}; // key book slot of Key 1 to Key 4
    std::array<int, 4> windows{0, 1, 1, 1};
};

struct Expected {
    std::u16string output;
    std::array<int, 4> windows{};
    std::array<std::array<CellColour, 27>, 11> colours{};
    char16_t cipher = 0;
};

// The letter path of one message as arithmetic: windows stepped before each letter, then out through
// K4, K3, K2, K1 with the rings' offsets, the reflector's n -> 27 - n, and back through the same keys.
// The last letter's path is lit.
Expected letterPath(const Setting& setting, std::u16string_view message)
{
    const Wiring k1 = wiringOf(rovanta::v5::kKeyBook[static_cast<std::size_t>(setting.slots[1])]);
    const Wiring k2 = wiringOf(rovanta::v5::kKeyBook[static_cast<std::size_t>(setting.slots[2])]);
    const Wiring k3 = wiringOf(rovanta::v5::kKeyBook[static_cast<std::size_t>(setting.slots[3])]);
    const Wiring k4 = wiringOf(rovanta::v5::kKeyBook[static_cast<std::size_t>(setting.slots[4])]);
    Expected expected;
    expected.output.reserve(message.size());
    int w1 = setting.windows[1], w2 = setting.windows[2], w3 = setting.windows[3];
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (++w1 == 27) {
            w1 = 1;
            if (++w2 == 27) {
                w2 = 1;
                if (++w3 == 27)
                    w3 = 1;
            }
        }
        const int x = message[i] - u'@';
        const int a1 = k4[x];
        const int c2 = mod26(a1 + w1 - 2) + 1;
        const int a2 = k3[c2];
        const int c3 = mod26(a2 + w2 - 2) + 1;
        const int a3 = k2[c3];
        const int c4 = mod26(a3 + w3 - 2) + 1;
        const int a4 = k1[c4];
        const int a5 = 27 - a4;
        const int j1 = cellHolding(k1, a5);
        const int b3 = mod26(j1 - w3) + 1;
        const int j2 = cellHolding(k2, b3);
        const int b2 = mod26(j2 - w2) + 1;
        const int j3 = cellHolding(k3, b2);
        const int b1 = mod26(j3 - w1) + 1;
        const int y = cellHolding(k4, b1);
        expected.output.push_back(static_cast<char16_t>(u'@' + y));
        if (i + 1 < message.size())
            continue;
        for (auto& row : expected.colours)
            row.fill(CellColour::White);
        const auto light = [&](int row, int cell, CellColour colour) {
            expected.colours[static_cast<std::size_t>(row)][static_cast<std::size_t>(cell)] = colour;
            expected.colours[static_cast<std::size_t>(row + 1)][static_cast<std::size_t>(cell)] = colour;
        };
        light(1, x, CellColour::Red);
        light(3, c2, CellColour::Red);
        light(5, c3, CellColour::Red);
        light(7, c4, CellColour::Red);
        light(9, a4, CellColour::Red);
        light(9, a5, CellColour::Yellow);
        light(7, j1, CellColour::Yellow);
        light(5, j2, CellColour::Yellow);
        light(3, j3, CellColour::Yellow);
        light(1, y, CellColour::Yellow);
        expected.cipher = static_cast<char16_t>(u'@' + y);
    }
    expected.windows = {0, w1, w2, w3};
    return expected;
}

// Everything the panel would show after the run, against the arithmetic.
bool endsAsExpected(const rovanta::MachineState& state, const Expected& expected)
{
    bool same = state.output() == expected.output && state.letternum() == std::u16string(1, expected.cipher);
    for (int window = 1; window <= 3; ++window) {
        same = same && state.window(window) == expected.windows[static_cast<std::size_t>(window)];
        const int ringRow = rovanta::kRingRowOfWindow[window];
        for (int cell = 1; cell <= 26; ++cell) {
            const int shown = mod26(cell - expected.windows[static_cast<std::size_t>(window)]) + 1;
            same = same && state.cellText(ringRow, cell) == rovanta::twoDigitText(shown);
        }
    }
    for (int row = 1; row <= 10; ++row) {
        for (int cell = 1; cell <= 26; ++cell) {
            same =
                same && state.cellColour(row, cell) ==
                            expected.colours[static_cast<std::size_t>(row)][static_cast<std::size_t>(cell)];
        }
    }
    return same;
}

std::u16string fixedMessage()
{
    std::mt19937 random(1'000'003);
    std::u16string message(kLetters, u'A');
    for (char16_t& letter : message)
        letter = static_cast<char16_t>(u'A' + random() % 26);
    return message;
}

} // namespace

int main()
{
    const std::u16string message = fixedMessage();
    Machine machine(rovanta::v5::modelSettings());
    machine.startUp();
    Setting setting;
    double best = 0;
    for (int run = 0; run < kRuns; ++run) {
        // New keys and a new window 2 for every run.
        if (run == 0) {
            machine.setByDate(u"06", u"12", u"2026");
            setting.slots = {0, 6, 12, 26, 64};
        } else {
            const int selector = (run - 1) % 4 + 1;
            machine.pressSelector(selector);
            setting.slots[static_cast<std::size_t>(selector)] =
                setting.slots[static_cast<std::size_t>(selector)] % 100 + 1;
        }
        machine.pressWindowButton(rovanta::WindowButton::Command4);
        setting.windows[2] = setting.windows[2] % 26 + 1;
        machine.editOutput({});

        const auto start = std::chrono::steady_clock::now();
        machine.encrypt(message);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;

        const Expected expected = letterPath(setting, message);
        if (machine.state().message().size() != kLetters || !endsAsExpected(machine.state(), expected)) {
            std::fprintf(stderr, "run %d: the machine does not end where the letter path's arithmetic ends\n",
                         run);
            return 1;
        }
        setting.windows = expected.windows;
        const double lettersPerSecond = static_cast<double>(kLetters) / took.count();
        std::fprintf(stderr, "run %d: %.3f ms, %.0f letters/s\n", run, took.count() * 1e3, lettersPerSecond);
        best = std::max(best, lettersPerSecond);
    }
    std::printf("METRIC core_letters_per_s %.0f letters/s\n", best);
    return 0;
}
