#include "panel/window/panel_view.h"

#include "panel/accessible/texts.h"
#include "panel/textbox/text_box.h"

#include <QLabel>
#include <QPushButton>

#include <limits>

namespace rovanta {

namespace {

QColor colourOf(CellColour colour)
{
    const std::uint32_t number = colourNumber(colour); // blue-green-red byte order
    return QColor(static_cast<int>(number & 0xff), static_cast<int>(number >> 8 & 0xff),
                  static_cast<int>(number >> 16 & 0xff));
}

// The cells' palettes: Standard leaves the cell to the system's own Base colour; the others set it.
QPalette cellPalette(CellColour colour)
{
    QPalette palette;
    if (colour != CellColour::Standard)
        palette.setColor(QPalette::Base, colourOf(colour));
    return palette;
}

// What each row is, as a screen reader names its cells.
std::array<QString, kRows + 1> rowRoles()
{
    std::array<QString, kRows + 1> roles;
    roles[kEntryRow] = QStringLiteral("Entry scale");
    for (const Stage& stage : kStages) {
        roles[stage.keyRow] = QStringLiteral("Key row of selector %1").arg(stage.selector);
        if (stage.window != kNoWindow)
            roles[stage.firstRow] = QStringLiteral("Ring row of window %1").arg(stage.window);
    }
    roles[kReflectorRow] = QStringLiteral("Reflector scale");
    roles[kPartnerRow] = QStringLiteral("Reflector partner");
    return roles;
}

// The words a row's line ends with: where the path is lit in it, by column. A cell lit both ways shows,
// and is read as, the colour it was lit last.
QString litWords(const MachineState& state, int row)
{
    QString words;
    for (int cell = 1; cell <= kCells; ++cell) {
        const CellColour colour = state.cellColour(row, cell);
        if (colour == CellColour::Red || colour == CellColour::Yellow)
            words += QStringLiteral("; %1 at %2")
                         .arg(colour == CellColour::Red ? QStringLiteral("red") : QStringLiteral("yellow"))
                         .arg(cell);
    }
    return words;
}

// A row as a reader hears it: "Ring row of window 1: 02 03 ... 01; red at 5; yellow at 9". The columns
// follow from the order; the lit cells are named by column.
QString rowName(const MachineState& state, int row)
{
    static const std::array<QString, kRows + 1> roles = rowRoles();
    // Built in place: the rows a letter changes are named again at every letter.
    constexpr qsizetype kLength = 160;
    QString name;
    name.reserve(kLength);
    name += roles[row];
    name += QLatin1Char(':');
    for (int cell = 1; cell <= kCells; ++cell) {
        const std::string_view text = state.cellText(row, cell);
        name += QLatin1Char(' ');
        name += QLatin1StringView(text.data(), static_cast<qsizetype>(text.size()));
    }
    name += litWords(state, row);
    return name;
}

} // namespace

PanelView::PanelView(const PanelElements& elements) : m_elements(elements)
{
    m_naming.setSingleShot(true);
    m_naming.callOnTimeout([this] { nameRows(*m_named); });
    // Nothing is shown yet: the first show writes every row.
    m_shownRowRevision.fill(std::numeric_limits<std::uint64_t>::max());
    // A cell keeps the name of its place: its text and colour reach a reader through its row's name.
    const std::array<QString, kRows + 1> roles = rowRoles();
    for (int row = 1; row <= kRows; ++row) {
        for (int cell = 1; cell <= kCells; ++cell)
            m_elements.cells[row][cell]->setAccessibleName(
                QStringLiteral("%1, column %2").arg(roles[row]).arg(cell));
    }
}

void PanelView::show(const MachineState& state)
{
    showRows(state);
    showColours(state);
    nameRowsWhenStill(state);
    showWindows(state);
    showSelectors(state);
    showMessage(state);
    showOutput(state);
}

void PanelView::showRows(const MachineState& state)
{
    for (int row = 1; row <= kRows; ++row) {
        if (state.rowRevision(row) == m_shownRowRevision[row])
            continue;
        m_shownRowRevision[row] = state.rowRevision(row);
        m_rowToName[row] = true;
        for (int cell = 1; cell <= kCells; ++cell)
            m_elements.cells[row][cell]->setText(latinText(state.cellText(row, cell)));
        repaintTogether(m_elements.cells[row][1], m_elements.cells[row][kCells]);
    }
}

// Cells repainted at once, as one rectangle from the first to the last: the window then keeps one dirty
// rectangle for them instead of one per cell, and its repaint tests each of its three hundred children
// against that one. The panel grey between the cells is repainted with them.
void PanelView::repaintTogether(QLabel* first, QLabel* last)
{
    first->parentWidget()->update(first->geometry().united(last->geometry()));
}

void PanelView::showColours(const MachineState& state)
{
    // Every cell outside the lit list has the base colour, so only the cells lit before and after this
    // event can have changed, unless the base colour itself did (once, at the first clearing).
    if (state.baseColour() != m_shownBase) {
        m_shownBase = state.baseColour();
        for (int row = 1; row <= kRows; ++row) {
            for (int cell = 1; cell <= kCells; ++cell)
                paintCell(row, cell, state.cellColour(row, cell));
        }
        repaintTogether(m_elements.cells[kRows][1], m_elements.cells[1][kCells]);
    } else {
        for (const CellRef ref : m_shownLit)
            paintCell(ref.row, ref.cell, state.cellColour(ref.row, ref.cell));
        for (const CellRef ref : state.litCells())
            paintCell(ref.row, ref.cell, state.cellColour(ref.row, ref.cell));
    }
    m_shownLit.assign(state.litCells().begin(), state.litCells().end());
}

void PanelView::paintCell(int row, int cell, CellColour colour)
{
    if (m_shownColour[row][cell] == colour)
        return;
    m_shownColour[row][cell] = colour;
    static const std::array<QPalette, 4> palettes{
        cellPalette(CellColour::Standard), cellPalette(CellColour::White), cellPalette(CellColour::Red),
        cellPalette(CellColour::Yellow)};
    m_elements.cells[row][cell]->setPalette(palettes[static_cast<std::size_t>(colour)]);
    // The standard colour and white are both unlit: a reader hears no change between them.
    m_rowToName[row] = true;
}

// A row's line is written for a reader once the machine has stood still a moment, and at once while the
// window is not yet shown: written at every letter of a typed burst, the ten lines would keep a reader so
// busy with them that it fell behind the typing and dropped the cipher letters it is there to speak.
void PanelView::nameRowsWhenStill(const MachineState& state)
{
    m_named = &state;
    if (m_elements.rows[1]->isVisible())
        m_naming.start(kStill);
    else
        nameRows(state);
}

// Only the rows whose texts or colours changed are named again, and a name that reads as before is not
// written, so a reader is told of nothing it would hear the same.
void PanelView::nameRows(const MachineState& state)
{
    for (int row = 1; row <= kRows; ++row) {
        if (!m_rowToName[row])
            continue;
        m_rowToName[row] = false;
        const QString name = rowName(state, row);
        if (m_elements.rows[row]->accessibleName() != name)
            m_elements.rows[row]->setAccessibleName(name);
    }
}

void PanelView::showWindows(const MachineState& state)
{
    for (int window = 1; window <= kWindows; ++window) {
        if (state.window(window) == m_shownWindow[window])
            continue;
        m_shownWindow[window] = state.window(window);
        QLabel* label = m_elements.windows[window];
        label->setText(latinText(state.windowText(window)));
        label->setAccessibleName(QStringLiteral("Window %1, position %2").arg(window).arg(label->text()));
        for (QPushButton* button : m_elements.windowButtons[window]) {
            if (button->accessibleDescription().isEmpty())
                describeWindowButton(button, window);
        }
    }
}

// A window button's description tells its window's position. It is written as the focus comes to the
// button (describeFocus), where a reader reads it, and not as the window moves: a reader speaks a changed
// description of the button it is on, which would repeat a pressed button's announced position, and six
// descriptions rewritten at every typed letter would keep it so busy that it lags behind the typing.
void PanelView::describeWindowButton(QPushButton* button, int window)
{
    const QString description =
        QStringLiteral("Window %1 at %2").arg(window).arg(m_elements.windows[window]->text());
    if (button->accessibleDescription() != description)
        button->setAccessibleDescription(description);
}

void PanelView::describeFocus(QWidget* focus)
{
    for (int window = 1; window <= kWindows; ++window) {
        for (QPushButton* button : m_elements.windowButtons[window]) {
            if (button == focus)
                describeWindowButton(button, window);
        }
    }
}

void PanelView::showSelectors(const MachineState& state)
{
    for (int selector = 1; selector <= kSelectors; ++selector) {
        const std::string& caption = state.selectorCaption(selector);
        if (caption == m_shownCaption[selector])
            continue;
        m_shownCaption[selector] = caption;
        m_elements.selectors[selector]->setText(QString::fromStdString(caption));
    }
}

// The operator types into the message box and may edit the output box by hand, so either box can already
// hold what the machine now has (a clean message Encrypt kept as it stood, an output the operator wrote):
// such a box keeps its caret and its undo steps.

void PanelView::showMessage(const MachineState& state)
{
    if (state.messageRevision() == m_shownMessageRevision)
        return;
    m_shownMessageRevision = state.messageRevision();
    if (m_elements.message->text() != toolkitView(state.message()))
        m_elements.message->setText(QString::fromStdU16String(state.message()));
}

void PanelView::showOutput(const MachineState& state)
{
    // Between revisions the output only grows at its end: the new letters are appended once per event,
    // never the whole text rewritten per letter.
    const std::u16string& output = state.output();
    if (state.outputEditRevision() != m_shownOutputEdit) {
        // The operator's own edit: the box shows it already.
        m_shownOutputEdit = state.outputEditRevision();
        m_shownOutputLength = state.outputLengthAfterEdit();
    }
    if (state.outputRevision() != m_shownOutputRevision) {
        m_shownOutputRevision = state.outputRevision();
        if (m_elements.output->text() != toolkitView(output))
            m_elements.output->setText(QString::fromStdU16String(output));
    } else if (output.size() > m_shownOutputLength) {
        m_elements.output->append(toolkitView(output).sliced(static_cast<qsizetype>(m_shownOutputLength)));
    }
    m_shownOutputLength = output.size();
}

} // namespace rovanta
