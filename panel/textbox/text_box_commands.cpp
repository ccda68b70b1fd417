// What the box does to its text: the program's changes, the operator's edits, and the commands its keys and
// its menu run.
#include "panel/textbox/text_box.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

namespace rovanta {

namespace {

QClipboard* clipboard()
{
    return QGuiApplication::clipboard();
}

} // namespace

void TextBox::setText(const QString& text)
{
    m_view.showFromStart();
    afterTextChange(m_line.reset(text));
}

void TextBox::append(QStringView tail)
{
    afterTextChange(m_line.append(tail));
}

void TextBox::insert(const QString& text)
{
    afterOperatorEdit(m_line.insert(text));
}

void TextBox::backspace()
{
    afterOperatorEdit(m_line.erase(m_line.previousCharacter(m_line.caret())));
}

void TextBox::edit(qsizetype start, qsizetype end, const QString& with)
{
    afterOperatorEdit(m_line.edit(start, end, with, LineText::Merge::Separate));
}

void TextBox::setCursorPosition(qsizetype position)
{
    moveCaret(position, false);
}

void TextBox::setSelection(qsizetype start, qsizetype length)
{
    m_line.select(start, start + length);
    afterChange();
}

void TextBox::selectAll()
{
    m_line.selectAll();
    afterChange();
}

void TextBox::moveCaret(qsizetype position, bool mark)
{
    m_line.moveCaret(position, mark);
    afterChange();
}

void TextBox::afterOperatorEdit(const Change& change)
{
    if (change.isEmpty())
        return;
    afterTextChange(change);
    emit operatorEdited(change);
}

// Each change of the text is shown from what changed alone: the box scrolls back to it if it lies to the
// left, and a screen reader hears just the removed and inserted characters.
void TextBox::afterTextChange(const Change& change)
{
    if (!change.isEmpty()) {
        m_view.showChangeAt(change.position);
        announceTextChange(this, change);
    }
    afterChange();
}

// With KeyUse::Check it only tells whether the key is the box's, so that no shortcut takes it away.
bool TextBox::handleKey(const QKeyEvent& event, KeyUse use)
{
    const KeyAction action = keyAction(event, m_keys);
    if (use == KeyUse::Act && action.kind == KeyAction::Kind::Move)
        moveCaret(m_line.target(action.step, action.mark), action.mark);
    else if (use == KeyUse::Act && action.kind == KeyAction::Kind::Run)
        run(action.command, event.text());
    return action.kind != KeyAction::Kind::None;
}

void TextBox::run(TextCommand command, const QString& typed)
{
    switch (command) {
    case TextCommand::Undo:
        return afterOperatorEdit(m_line.undo());
    case TextCommand::Redo:
        return afterOperatorEdit(m_line.redo());
    case TextCommand::Cut:
        copy();
        return afterOperatorEdit(m_line.erase(m_line.caret()));
    case TextCommand::Copy:
        return copy();
    case TextCommand::Paste:
        return pasteFrom(QClipboard::Clipboard);
    case TextCommand::Delete:
        return afterOperatorEdit(m_line.erase(m_line.nextCharacter(m_line.caret())));
    case TextCommand::DeleteWordBefore:
        moveCaret(m_line.target(LineText::Step::PreviousWord, true), true);
        return run(TextCommand::Delete);
    case TextCommand::DeleteWordAfter:
        moveCaret(m_line.target(LineText::Step::NextWord, true), true);
        return run(TextCommand::Delete);
    case TextCommand::SelectAll:
        return selectAll();
    case TextCommand::OpenMenu:
        return openMenuAtCaret();
    case TextCommand::Backspace:
        return backspace();
    case TextCommand::Type:
        return insert(typed);
    }
}

bool TextBox::canRun(TextCommand command) const
{
    switch (command) {
    case TextCommand::Undo:
        return m_line.canUndo();
    case TextCommand::Redo:
        return m_line.canRedo();
    case TextCommand::Cut:
    case TextCommand::Copy:
    case TextCommand::Delete:
        return hasSelectedText();
    case TextCommand::SelectAll:
        return !text().isEmpty() && m_line.selectionEnd() - m_line.selectionStart() < text().size();
    case TextCommand::Paste:
        // Asking the clipboard whether it holds text would wait on the program that holds it; a paste of
        // nothing changes nothing.
    default:
        return true;
    }
}

void TextBox::copy() const
{
    if (hasSelectedText())
        clipboard()->setText(selectedText());
}

// The text may come after the window has handled other events, an earlier paste among them. On a box
// still as it was when the paste was asked for, it takes the place of the selection then; on a box changed
// meanwhile it goes in at the caret as it stands, and text selected since is not replaced.
void TextBox::pasteFrom(QClipboard::Mode mode)
{
    m_paste.read(mode, [this, asked = m_changes](const QString& pasted) {
        if (asked == m_changes)
            edit(m_line.selectionStart(), m_line.selectionEnd(), pasted);
        else
            edit(m_line.caret(), m_line.caret(), pasted);
    });
}

// On X a selection is offered to other programs as the primary selection as soon as it is made.
void TextBox::offerSelection() const
{
    if (hasSelectedText() && clipboard()->supportsSelection())
        clipboard()->setText(selectedText(), QClipboard::Selection);
}

// Each entry carries its command as its data, and beside its label the key that does it in this box: the
// message box takes Ctrl+V as a character, so its Paste shows another key or none.
QMenu* TextBox::commandMenu()
{
    auto* menu = new QMenu(this);
    for (const TextCommandEntry& entry : kTextCommands) {
        if (entry.menuLabel == nullptr)
            continue;
        if (entry.startsGroup)
            menu->addSeparator();
        const QString label = tr(entry.menuLabel);
        const QString key = keyFor(entry.command, m_keys).toString(QKeySequence::NativeText);
        QAction* action = menu->addAction(key.isEmpty() ? label : label + u'\t' + key);
        action->setData(static_cast<int>(entry.command));
        action->setEnabled(canRun(entry.command));
        connect(action, &QAction::triggered, this, [this, command = entry.command] { run(command); });
    }
    return menu;
}

void TextBox::openMenuAtCaret()
{
    const QPoint at = m_view.caretRect().bottomLeft();
    QContextMenuEvent asked(QContextMenuEvent::Keyboard, at, mapToGlobal(at));
    contextMenuEvent(&asked);
}

} // namespace rovanta
