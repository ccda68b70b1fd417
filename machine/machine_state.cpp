#include "machine/machine_state.h"

#include <algorithm>
#include <cassert>

namespace rovanta {

namespace {

// The ring row of a window at w shows ((j - w) mod 26) + 1 in cell j.
int ringNumber(int cell, int window)
{
    return (cell - window + 2 * kCells) % kCells + 1;
}
// ... and so holds the number a in cell ((a + w - 2) mod 26) + 1.
int ringCell(int number, int window)
{
    return (number + window - 2) % kCells + 1;
}

// The ten lookups of one letter, in order: search row, partner row, the row the new number is read from.
struct LookupStep {
    int search;
    int partner;
    int value;
    CellColour colour;
};
// Out through each stage's pair of rows to the reflector, lit red; turn there; back through the same pairs
// in reverse, lit yellow.
constexpr std::array<LookupStep, 2 * (kStages.size() + 1)> kPath = [] {
    std::array<LookupStep, 2 * (kStages.size() + 1)> path{};
    auto step = path.begin();
    for (const Stage& stage : kStages)
        *step++ = {stage.firstRow, stage.keyRow, stage.keyRow, CellColour::Red};
    *step++ = {kReflectorRow, kPartnerRow, kPartnerRow, CellColour::Red};
    // The turn at the reflector leaves the number unchanged.
    *step++ = {kReflectorRow, kPartnerRow, kReflectorRow, CellColour::Yellow};
    for (auto stage = kStages.rbegin(); stage != kStages.rend(); ++stage)
        *step++ = {stage->keyRow, stage->firstRow, stage->firstRow, CellColour::Yellow};
    return path;
}();
static_assert(kPath.size() + 1 == MachineState::kPathNumbers);

bool isPermutation(const Key& key)
{
    std::array<bool, kCells + 1> seen{};
    for (int cell = 1; cell <= kCells; ++cell) {
        const int number = key[cell];
        if (number < 1 || number > kCells || seen[number])
            return false;
        seen[number] = true;
    }
    return true;
}

} // namespace

std::uint32_t colourNumber(CellColour colour)
{
    switch (colour) {
    case CellColour::Red:
        return 0x0000FF;
    case CellColour::Yellow:
        return 0x00FFFF;
    case CellColour::White:
        return 0xFFFFFF;
    case CellColour::Standard:
        break;
    }
    return 0;
}

namespace {

constexpr std::string_view kCaptionPrefix = "Key ";

} // namespace

std::string selectorCaption(int keyNumber)
{
    return selectorCaption(std::to_string(keyNumber));
}

std::string selectorCaption(std::string_view number)
{
    return std::string(kCaptionPrefix).append(number);
}

std::optional<int> keyNumberOfCaption(std::string_view caption)
{
    if (!caption.starts_with(kCaptionPrefix))
        return std::nullopt;
    const std::optional<int> number = wholeNumber(caption.substr(kCaptionPrefix.size()));
    if (!number || *number >= MachineState::kBookSlots)
        return std::nullopt;
    return number;
}

MachineState::MachineState(CellAlphabet alphabet) : m_alphabet(alphabet)
{
    // The captions the panel is laid out with.
    for (int selector = 1; selector <= kSelectors; ++selector)
        m_selectors[selector] = rovanta::selectorCaption(selector);
}

const std::string& MachineState::keybookSlot(int slot) const
{
    return m_keybook.at(slot);
}

void MachineState::setKeybookSlot(int slot, std::string keyText)
{
    m_keybook.at(slot) = std::move(keyText);
}

const std::string& MachineState::selectorCaption(int selector) const
{
    return m_selectors.at(selector);
}

void MachineState::setSelectorCaption(int selector, std::string caption)
{
    m_selectors.at(selector) = std::move(caption);
}

void MachineState::setWindow(int window, int position)
{
    assert(position >= 1 && position <= kCells);
    m_windows.at(window) = position;
}

int MachineState::cellNumber(int row, int cell) const
{
    assert(row >= 1 && row <= kRows && cell >= 1 && cell <= kCells);
    if (isKeyRow(row))
        return m_keyRows[row][cell];
    if (const int window = windowOfRow(row); window != kNoWindow)
        return ringNumber(cell, m_ringAlignedTo[window]);
    return row == kPartnerRow ? kCells + 1 - cell : cell; // the fixed scales
}

int MachineState::cellHolding(int row, int number) const
{
    if (number < 1 || number > kCells)
        return 0;
    if (isKeyRow(row)) {
        const Key& key = m_keyRows[row];
        const auto found = std::find(key.begin() + 1, key.end(), number);
        return found == key.end() ? 0 : static_cast<int>(found - key.begin());
    }
    if (const int window = windowOfRow(row); window != kNoWindow)
        return ringCell(number, m_ringAlignedTo[window]);
    return row == kPartnerRow ? kCells + 1 - number : number;
}

std::string_view MachineState::cellText(int row, int cell) const
{
    return rovanta::cellText(m_alphabet, cellNumber(row, cell));
}

CellColour MachineState::cellColour(int row, int cell) const
{
    // A later lookup paints over an earlier one.
    for (std::size_t i = m_litCount; i-- > 0;) {
        if (m_lit[i].row == row && m_lit[i].cell == cell)
            return m_litColour[i];
    }
    return m_baseColour;
}

void MachineState::setKeyRow(int row, const Key& key)
{
    assert(isKeyRow(row));
    if (m_keyRows[row] == key)
        return;
    m_keyRows[row] = key;
    ++m_rowRevision[row];
}

void MachineState::setLetternum(std::u16string text)
{
    m_letternum = std::move(text);
}

void MachineState::setLetternumToPosition(int number)
{
    const std::string_view text = rovanta::cellText(m_alphabet, number);
    m_letternum.assign(text.begin(), text.end());
}

void MachineState::setMessage(std::u16string text)
{
    m_message = std::move(text);
    ++m_messageRevision;
}

void MachineState::appendOutput(char16_t letter)
{
    m_output.push_back(letter);
}

void MachineState::setOutput(std::u16string text)
{
    m_output = std::move(text);
    ++m_outputRevision;
}

void MachineState::editOutput(std::size_t position, std::size_t removed, std::u16string_view inserted)
{
    position = std::min(position, m_output.size());
    removed = std::min(removed, m_output.size() - position);
    if (position == m_output.size())
        m_output.append(inserted);
    else
        m_output.replace(position, removed, inserted);
    ++m_outputEditRevision;
    m_outputLengthAfterEdit = m_output.size();
}

void MachineState::stepWindows()
{
    // An odometer: window 2 moves when window 1 passes 26, window 3 when window 2 does.
    for (int window = 1; window <= kWindows; ++window) {
        if (++m_windows[window] <= kCells)
            return;
        m_windows[window] = 1;
    }
}

void MachineState::sortwheels()
{
    for (int window = 1; window <= kWindows; ++window) {
        if (m_ringAlignedTo[window] == m_windows[window])
            continue;
        m_ringAlignedTo[window] = m_windows[window];
        ++m_rowRevision[ringRowOfWindow(window)];
    }
}

void MachineState::BackColToWhite()
{
    // Only the lit cells differ from the base colour, so clearing them and the base is clearing all 260.
    m_baseColour = CellColour::White;
    m_litCount = 0;
    m_pathLength = 0;
}

void MachineState::light(int row, int cell, CellColour colour)
{
    assert(m_litCount < m_lit.size());
    m_lit[m_litCount] = CellRef{static_cast<std::uint8_t>(row), static_cast<std::uint8_t>(cell)};
    m_litColour[m_litCount] = colour;
    ++m_litCount;
}

int MachineState::lookUp(int searchRow, int partnerRow, int valueRow, int number, CellColour colour)
{
    const int cell = cellHolding(searchRow, number);
    if (cell == 0)
        return number; // no cell matches: nothing is lit and the number passes unchanged
    light(searchRow, cell, colour);
    light(partnerRow, cell, colour);
    return cellNumber(valueRow, cell);
}

void MachineState::getkey()
{
    const int plain = positionOfText(m_alphabet, m_letternum);
    assert(plain != 0 && "letternum holds a letter's text before every letter");
    if (plain == 0)
        return;
    stepWindows();
    sortwheels();
    BackColToWhite();
    int number = plain;
    m_path[m_pathLength++] = static_cast<std::uint8_t>(number);
    for (const LookupStep& step : kPath) {
        number = lookUp(step.search, step.partner, step.value, number, step.colour);
        m_path[m_pathLength++] = static_cast<std::uint8_t>(number);
    }
    const char16_t cipher = static_cast<char16_t>(u'@' + number);
    m_letternum.assign(1, cipher);
    appendOutput(cipher);
}

bool MachineState::keysAreWired() const
{
    return std::ranges::all_of(kStages,
                               [this](const Stage& stage) { return isPermutation(m_keyRows[stage.keyRow]); });
}

namespace {

// The letter step as arithmetic on numbers 0 to 25, for keys that are permutations, split where the windows
// split it. The outer stages (Key 4 and the wheel of window 1, out and back) change at every letter with
// window 1; the inner ones (the wheels of windows 2 and 3 and the reflector, out and back) change only when
// window 2 moves, which is once in 26 letters. Each part is a table, so a letter costs three reads. The
// inner table of a pair of windows 2 and 3 is built when the message first reaches it: a short message
// builds only the few it needs, and a long one builds each of the 676 once.
class LetterTables {
public:
    // k1 to k4 are the keys of selectors Key 1 to Key 4. The tables take Key 4's stage as the one moved by
    // nothing and Keys 3 to 1 as the wheels of windows 1 to 3.
    static_assert(std::ranges::all_of(kStages, [](const Stage& stage) {
        return stage.window == kSelectors - stage.selector;
    }));

