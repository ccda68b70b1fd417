#include "tests/fuzz/fuzz_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

namespace {

constexpr int kLastKey = 100;
// The selector whose key row each row is; the ring of window w stands in row 2w + 1.
constexpr std::array<int, 11> kSelectorOfRow{0, 0, 4, 0, 3, 0, 2, 0, 1, 0, 0};

int aroundTheRing(int value)
{
    return (value % 26 + 26) % 26 + 1; // 1 to 26 for any whole number, counting round the ring
}

std::optional<int> wholeNumber(std::u16string_view text)
{
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int value = 0;
    for (const char16_t digit : text)
        value = std::min(10 * value + (digit - '0'), 10'000);
    return value;
}

bool showsTwoDigits(std::string_view text, int number)
{
    return text.size() == 2 && text[0] == '0' + number / 10 && text[1] == '0' + number % 10;
}

std::string latin(std::u16string_view digits)
{
    return {digits.begin(), digits.end()};
}

} // namespace

void expect(bool holds, std::string_view what)
{
    if (holds)
        return;
    std::fprintf(stderr, "machine rule broken: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

void appendCodePoint(std::u16string& text, char32_t character)
{
    // Above the first plane: the top ten bits of (character - 0x10000) after 0xD800, the low ten after
    // 0xDC00.
    if (character >= 0x10000)
        text += {static_cast<char16_t>(0xD7C0 + (character >> 10)),
                 static_cast<char16_t>(0xDC00 | (character & 0x3FF))};
    else
        text += static_cast<char16_t>(character);
}

std::u16string textOf(const std::uint8_t* data, std::size_t size)
{
    std::u16string text;
    for (std::size_t i = 0; i < size;) {
        const std::uint8_t lead = data[i];
        const std::size_t tail = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        char32_t character = lead >= 0xF0 ? lead & 0x07 : lead >= 0xE0 ? lead & 0x0F : lead & 0x1F;
        bool whole = tail > 0 && lead < 0xF8 && i + tail < size;
        for (std::size_t k = 1; whole && k <= tail; ++k) {
            whole = (data[i + k] & 0xC0) == 0x80;
            character = (character << 6) | (data[i + k] & 0x3F);
        }
        if (!whole || character > 0x10FFFF) {
            text.push_back(lead);
            ++i;
            continue;
        }
        appendCodePoint(text, character);
        i += tail + 1;
    }
    return text;
}

std::u32string charactersOf(std::u16string_view text)
{
    std::u32string characters;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            characters.push_back(0x10000 + ((unit - 0xD800) << 10) + (char32_t(text[++i]) - 0xDC00));
            continue;
        }
        characters.push_back(unit);
    }
    return characters;
}

char16_t capitalOf(char32_t character)
{
    if (character >= U'a' && character <= U'z')
        return static_cast<char16_t>(character - 32);
    if (character >= U'A' && character <= U'Z')
        return static_cast<char16_t>(character);
    if (character == 0x131) // dotless i
        return u'I';
    if (character == 0x17F) // long s
        return u'S';
    return 0;
}

std::optional<std::u16string> capitalsOf(std::u16string_view message)
{
    std::u16string capitals;
    for (const char32_t character : charactersOf(message)) {
        if (character == U' ')
            continue;
        const char16_t capital = capitalOf(character);
        if (capital == 0)
            return std::nullopt;
        capitals.push_back(capital);
    }
    return capitals;
}

Reference::Reference(const rovanta::ModelSettings& settings) : m_settings(settings)
{
    const bool twoDigit = settings.alphabet == rovanta::CellAlphabet::TwoDigit;
    for (int slot = settings.firstFilledSlot; slot <= kLastKey; ++slot) {
        const std::string_view text = settings.keybook[static_cast<std::size_t>(slot)];
        Key& key = m_book[static_cast<std::size_t>(slot)];
        for (std::size_t n = 1; n <= 26; ++n)
            key[n] = twoDigit ? (text[2 * n - 2] - '0') * 10 + (text[2 * n - 1] - '0') : text[n - 1] - '@';
    }
    for (int selector = 1; selector <= 4; ++selector)
        setKey(selector, selector, "Key " + std::to_string(selector));
}

void Reference::setKey(int selector, int number, std::string caption)
{
    m_keyNumbers[static_cast<std::size_t>(selector)] = number;
    m_captions[static_cast<std::size_t>(selector)] = std::move(caption);
}

char16_t Reference::encipher(int plain)
{
    for (std::size_t w = 1; w <= 3 && ++m_windows[w] > 26; ++w)
        m_windows[w] = 1;
    const auto keyOf = [&](int selector) -> const Key& {
        return key(m_keyNumbers[static_cast<std::size_t>(selector)]);
    };
    const auto inverse = [&](int selector, int number) {
        const Key& k = keyOf(selector);
        return static_cast<int>(std::find(k.begin() + 1, k.end(), number) - k.begin());
    };
    // Out: entry key, then key, ring and window of each wheel stage, to the reflector.
    int n = plain;
    m_red[1] = m_red[2] = n;
    n = keyOf(4)[static_cast<std::size_t>(n)];
    for (int stage = 1; stage <= 3; ++stage) {
        const int cell = aroundTheRing(n + m_windows[static_cast<std::size_t>(stage)] - 2);
        m_red[2 * stage + 1] = m_red[2 * stage + 2] = cell;
        n = keyOf(4 - stage)[static_cast<std::size_t>(cell)];
    }
    m_red[9] = m_red[10] = n;
    n = 27 - n;
    m_yellow[9] = m_yellow[10] = n;
    // Back: through each key's inverse and its ring, to the entry key's inverse.
    for (int stage = 3; stage >= 1; --stage) {
        const int cell = inverse(4 - stage, n);
        m_yellow[2 * stage + 1] = m_yellow[2 * stage + 2] = cell;
        n = aroundTheRing(cell - m_windows[static_cast<std::size_t>(stage)]);
    }
    n = inverse(4, n);
    m_yellow[1] = m_yellow[2] = n;
    m_highlight = Highlight::Path;
    const auto cipher = static_cast<char16_t>(u'@' + n);
    m_output.push_back(cipher);
    return cipher;
}

char16_t Reference::type(char32_t character)
{
    const char16_t capital = capitalOf(character);
    if (capital != 0)
        encipher(capital - u'@');
    return capital;
}

bool Reference::encrypt(std::u16string_view message)
{
    const std::optional<std::u16string> capitals = capitalsOf(message);
    m_message = capitals.value_or(std::u16string());
    for (const char16_t capital : m_message)
        encipher(capital - u'@');
    return capitals.has_value();
}

void Reference::pressSelector(int selector)
{
    const int next = m_keyNumbers[static_cast<std::size_t>(selector)] % kLastKey + 1;
    setKey(selector, next, "Key " + std::to_string(next));
}

void Reference::pressWindowButton(rovanta::WindowButton button)
{
    // Command2 and 3 turn window 3 up and down, 4 and 5 window 2, 6 and 7 window 1.
    const int index = static_cast<int>(button) - 2;
    int& window = m_windows[static_cast<std::size_t>(3 - index / 2)];
    window = aroundTheRing(window + (index % 2 == 0 ? 1 : -1) - 1);
    if (m_settings.windowButtonsClearHighlight)
        m_highlight = Highlight::White;
}

void Reference::reset()
{
    m_windows = {0, 1, 1, 1};
    m_message.clear();
    m_output.clear();
    m_highlight = Highlight::White;
    if (!m_settings.resetRestoresStartKeys)
        return;
    for (int selector = 1; selector <= 4; ++selector)
        setKey(selector, selector, "Key " + std::to_string(selector));
}

bool Reference::setByDate(std::u16string_view day, std::u16string_view month, std::u16string_view year)
{
    const std::optional<int> wholeYear = wholeNumber(year);
    if (!wholeYear || year.size() < 2)
        return false;
    const std::u16string_view lastTwo = year.substr(year.size() - 2);
    const std::optional<int> d = wholeNumber(day);
    const std::optional<int> m = wholeNumber(month);
    if (!d || !m || *d > kLastKey || *m > kLastKey)
        return false;
    const int sum = *d + *m + *wholeNumber(lastTwo) + *wholeNumber(year.substr(0, 2));
    const int fourth = sum >= 100 ? sum - 95 : sum;
    if (fourth > kLastKey)
        return false;
    setKey(1, *d, "Key " + latin(day));
    setKey(2, *m, "Key " + latin(month));
    setKey(3, *wholeNumber(lastTwo), "Key " + latin(lastTwo));
    setKey(4, fourth, "Key " + std::to_string(fourth));
    return true;
}

bool Reference::shows(std::string_view text, int number) const
{
    if (m_settings.alphabet == rovanta::CellAlphabet::Letter)
        return text.size() == 1 && text[0] == '@' + number;
    return showsTwoDigits(text, number);
}

void Reference::checkRows(const rovanta::MachineState& state) const
{
    for (int row = 1; row <= 10; ++row) {
        for (int cell = 1; cell <= 26; ++cell) {
            int number = cell; // entry scale and reflector scale
            if (row == 10)
                number = 27 - cell;
            else if (row == 3 || row == 5 || row == 7)
                number = aroundTheRing(cell - m_windows[static_cast<std::size_t>(row / 2)]);
            else if (row % 2 == 0)
                number = key(m_keyNumbers[static_cast<std::size_t>(
                    kSelectorOfRow[static_cast<std::size_t>(row)])])[static_cast<std::size_t>(cell)];
            expect(state.cellNumber(row, cell) == number, "every cell shows its row's number");
            expect(shows(state.cellText(row, cell), number), "every cell written in the model's form");
        }
    }
}

void Reference::checkColours(const rovanta::MachineState& state) const
{
    if (m_highlight == Highlight::Standard)
        return;
    for (int row = 1; row <= 10; ++row) {
        for (int cell = 1; cell <= 26; ++cell) {
            rovanta::CellColour colour = rovanta::CellColour::White;
            if (m_highlight == Highlight::Path && cell == m_red[static_cast<std::size_t>(row)])
                colour = rovanta::CellColour::Red;
            if (m_highlight == Highlight::Path && cell == m_yellow[static_cast<std::size_t>(row)])
                colour = rovanta::CellColour::Yellow;
            expect(state.cellColour(row, cell) == colour,
                   "one red and one yellow cell per row on the letter's path, every other cell white");
        }
    }
}

void Reference::check(const rovanta::Machine& machine) const
{
    const rovanta::MachineState& state = machine.state();
    for (int w = 1; w <= 3; ++w) {
        const int window = m_windows[static_cast<std::size_t>(w)];
        expect(state.window(w) == window, "windows step as an odometer and with their buttons");
        expect(showsTwoDigits(state.windowText(w), window), "windows show \"01\" to \"26\"");
    }
    for (int slot = 0; slot <= kLastKey; ++slot) {
        const std::string_view built = slot < m_settings.firstFilledSlot
                                           ? std::string_view()
                                           : m_settings.keybook[static_cast<std::size_t>(slot)];
        expect(state.keybookSlot(slot) == built, "the key book is never changed");
    }
    for (int selector = 1; selector <= 4; ++selector) {
        expect(state.selectorCaption(selector) == m_captions[static_cast<std::size_t>(selector)],
               "every selector caption names the key its row holds");
    }
    checkRows(state);
    checkColours(state);
    expect(state.message() == m_message, "the message box holds the cleaned message");
    expect(state.output() == m_output, "the output holds every cipher letter, in order");
}

void expectReciprocal(const rovanta::Machine& before, const rovanta::Machine& after,
                      std::u16string_view plain)
{
    const std::size_t start = before.state().output().size();
    const std::u16string_view cipher = std::u16string_view(after.state().output()).substr(start);
    rovanta::Machine again = before;
    again.encrypt(cipher);
    expect(std::u16string_view(again.state().output()).substr(start) == plain,
           "the same setting turns the cipher back into the message");
}

} // namespace fuzz
