#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// A second machine, kept only for the tests: it holds what the panel shows (cell texts, colour numbers,
// window and caption texts) and does everything the way an operator with the wiring diagram would, by
// scanning texts. It shares no code with the model, so the two can only agree by both being right.
namespace oracle {

// How cells and letternum are written: two-digit numbers ("07") or letters ("G").
enum class Form : std::uint8_t { TwoDigit, Letter };

inline constexpr std::uint32_t kRed = 255;
inline constexpr std::uint32_t kYellow = 65535;
inline constexpr std::uint32_t kWhite = 16777215;
// The panel's own background before the first clearing: no colour number the machine ever writes.
inline constexpr std::uint32_t kStandard = 0xFF000000;

struct TextMachineSettings {
    Form form = Form::TwoDigit;
    std::array<std::string, 101> keybook; // key texts as built into the program; slot 0 may be empty
    bool resetRestoresStartKeys = true;
    bool windowButtonsClearHighlight = true;
};

class TextMachine {
public:
    explicit TextMachine(TextMachineSettings settings);

    void startUp();
    // true when the character was enciphered, false when it became a Backspace. ASCII only.
    bool type(char32_t character);
    // false when the message was rejected. ASCII only.
    bool encrypt(std::string_view message);
    void pressSelector(int selector);
    void pressWindowButton(int command); // Command2 to Command7
    void reset();
    // Texts taken as they stand; the caller hands in only texts that name slots of the book.
    void setByDate(const std::string& day, const std::string& month, const std::string& year);

    const std::string& cell(int row, int cell) const { return m_cells[row][cell]; }
    std::uint32_t colour(int row, int cell) const { return m_colours[row][cell]; }
    const std::string& window(int window) const { return m_windows[window]; }
    const std::string& caption(int selector) const { return m_captions[selector]; }
    const std::string& letternum() const { return m_letternum; }
    const std::string& message() const { return m_message; }
    const std::string& output() const { return m_output; }

private:
    void getkey();
    // Finds letternum in row `searched`, lights its column there and in row `beside`, and takes on the
    // text row `read` shows in that column; a number the row does not hold passes unchanged and unlit.
    void cross(int searched, int beside, int read, std::uint32_t colour);
    void sortwheels();
    void BackColToWhite();
    void Reset1234();
    void copyKey(int slot, int row);
    void advance(int window);
    std::string positionText(int number) const;

    TextMachineSettings m_settings;
    std::array<std::array<std::string, 27>, 11> m_cells;
    std::array<std::array<std::uint32_t, 27>, 11> m_colours;
    std::array<std::string, 4> m_windows{"", "01", "01", "01"};
    std::array<std::string, 5> m_captions{"", "Key 1", "Key 2", "Key 3", "Key 4"};
    std::string m_letternum;
    std::string m_message;
    std::string m_output;
};

} // namespace oracle