    explicit LetterTables(const std::array<Key, kRows + 1>& keyRows)
    {
        const Key& k1 = keyRows[keyRowOfSelector(1)];
        const Key& k2 = keyRows[keyRowOfSelector(2)];
        const Key& k3 = keyRows[keyRowOfSelector(3)];
        const Key& k4 = keyRows[keyRowOfSelector(4)];
        std::array<int, kCells> inv3{}, inv4{};
        for (int cell = 1; cell <= kCells; ++cell) {
            m_inv1[k1[cell] - 1] = static_cast<std::uint8_t>(cell - 1);
            m_inv2[k2[cell] - 1] = static_cast<std::uint8_t>(cell - 1);
            inv3[k3[cell] - 1] = cell - 1;
            inv4[k4[cell] - 1] = cell - 1;
        }
        for (int i = 0; i < 2 * kCells; ++i) {
            m_k1[i] = static_cast<std::uint8_t>(k1[i % kCells + 1] - 1);
            m_k2[i] = static_cast<std::uint8_t>(k2[i % kCells + 1] - 1);
            m_mod[i] = static_cast<std::uint8_t>(i % kCells);
        }
        for (int w1 = 0; w1 < kCells; ++w1) {
            for (int number = 0; number < kCells; ++number) {
                // Out through Key 4 and wheel 1 at its window; back through wheel 1 and Key 4.
                m_out[w1][number] = static_cast<std::uint8_t>(k3[(k4[number + 1] - 1 + w1) % kCells + 1] - 1);
                m_back[w1][number] =
                    static_cast<char16_t>(u'A' + inv4[(inv3[number] + kCells - w1) % kCells]);
            }
        }
    }

