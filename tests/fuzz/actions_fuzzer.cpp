// Random runs of every operator action on either model's machine, each action mirrored by the plain
// arithmetic and everything the panel shows compared after it. The first byte picks the model; then each
// action is one byte, followed by the bytes it takes.
#include "apps/rovanta-v4/settings.h"
#include "apps/rovanta-v5/settings.h"
#include "tests/fuzz/fuzz_support.h"

using rovanta::WindowButton;

namespace {

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool more() const { return m_at < m_size; }
    int next() { return m_at < m_size ? m_data[m_at++] : 0; }

    // ASCII as it stands; the other byte values stand for characters that test the machine's edges.
    char32_t character()
    {
        static constexpr std::array<char32_t, 16> kEdges{0x131,  0x17F,  0xDF,    0xE9,    0x212A, 0x301,
                                                         0xD800, 0xDC00, 0x1F600, 0x10428, 0xFF21, 0x660,
                                                         0x3000, 0xA0,   0xFFFF,  0x10FFFF};
        const int byte = next();
        return byte < 0x80 ? static_cast<char32_t>(byte) : kEdges[static_cast<std::size_t>(byte % 16)];
    }

    std::u16string text(int longest)
    {
        std::u16string text;
        for (int length = next() % (longest + 1); length > 0; --length)
            fuzz::appendCodePoint(text, character());
        return text;
    }

    // Mostly digits, as an operator would type into a date box.
    std::u16string digits(int longest)
    {
        std::u16string text;
        for (int length = next() % (longest + 1); length > 0; --length) {
            const int byte = next();
            text.push_back(byte < 0xC0 ? static_cast<char16_t>(u'0' + byte % 10)
                                       : static_cast<char16_t>(byte));
        }
        return text;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

enum class Action : std::uint8_t {
    Type,
    TypeLetters,
    Encrypt,
    Selector,
    WindowButton,
    Reset,
    SetByDate,
    EditOutput
};
constexpr int kActions = 8;

void typeLetters(rovanta::MachineControls& machine, fuzz::Reference& reference, std::u16string_view letters)
{
    const rovanta::MachineControls before = machine;
    for (const char16_t letter : letters) {
        machine.type(letter);
        reference.type(letter);
    }
    fuzz::expectReciprocal(before, machine, letters);
}

void act(rovanta::MachineControls& machine, fuzz::Reference& reference, Action action, Bytes& bytes)
{
    switch (action) {
    case Action::Type: {
        const char32_t character = bytes.character();
        machine.type(character);
        reference.type(character);
        return;
    }
    case Action::TypeLetters: {
        std::u16string letters;
        for (int length = bytes.next() % 40; length > 0; --length)
            letters.push_back(static_cast<char16_t>(u'A' + bytes.next() % 26));
        typeLetters(machine, reference, letters);
        return;
    }
    case Action::Encrypt: {
        const std::u16string message = bytes.text(60);
        const rovanta::MachineControls before = machine;
        machine.encrypt(message);
        if (reference.encrypt(message))
            fuzz::expectReciprocal(before, machine, machine.state().message());
        return;
    }
    case Action::Selector: {
        const int selector = 1 + bytes.next() % 4;
        machine.pressSelector(selector);
        reference.pressSelector(selector);
        return;
    }
    case Action::WindowButton: {
        const auto button =
            static_cast<WindowButton>(static_cast<int>(WindowButton::Command2) + bytes.next() % 6);
        machine.pressWindowButton(button);
        reference.pressWindowButton(button);
        return;
    }
    case Action::Reset:
        machine.reset();
        reference.reset();
        return;
    case Action::SetByDate: {
        if (!machine.settings().hasSettingByDate)
            return;
        const std::u16string day = bytes.digits(3);
        const std::u16string month = bytes.digits(3);
        const std::u16string year = bytes.digits(5);
        const bool set = machine.setByDate(day, month, year) == rovanta::SetByDateOutcome::Set;
        fuzz::expect(set == reference.setByDate(day, month, year),
                     "Set By Date sets the keys of a good date");
        return;
    }
    case Action::EditOutput: {
        // Usually a cut of the output, as an operator deletes its end; sometimes any text.
        const std::u16string& before = machine.state().output();
        const std::u16string output =
            bytes.next() % 4 != 0 ? before.substr(0, before.size() / 2) : bytes.text(20);
        machine.editOutput(0, before.size(), output);
        reference.editOutput(output);
        return;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::array<rovanta::ModelSettings, 2> models{rovanta::v5::modelSettings(),
                                                              rovanta::v4::modelSettings()};
    Bytes bytes(data, size);
    const rovanta::ModelSettings& settings = models[static_cast<std::size_t>(bytes.next() % 2)];
    rovanta::MachineControls machine(settings);
    machine.startUp();
    fuzz::Reference reference(settings);
    fuzz::expectAgree(machine, reference);
    while (bytes.more()) {
        act(machine, reference, static_cast<Action>(bytes.next() % kActions), bytes);
        fuzz::expectAgree(machine, reference);
    }
    return 0;
}
