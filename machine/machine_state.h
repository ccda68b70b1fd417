#pragma once

#include "machine/position.h"
#include "machine/rows.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace rovanta {

// A cell's background. Red, yellow and white carry the machine's colour numbers (blue-green-red byte
// order); Standard is the panel's own window background, which every cell shows until its first clearing.
enum class CellColour : std::uint8_t { Standard, White, Red, Yellow };

// 255, 65535, 16777215 for red, yellow, white; 0 for Standard, which has no colour number of its own.
std::uint32_t colourNumber(CellColour colour);

// One wiring of a keyed stage: position number i holds the key's i-th number (index 0 unused, so
// key[i] reads as "Number i"). A key row that no key has been copied into yet holds zeros.
using Key = std::array<std::uint8_t, kCells + 1>;

// A cell of the panel's ten rows, numbered as the panel numbers them: rows Label1 to Label10, cells 1 to 26.
struct CellRef {
    std::uint8_t row = 0;
    std::uint8_t cell = 0;
    friend bool operator==(CellRef, CellRef) = default;
};

// The caption of key number n: "Key " and n in plain decimal ("Key 7", "Key 100").
std::string selectorCaption(int keyNumber);
// "Key " and a number's text as it stands ("Key 06" from the day "06").
std::string selectorCaption(std::string_view number);
// The key number a caption shows: "Key " followed by a whole number within the book, 0 to 100. Set By
// Date writes captions with a leading zero ("Key 06", "Key 00"); they show 6 and 0.
std::optional<int> keyNumberOfCaption(std::string_view caption);

// The whole state of one machine: key book, selector captions, windows, the ten rows with their colours,
// letternum, message and output. Numbers are held as integers; every text the panel shows is derived from
// them in the model's alphabet, so a lookup by integer matches exactly where a lookup by text would.
class MachineState {
public:
    // The key book's slots, numbered 0 to 100.
    static constexpr int kBookSlots = 101;
    // A letter's number and the numbers after each of the ten stages it passes through.
    static constexpr std::size_t kPathNumbers = 11;

    explicit MachineState(CellAlphabet alphabet);

    CellAlphabet alphabet() const { return m_alphabet; }

    // Key book: kBookSlots key texts, slots 0 to 100, in the model's key form. Only the key setting reads
    // them.
    const std::string& keybookSlot(int slot) const;
    void setKeybookSlot(int slot, std::string keyText);

    // Selector captions, selectors 1 to 4 (Command11 to Command14).
    const std::string& selectorCaption(int selector) const;
    void setSelectorCaption(int selector, std::string caption);

    // Windows 1 to 3, each a position 1 to 26, shown as "01" to "26".
    int window(int window) const { return m_windows[window]; }
    std::string_view windowText(int window) const { return twoDigitText(m_windows[window]); }
    void setWindow(int window, int position);

    // The ten rows. A cell's number is 0 only in a key row that no key has reached.
    int cellNumber(int row, int cell) const;
    std::string_view cellText(int row, int cell) const;
    CellColour cellColour(int row, int cell) const;
    void setKeyRow(int row, const Key& key);

    const std::u16string& letternum() const { return m_letternum; }
    void setLetternum(std::u16string text);
    // letternum holds the letter's text in the model's alphabet: "05" or "E" for 5.
    void setLetternumToPosition(int number);

    const std::u16string& message() const { return m_message; }
    void setMessage(std::u16string text);
    const std::u16string& output() const { return m_output; }
    void appendOutput(char16_t letter);
    void setOutput(std::u16string text);
    // The operator's own edit of the output box, which already shows it: the letters from `position`, as
    // many as `removed`, give way to `inserted`. It costs what the edit touches, not the output's length.
    void editOutput(std::size_t position, std::size_t removed, std::u16string_view inserted);
    void clearOutput() { setOutput({}); }

    // One letter through the machine: step the windows, realign, clear, light the path and append the
    // cipher letter. letternum must hold a letter's text in the model's alphabet ("01" or "A" for A).
    void getkey();
    // The three ring rows follow the windows.
    void sortwheels();
    // Every cell white.
    void BackColToWhite();

    // The same as setting letternum to each letter's text and calling getkey once per letter, in order;
    // every capital must be 'A' to 'Z'. Only the last letter's path is traced cell by cell, so the cost of
    // a letter does not grow with the panel.
    void encipherCapitals(std::u16string_view capitals);

    // What a panel needs to show only what changed.
    // A row's texts change only when its revision changes.
    std::uint64_t rowRevision(int row) const { return m_rowRevision[row]; }
    // Every cell not in litCells() has the base colour: Standard before the first clearing, then White.
    CellColour baseColour() const { return m_baseColour; }
    std::span<const CellRef> litCells() const { return {m_lit.data(), m_litCount}; }
    // The numbers of the lit path, as the last letter carried them: the plain letter's number, then the
    // number after each stage out to the reflector and back, the last one the cipher letter's. Empty once
    // the highlight is cleared.
    std::span<const std::uint8_t> litPath() const { return {m_path.data(), m_pathLength}; }
    // Message and output are replaced only when their revision changes; between revisions the output
    // only grows at its end, apart from the operator's own edits, which the output box already shows:
    // after the last of them the box held outputLengthAfterEdit() letters.
    std::uint64_t messageRevision() const { return m_messageRevision; }
    std::uint64_t outputRevision() const { return m_outputRevision; }
    std::uint64_t outputEditRevision() const { return m_outputEditRevision; }
    std::size_t outputLengthAfterEdit() const { return m_outputLengthAfterEdit; }

private:
    void stepWindows();
    void light(int row, int cell, CellColour colour);
    // The first cell of a row that holds a number, scanning from cell 1; 0 when none does.
    int cellHolding(int row, int number) const;
    int lookUp(int searchRow, int partnerRow, int valueRow, int number, CellColour colour);
    bool keysAreWired() const;
    // The letters' cipher letters and the windows they leave, without tracing any cell; keys wired only.
    void encipherByTables(std::u16string_view capitals);

    CellAlphabet m_alphabet;
    std::array<std::string, kBookSlots> m_keybook;
    std::array<std::string, kSelectors + 1> m_selectors;
    std::array<int, kWindows + 1> m_windows{0, 1, 1, 1};
    // Ring offsets shown by the ring rows (the window each was last aligned to).
    std::array<int, kWindows + 1> m_ringAlignedTo{0, 1, 1, 1};
    std::array<Key, kRows + 1> m_keyRows{};
    std::array<std::uint64_t, kRows + 1> m_rowRevision{};

    CellColour m_baseColour = CellColour::Standard;
    // Twenty cells at most are lit by one letter: one in each row on the way out and one on the way back.
    std::array<CellRef, 2 * kRows> m_lit{};
    std::array<CellColour, 2 * kRows> m_litColour{};
    std::size_t m_litCount = 0;
    std::array<std::uint8_t, kPathNumbers> m_path{};
    std::size_t m_pathLength = 0;

    std::u16string m_letternum;
    std::u16string m_message;
    std::u16string m_output;
    std::uint64_t m_messageRevision = 0;
    std::uint64_t m_outputRevision = 0;
    std::uint64_t m_outputEditRevision = 0;
    std::size_t m_outputLengthAfterEdit = 0;
};

} // namespace rovanta
