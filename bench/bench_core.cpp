// How fast Encrypt puts letters through the machine: a fixed million-letter message through
// MachineControls::encrypt, the road the Encrypt button takes, with the keys changed before every run so that
// whatever the machine builds from its keys is built inside the timing. Beside it, as the yardstick, the
// reference machine's plain arithmetic of the letter path over the same message in the same process. Each
// figure is the median of the runs. The machine must end where the reference ends; otherwise the figures
// are worthless and the program fails.
#include "apps/rovanta-v5/settings.h"
#include "keysetting/machine_controls.h"
#include "tests/reference/reference_machine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using rovanta::MachineControls;

constexpr std::size_t kLetters = 1'000'000;
constexpr int kRuns = 9;

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
    MachineControls machine(rovanta::v5::modelSettings());
    machine.startUp();
    reference::ReferenceMachine yardstick(rovanta::v5::modelSettings());
    std::vector<double> machineRates;
    std::vector<double> plainRates;
    for (int run = 0; run < kRuns; ++run) {
        // New keys and a new window 2 for every run.
        if (run == 0) {
            machine.setByDate(u"06", u"12", u"2026");
            yardstick.setByDate(u"06", u"12", u"2026");
        } else {
            const int selector = (run - 1) % 4 + 1;
            machine.pressSelector(selector);
            yardstick.pressSelector(selector);
        }
        machine.pressWindowButton(rovanta::WindowButton::Command4);
        yardstick.pressWindowButton(rovanta::WindowButton::Command4);
        machine.editOutput(0, machine.state().output().size(), {});
        yardstick.editOutput({});

        auto start = std::chrono::steady_clock::now();
        machine.encrypt(message);
        const double machineTook = seconds(start);

        start = std::chrono::steady_clock::now();
        yardstick.encipherCapitals(message);
        const double plainTook = seconds(start);

        const std::string differences = reference::differences(machine.state(), yardstick, false);
        if (machine.state().message().size() != kLetters || !differences.empty()) {
            std::fprintf(stderr, "run %d: the machine does not end where the plain letter path ends\n%s", run,
                         differences.c_str());
            return 1;
        }
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
