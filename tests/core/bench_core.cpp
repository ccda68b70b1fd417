// How fast Encrypt puts letters through the machine: a fixed million-letter message through
// Machine::encrypt, the road the Encrypt button takes, with the keys changed before every run so that
// whatever the machine builds from its keys is built inside the timing. Beside it, as the yardstick, the
// plain loop of the letter path's arithmetic with inverse tables, over the same message in the same
// process. Each figure is the median of the runs. The machine must end where the plain loop says it ends;
// otherwise the figures are worthless and the program fails.
#include "apps/rovanta-v5/settings.h"
#include "keysetting/machine.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using rovanta::CellColour;
using rovanta::Machine;

constexpr std::size_t kLetters = 1'000'000;
constexpr int kRuns = 9;

using Wiring = std::array<int, 27>; // Number N of a key at index N

Wiring wiringOf(std::string_view key)
{
    Wiring wiring{};
    for (int n = 1; n <= 26; ++n)
        wiring[n] = (key[2 * n - 2] - '0') * 10 + (key[2 * n - 1] - '0');
    return wiring;
}

// The cell of a key that holds each number.
Wiring inverseOf(const Wiring& key)
{
    Wiring inverse{};
    for (int cell = 1; cell <= 26; ++cell)
        inverse[key[cell]] = cell;
    return inverse;
}

// Every value taken modulo 26 here is at least -25.
int mod26(int value)
{
    return (value + 26) % 26;
}

// The settings the benchmark drives the machine through, kept here apart from the machine.
struct Setting {
    std::array<int, 5> slots{0, 1, 2, 3, 4}; // key book slot of Key 1 to Key 4
    std::array<int, 4> windows{0, 1, 1, 1};
};

struct Keys {
    explicit Keys(const Setting& setting)
    {
        for (int key = 1; key <= 4; ++key) {
            const std::size_t slot = static_cast<std::size_t>(setting.slots[static_cast<std::size_t>(key)]);
            k[static_cast<std::size_t>(key)] = wiringOf(rovanta::v5::kKeyBook[slot]);
            inverse[static_cast<std::size_t>(key)] = inverseOf(k[static_cast<std::size_t>(key)]);
        }
    }
    std::array<Wiring, 5> k{};
    std::array<Wiring, 5> inverse{};
};

// The numbers of one letter on its way, windows 1 to 3 at w1, w2, w3: out through K4, K3, K2, K1 with the
// rings' offsets, the reflector's n -> 27 - n, and back through the same keys.
struct Stages {
    int x, c2, c3, c4, a4, a5, j1, j2, j3, y;
};

Stages stagesOf(const Keys& keys, int x, int w1, int w2, int w3)
{
    Stages s{};
    s.x = x;
    s.c2 = mod26(keys.k[4][x] + w1 - 2) + 1;
    s.c3 = mod26(keys.k[3][s.c2] + w2 - 2) + 1;
    s.c4 = mod26(keys.k[2][s.c3] + w3 - 2) + 1;
    s.a4 = keys.k[1][s.c4];
    s.a5 = 27 - s.a4;
    s.j1 = keys.inverse[1][s.a5];
    s.j2 = keys.inverse[2][mod26(s.j1 - w3) + 1];
    s.j3 = keys.inverse[3][mod26(s.j2 - w2) + 1];
    s.y = keys.inverse[4][mod26(s.j3 - w1) + 1];
    return s;
}

struct Expected {
    std::u16string output;
    std::array<int, 4> windows{};
    std::array<std::array<CellColour, 27>, 11> colours{};
    char16_t cipher = 0;
};

// The plain loop of the letter path: windows stepped before each letter, then the letter's stages. The
// last letter's path is lit.
Expected letterPath(const Setting& setting, std::u16string_view message)
{
    const Keys keys(setting);
    Expected expected;
    expected.output.resize(message.size());
    int w1 = setting.windows[1], w2 = setting.windows[2], w3 = setting.windows[3];
    Stages last{};
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (++w1 == 27) {
            w1 = 1;
            if (++w2 == 27) {
                w2 = 1;
                if (++w3 == 27)
                    w3 = 1;
            }
        }
        last = stagesOf(keys, message[i] - u'@', w1, w2, w3);
        expected.output[i] = static_cast<char16_t>(u'@' + last.y);
    }
    expected.windows = {0, w1, w2, w3};
    if (message.empty())
        return expected;
    for (auto& row : expected.colours)
        row.fill(CellColour::White);
    const auto light = [&](int row, int cell, CellColour colour) {
        expected.colours[static_cast<std::size_t>(row)][static_cast<std::size_t>(cell)] = colour;
        expected.colours[static_cast<std::size_t>(row + 1)][static_cast<std::size_t>(cell)] = colour;
    };
    light(1, last.x, CellColour::Red);
    light(3, last.c2, CellColour::Red);
    light(5, last.c3, CellColour::Red);
    light(7, last.c4, CellColour::Red);
    light(9, last.a4, CellColour::Red);
    light(9, last.a5, CellColour::Yellow);
    light(7, last.j1, CellColour::Yellow);
    light(5, last.j2, CellColour::Yellow);
    light(3, last.j3, CellColour::Yellow);
    light(1, last.y, CellColour::Yellow);
    expected.cipher = static_cast<char16_t>(u'@' + last.y);
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

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main()
{
    const std::u16string message = fixedMessage();
    Machine machine(rovanta::v5::modelSettings());
    machine.startUp();
    Setting setting;
    std::vector<double> machineRates;
    std::vector<double> plainRates;
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
        machine.editOutput(0, machine.state().output().size(), {});

        auto start = std::chrono::steady_clock::now();
        machine.encrypt(message);
        const double machineTook = seconds(start);

        start = std::chrono::steady_clock::now();
        const Expected expected = letterPath(setting, message);
        const double plainTook = seconds(start);

        if (machine.state().message().size() != kLetters || !endsAsExpected(machine.state(), expected)) {
            std::fprintf(stderr, "run %d: the machine does not end where the plain letter path ends\n", run);
            return 1;
        }
        setting.windows = expected.windows;
        machineRates.push_back(static_cast<double>(kLetters) / machineTook);
        plainRates.push_back(static_cast<double>(kLetters) / plainTook);
        std::fprintf(stderr, "run %d: machine %.3f ms, plain loop %.3f ms\n", run, machineTook * 1e3,
                     plainTook * 1e3);
    }
    const double machineRate = median(machineRates);
    const double plainRate = median(plainRates);
    std::fprintf(stderr, "the machine is %.1f times the plain loop\n", machineRate / plainRate);
    std::printf("METRIC core_letters_per_s %.0f letters/s\n", machineRate);
    std::printf("METRIC core_plain_letters_per_s %.0f letters/s\n", plainRate);
    return 0;
}
