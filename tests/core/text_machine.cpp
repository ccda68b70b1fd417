#include "tests/core/text_machine.h"

#include <utility>

namespace oracle {

namespace {

int number(const std::string& text)
{
    return std::stoi(text);
}

std::string plainDecimal(int value)
{
    return std::to_string(value);
}

// Selectors Key 1 to Key 4 fill Label8, Label6, Label4, Label2.
constexpr std::array<int, 5> kKeyRow{0, 8, 6, 4, 2};

char asciiUpper(char32_t character)
{
    if (character >= U'a' && character <= U'z')
        return static_cast<char>(character - 32);
    return static_cast<char>(character);
}

} // namespace

TextMachine::TextMachine(TextMachineSettings settings) : m_settings(std::move(settings))
{
    // The texts the panel is laid out with; the key rows are empty until start-up.
    for (int i = 1; i <= 26; ++i) {
        m_cells[1][i] = positionText(i);
        m_cells[3][i] = positionText(i);
        m_cells[5][i] = positionText(i);
        m_cells[7][i] = positionText(i);
        m_cells[9][i] = positionText(i);
        m_cells[10][i] = positionText(27 - i);
    }
    for (auto& row : m_colours)
        row.fill(kStandard);
}

std::string TextMachine::positionText(int value) const
{
    if (m_settings.form == Form::Letter)
        return std::string(1, static_cast<char>(value + 64));
    std::string text = plainDecimal(value);
    if (text.size() == 1)
        text = "0" + text;
    return text;
}

void TextMachine::startUp()
{
    if (m_settings.resetRestoresStartKeys) {
        Reset1234();
        return;
    }
    copyKey(1, 8);
    copyKey(2, 6);
    copyKey(3, 4);
    copyKey(4, 2);
    sortwheels();
}

void TextMachine::copyKey(int slot, int row)
{
    const std::string& key = m_settings.keybook[slot];
    const std::size_t width = m_settings.form == Form::TwoDigit ? 2 : 1;
    std::size_t p = 0;
    for (int i = 1; i <= 26; ++i, p += width)
        m_cells[row][i] = key.substr(p, width);
}

void TextMachine::Reset1234()
{
    m_captions = {"", "Key 1", "Key 2", "Key 3", "Key 4"};
    copyKey(1, 8);
    copyKey(2, 6);
    copyKey(3, 4);
    copyKey(4, 2);
}

void TextMachine::sortwheels()
{
    const std::array<int, 4> ringRow{0, 3, 5, 7};
    for (int window = 1; window <= 3; ++window) {
        std::array<std::string, 27>& row = m_cells[ringRow[window]];
        const int w = number(m_windows[window]);
        if (m_settings.form == Form::Letter) {
            int code = 65;
            for (int j = w; j <= 26; ++j)
                row[j] = std::string(1, static_cast<char>(code++));
            for (int j = 1; j <= w - 1; ++j)
                row[j] = std::string(1, static_cast<char>(code++));
            continue;
        }
        int counter = 1;
        for (int index = w; index != 27; ++index, ++counter) {
            row[index] = plainDecimal(counter);
            if (number(row[index]) < 10)
                row[index] = "0" + row[index];
        }
        counter = 26;
        for (int index = w;;) {
            if (--index == 0)
                break;
            row[index] = plainDecimal(counter);
            if (number(row[index]) < 10)
                row[index] = "0" + row[index];
            if (--counter == 0)
                break;
        }
    }
}

void TextMachine::BackColToWhite()
{
    for (int i = 1; i <= 26; ++i) {
        for (int row = 1; row <= 10; ++row)
            m_colours[row][i] = kWhite;
    }
}

void TextMachine::advance(int window)
{
    m_windows[window] = plainDecimal(number(m_windows[window]) + 1);
    if (m_windows[window].size() == 1)
        m_windows[window] = "0" + m_windows[window];
}

void TextMachine::getkey()
{
    advance(1);
    if (number(m_windows[1]) == 27) {
        m_windows[1] = "01";
        advance(2);
    }
    if (number(m_windows[2]) == 27) {
        m_windows[2] = "01";
        advance(3);
    }
    if (number(m_windows[3]) == 27)
        m_windows[3] = "01";
    sortwheels();
    BackColToWhite();
    // The five stages stand in pairs of rows up the panel, from the entry scale (Label1, Label2) through the
    // wheels to the reflector (Label9, Label10). Out, the number climbs: each stage reads it off its lower
    // row and passes on what the upper row shows in that column.
    for (int lower = 1; lower <= 9; lower += 2)
        cross(lower, lower + 1, lower + 1, kRed);
    // At the top it turns: the reflector scale lights the column the number comes back in and keeps it.
    cross(9, 10, 9, kYellow);
    // Back down through the wheels and the entry stage, each read off its upper row into its lower one.
    for (int upper = 8; upper >= 2; upper -= 2)
        cross(upper, upper - 1, upper - 1, kYellow);
    if (m_settings.form == Form::TwoDigit)
        m_letternum = std::string(1, static_cast<char>(number(m_letternum) + 64));
    m_output += m_letternum;
}

void TextMachine::cross(int searched, int beside, int read, std::uint32_t colour)
{
    for (int i = 1; i <= 26; ++i) {
        if (m_cells[searched][i] != m_letternum)
            continue;
        m_colours[searched][i] = colour;
        m_colours[beside][i] = colour;
        m_letternum = m_cells[read][i];
        return;
    }
}

bool TextMachine::type(char32_t character)
{
    const char upper = asciiUpper(character);
    if (upper < 65 || upper > 90)
        return false;
    m_letternum = positionText(upper - 64);
    getkey();
    return true;
}

bool TextMachine::encrypt(std::string_view message)
{
    std::string upper;
    for (const char character : message)
        upper += asciiUpper(static_cast<unsigned char>(character));
    m_message.clear();
    for (const char character : upper) {
        if (character != ' ')
            m_message += character;
    }
    const std::size_t length = m_message.size();
    for (std::size_t i = 0; i < length; ++i) {
        m_letternum = std::string(1, m_message[i]);
        if (m_message[i] < 65 || m_message[i] > 90) {
            m_message.clear();
            return false;
        }
    }
    for (const char character : m_message) {
        m_letternum = positionText(character - 64);
        getkey();
    }
    return true;
}

void TextMachine::pressSelector(int selector)
{
    std::string& caption = m_captions[selector];
    int key = 0;
    for (int n = 1; n <= 100; ++n) {
        if (caption == "Key " + plainDecimal(n)) {
            caption = "Key " + plainDecimal(n + 1);
            key = n + 1;
            break;
        }
    }
    if (caption == "Key 101") {
        caption = "Key 1";
        key = 1;
    }
    if (key == 0) {
        // Off the cycle, as Set By Date leaves it ("Key 06", "Key 00"): this machine reads the digits as
        // the key shown and steps on from there.
        key = number(caption.substr(4)) % 100 + 1;
        caption = "Key " + plainDecimal(key);
    }
    copyKey(key, kKeyRow[selector]);
}

void TextMachine::pressWindowButton(int command)
{
    const int window = 3 - (command - 2) / 2;
    const bool up = command % 2 == 0;
    std::string& caption = m_windows[window];
    caption = plainDecimal(number(caption) + (up ? 1 : -1));
    if (number(caption) < 10)
        caption = "0" + caption;
    if (up && number(caption) == 27)
        caption = "01";
    if (!up && number(caption) == 0)
        caption = "26";
    sortwheels();
    if (m_settings.windowButtonsClearHighlight)
        BackColToWhite();
}

void TextMachine::reset()
{
    m_windows = {"", "01", "01", "01"};
    m_message.clear();
    m_output.clear();
    BackColToWhite();
    if (m_settings.resetRestoresStartKeys)
        Reset1234();
    sortwheels();
}

void TextMachine::setByDate(const std::string& day, const std::string& month, const std::string& year)
{
    const std::string yy = year.substr(year.size() - 2);
    m_captions[3] = "Key " + yy;
    copyKey(number(yy), 4);
    m_captions[2] = "Key " + month;
    copyKey(number(month), 6);
    m_captions[1] = "Key " + day;
    copyKey(number(day), 8);
    int k4 = number(day) + number(month) + number(yy) + number(year.substr(0, 2));
    if (k4 >= 100)
        k4 -= 95;
    m_captions[4] = "Key " + plainDecimal(k4);
    copyKey(k4, 2);
}

} // namespace oracle