    // The cipher letters of a run of capitals that share windows 2 and 3; w1 is window 1 minus one for the
    // run's first letter, and goes up by one for each letter after it.
    void encipherRun(std::u16string_view capitals, int w1, int w2, int w3, char16_t* out)
    {
        const Row& inner = innerRow(w2, w3);
        for (const char16_t capital : capitals) {
            *out++ = m_back[w1][inner[m_out[w1][capital - u'A']]];
            ++w1;
        }
    }

private:
    using Row = std::array<std::uint8_t, kCells>;

    const Row& innerRow(int w2, int w3)
    {
        const int pair = w2 * kCells + w3;
        Row& row = m_inner[pair];
        if (m_built[pair])
            return row;
        m_built[pair] = true;
        for (int a2 = 0; a2 < kCells; ++a2) {
            const int a3 = m_k2[a2 + w2];
            const int a4 = m_k1[a3 + w3];
            const int a5 = kCells - 1 - a4; // the reflector pairs n with 27 - n
            const int b3 = m_mod[m_inv1[a5] + kCells - w3];
            row[a2] = m_mod[m_inv2[b3] + kCells - w2];
        }
        return row;
    }

    std::array<std::uint8_t, 2 * kCells> m_k2{}, m_k1{}, m_mod{};
    std::array<std::uint8_t, kCells> m_inv1{}, m_inv2{};
    std::array<Row, kCells> m_out{};
    std::array<std::array<char16_t, kCells>, kCells> m_back{};
    // Filled only as m_built marks; left unset otherwise, so that a short message pays for none of it.
    std::array<Row, kCells * kCells> m_inner;
    std::array<bool, kCells * kCells> m_built{};
};

} // namespace

void MachineState::encipherByTables(std::u16string_view capitals)
{
    LetterTables tables(m_keyRows);
    const std::size_t start = m_output.size();
    m_output.resize(start + capitals.size());
    char16_t* out = m_output.data() + start;
    for (std::size_t done = 0; done < capitals.size();) {
        stepWindows(); // the windows of letter `done`
        const std::size_t run =
            std::min(capitals.size() - done, static_cast<std::size_t>(kCells + 1 - m_windows[1]));
        tables.encipherRun(capitals.substr(done, run), m_windows[1] - 1, m_windows[2] - 1, m_windows[3] - 1,
                           out + done);
        // The windows of the run's last letter.
        m_windows[1] += static_cast<int>(run) - 1;
        done += run;
    }
}

void MachineState::encipherCapitals(std::u16string_view capitals)
{
    if (capitals.empty())
        return;
    const std::u16string_view leading = capitals.substr(0, capitals.size() - 1);
    if (keysAreWired()) {
        encipherByTables(leading);
    } else {
        for (const char16_t capital : leading) {
            setLetternumToPosition(capital - u'@');
            getkey();
        }
    }
    // The last letter goes the whole way, so that its path is lit as the panel must show it.
    setLetternumToPosition(capitals.back() - u'@');
    getkey();
}

} // namespace rovanta
