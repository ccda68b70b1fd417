#include "tests/reference/reference_machine.h"

#include <algorithm>

namespace reference {

namespace {

constexpr int kLastKey = 100;

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

std::string latin(std::u16string_view digits)
{
    return {digits.begin(), digits.end()};
}

std::string keyCaption(int number)
{
    return "Key " + std::to_string(number);
}

std::string twoDigits(int number)
{
    return {static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
}

// How a cell of the model writes a number: "07" or "G".
std::string cellText(const rovanta::ModelSettings& settings, int number)
{
    if (settings.alphabet == rovanta::CellAlphabet::Letter)
        return std::string(1, static_cast<char>('@' + number));
    return twoDigits(number);
}

// A value in a failure report; of a text, ASCII as it stands and any other unit as '?'.
std::string shown(int value)
{
    return std::to_string(value);
}

std::string shown(std::string_view text)
{
    return std::string(text);
}

std::string shown(std::u16string_view text)
{
    std::string out;
    for (const char16_t unit : text)
        out += unit < 0x80 ? static_cast<char>(unit) : '?';
    return out;
}

} // namespace

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

ReferenceMachine::ReferenceMachine(const rovanta::ModelSettings& settings) : m_settings(settings)
{
    const bool twoDigit = settings.alphabet == rovanta::CellAlphabet::TwoDigit;
    for (int slot = settings.firstFilledSlot; slot <= kLastKey; ++slot) {
        const std::string_view text = settings.keybook[static_cast<std::size_t>(slot)];
        Key& key = m_book[static_cast<std::size_t>(slot)];
        for (std::size_t n = 1; n <= 26; ++n) {
            key[n] = twoDigit ? (text[2 * n - 2] - '0') * 10 + (text[2 * n - 1] - '0') : text[n - 1] - '@';
            m_inverse[static_cast<std::size_t>(slot)][static_cast<std::size_t>(key[n])] = static_cast<int>(n);
        }
    }
    takeStartKeys();
}

void ReferenceMachine::takeStartKeys()
{
    for (int selector = 1; selector <= 4; ++selector)
        setKey(selector, selector, keyCaption(selector));
}

void ReferenceMachine::setKey(int selector, int number, std::string caption)
{
    m_keyNumbers[static_cast<std::size_t>(selector)] = number;
    m_captions[static_cast<std::size_t>(selector)] = std::move(caption);
}

int ReferenceMachine::encipher(int plain)
{
    for (std::size_t w = 1; w <= 3 && ++m_windows[w] > 26; ++w)
        m_windows[w] = 1;
    const auto keyNumber = [&](int selector) { return m_keyNumbers[static_cast<std::size_t>(selector)]; };
    const auto through = [&](int selector, int n) {
        return m_book[static_cast<std::size_t>(keyNumber(selector))][static_cast<std::size_t>(n)];
    };
    const auto back = [&](int selector, int n) {
        return m_inverse[static_cast<std::size_t>(keyNumber(selector))][static_cast<std::size_t>(n)];
    };
    // Out: the entry key, then the ring at its window and the key of each wheel stage, to the reflector.
    // Wheel stage s stands in rows 2s + 1 and 2s + 2, turned by window s and keyed by Key 4 - s.
    int n = plain;
    m_red[1] = m_red[2] = n;
    n = through(4, n);
    for (int stage = 1; stage <= 3; ++stage) {
        const int cell = aroundTheRing(n + m_windows[static_cast<std::size_t>(stage)] - 2);
        m_red[static_cast<std::size_t>(2 * stage + 1)] = m_red[static_cast<std::size_t>(2 * stage + 2)] =
            cell;
        n = through(4 - stage, cell);
    }
    m_red[9] = m_red[10] = n;
    n = 27 - n;
    m_yellow[9] = m_yellow[10] = n;
    // Back: through each key's inverse and its ring, to the entry key's inverse.
    for (int stage = 3; stage >= 1; --stage) {
        const int cell = back(4 - stage, n);
        m_yellow[static_cast<std::size_t>(2 * stage + 1)] =
            m_yellow[static_cast<std::size_t>(2 * stage + 2)] = cell;
        n = aroundTheRing(cell - m_windows[static_cast<std::size_t>(stage)]);
    }
    n = back(4, n);
    m_yellow[1] = m_yellow[2] = n;
    return n;
}

void ReferenceMachine::encipherCapitals(std::u16string_view capitals)
{
    if (capitals.empty())
        return;
    const std::size_t start = m_output.size();
    m_output.resize(start + capitals.size());
    for (std::size_t i = 0; i < capitals.size(); ++i)
        m_output[start + i] = static_cast<char16_t>(u'@' + encipher(capitals[i] - u'@'));
    m_highlight = Highlight::Path;
    m_letternum = std::u16string(1, m_output.back());
}

char16_t ReferenceMachine::type(char32_t character)
{
    const char16_t capital = capitalOf(character);
    if (capital != 0)
        encipherCapitals(std::u16string_view(&capital, 1));
    return capital;
}

bool ReferenceMachine::encrypt(std::u16string_view message)
{
    const std::optional<std::u16string> capitals = capitalsOf(message);
    m_message = capitals.value_or(std::u16string());
    if (!capitals) {
        // letternum holds the character Encrypt stopped at, upper-cased.
        m_letternum.reset();
        for (const char32_t character : charactersOf(message)) {
            if (character == U' ' || capitalOf(character) != 0)
                continue;
            if (character < 0x80)
                m_letternum = std::u16string(1, static_cast<char16_t>(character >= U'a' && character <= U'z'
                                                                          ? character - 32
                                                                          : character));
            break;
        }
        return false;
    }
    encipherCapitals(m_message);
    return true;
}

void ReferenceMachine::pressSelector(int selector)
{
    const int next = m_keyNumbers[static_cast<std::size_t>(selector)] % kLastKey + 1;
    setKey(selector, next, keyCaption(next));
}

void ReferenceMachine::pressWindowButton(rovanta::WindowButton button)
{
    // Command2 and 3 turn window 3 up and down, 4 and 5 window 2, 6 and 7 window 1.
    const int index = static_cast<int>(button) - 2;
    int& window = m_windows[static_cast<std::size_t>(3 - index / 2)];
    window = aroundTheRing(window + (index % 2 == 0 ? 1 : -1) - 1);
    if (m_settings.windowButtonsClearHighlight)
        m_highlight = Highlight::White;
}

void ReferenceMachine::reset()
{
    m_windows = {0, 1, 1, 1};
    m_message.clear();
    m_output.clear();
    m_highlight = Highlight::White;
    if (m_settings.resetRestoresStartKeys)
        takeStartKeys();
}

bool ReferenceMachine::setByDate(std::u16string_view day, std::u16string_view month, std::u16string_view year)
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
    setKey(4, fourth, keyCaption(fourth));
    return true;
}

int ReferenceMachine::cellNumber(int row, int cell) const
{
    if (row == 10)
        return 27 - cell;
    if (row == 3 || row == 5 || row == 7)
        return aroundTheRing(cell - m_windows[static_cast<std::size_t>(row / 2)]);
    if (row % 2 == 0) {
        // Label2, 4, 6 and 8 hold Keys 4, 3, 2 and 1.
        const int selector = 5 - row / 2;
        return m_book[static_cast<std::size_t>(m_keyNumbers[static_cast<std::size_t>(selector)])]
                     [static_cast<std::size_t>(cell)];
    }
    return cell; // entry scale and reflector scale
}

rovanta::CellColour ReferenceMachine::colour(int row, int cell) const
{
    if (m_highlight == Highlight::Standard)
        return rovanta::CellColour::Standard;
    if (m_highlight == Highlight::Path && cell == m_yellow[static_cast<std::size_t>(row)])
        return rovanta::CellColour::Yellow;
    if (m_highlight == Highlight::Path && cell == m_red[static_cast<std::size_t>(row)])
        return rovanta::CellColour::Red;
    return rovanta::CellColour::White;
}

std::string differences(const rovanta::MachineState& machine, const ReferenceMachine& reference,
                        bool compareMessage)
{
    // Run after every action of every fuzzer input, so a difference's description is put together only
    // when there is one.
    std::string out;
    int found = 0;
    const auto differ = [&](auto&& what, const auto& machineValue, const auto& referenceValue) {
        if (machineValue == referenceValue || ++found > 8)
            return;
        out += what() + ": machine \"" + shown(machineValue) + "\", reference \"" + shown(referenceValue) +
               "\"\n";
    };
    const rovanta::ModelSettings& settings = reference.settings();
    for (int window = 1; window <= 3; ++window) {
        differ([&] { return "window " + std::to_string(window); }, machine.windowText(window),
               twoDigits(reference.window(window)));
    }
    for (int selector = 1; selector <= 4; ++selector) {
        differ([&] { return "caption " + std::to_string(selector); }, machine.selectorCaption(selector),
               reference.caption(selector));
    }
    for (int slot = 0; slot <= kLastKey; ++slot) {
        const std::string_view built = slot < settings.firstFilledSlot
                                           ? std::string_view()
                                           : settings.keybook[static_cast<std::size_t>(slot)];
        differ([&] { return "key book slot " + std::to_string(slot); }, machine.keybookSlot(slot), built);
    }
    std::array<std::string, 27> texts;
    for (int number = 1; number <= 26; ++number)
        texts[static_cast<std::size_t>(number)] = cellText(settings, number);
    for (int row = 1; row <= 10; ++row) {
        for (int cell = 1; cell <= 26; ++cell) {
            const auto where = [&] {
                return "Label" + std::to_string(row) + "(" + std::to_string(cell) + ")";
            };
            differ([&] { return where() + " text"; }, machine.cellText(row, cell),
                   std::string_view(texts[static_cast<std::size_t>(reference.cellNumber(row, cell))]));
            differ([&] { return where() + " colour"; }, static_cast<int>(machine.cellColour(row, cell)),
                   static_cast<int>(reference.colour(row, cell)));
        }
    }
    if (reference.letternum())
        differ([] { return std::string("letternum"); }, machine.letternum(), *reference.letternum());
    if (compareMessage)
        differ([] { return std::string("message"); }, machine.message(), reference.message());
    if (machine.output() != reference.output()) {
        const std::u16string& a = machine.output();
        const std::u16string& b = reference.output();
        const auto at = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
        out += "output differs at letter " + std::to_string(at) + " (lengths " + std::to_string(a.size()) +
               " and " + std::to_string(b.size()) + ")\n";
    }
    return out;
}

} // namespace reference
