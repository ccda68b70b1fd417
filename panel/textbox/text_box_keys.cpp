#include "panel/textbox/text_box_keys.h"

#include <QKeyEvent>
#include <QKeySequence>

#include <algorithm>
#include <array>

namespace rovanta {

namespace {

using Step = LineText::Step;

struct Motion {
    QKeySequence::StandardKey key;
    Step step;
    bool mark;
};

constexpr std::array kMotions{Motion{QKeySequence::MoveToPreviousChar, Step::PreviousChar, false},
                              Motion{QKeySequence::SelectPreviousChar, Step::PreviousChar, true},
                              Motion{QKeySequence::MoveToNextChar, Step::NextChar, false},
                              Motion{QKeySequence::SelectNextChar, Step::NextChar, true},
                              Motion{QKeySequence::MoveToPreviousWord, Step::PreviousWord, false},
                              Motion{QKeySequence::SelectPreviousWord, Step::PreviousWord, true},
                              Motion{QKeySequence::MoveToNextWord, Step::NextWord, false},
                              Motion{QKeySequence::SelectNextWord, Step::NextWord, true},
                              Motion{QKeySequence::MoveToStartOfLine, Step::Start, false},
                              Motion{QKeySequence::SelectStartOfLine, Step::Start, true},
                              Motion{QKeySequence::MoveToStartOfDocument, Step::Start, false},
                              Motion{QKeySequence::SelectStartOfDocument, Step::Start, true},
                              Motion{QKeySequence::MoveToEndOfLine, Step::End, false},
                              Motion{QKeySequence::SelectEndOfLine, Step::End, true},
                              Motion{QKeySequence::MoveToEndOfDocument, Step::End, false},
                              Motion{QKeySequence::SelectEndOfDocument, Step::End, true}};

// Typed text, as a line edit accepts it: Ctrl with a key gives no text, AltGr (Ctrl+Alt) does.
bool isTextInput(const QKeyEvent& event)
{
    const QString text = event.text();
    if (text.isEmpty())
        return false;
    const QChar first = text.front();
    if (first.category() == QChar::Other_Format)
        return true;
    if ((event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::ControlModifier)
        return false;
    return first.isPrint() || first.category() == QChar::Other_PrivateUse ||
           (first.isHighSurrogate() && text.size() > 1 && text[1].isLowSurrogate());
}

// Shift+F10 opens the box's menu as the Menu key does: the keyboard's way to it where that key is missing,
// and a screen reader user's way to Paste, whose Shift+Insert the reader keeps for itself.
bool opensMenu(const QKeyEvent& event)
{
    return event.key() == Qt::Key_F10 && (event.modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier;
}

bool isBackspace(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Backspace &&
           !(event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
}

bool isFocusKey(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab;
}

KeyAction run(TextCommand command)
{
    return {KeyAction::Kind::Run, Step::Start, false, command};
}

// The text a key gives on a plain Latin keyboard, for a press made up from a key binding.
QString textOf(QKeyCombination combination)
{
    switch (combination.key()) {
    case Qt::Key_Backspace:
        return QStringLiteral("\b");
    case Qt::Key_Tab:
        return QStringLiteral("\t");
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("\r");
    case Qt::Key_Escape:
        return QStringLiteral("\x1b");
    default:
        break;
    }
    const int key = combination.key();
    if (key < Qt::Key_Space || key > Qt::Key_AsciiTilde)
        return {};
    const QChar character(key);
    return combination.keyboardModifiers() & Qt::ShiftModifier ? QString(character)
                                                               : QString(character.toLower());
}

} // namespace

QString characterInput(const QKeyEvent& event)
{
    // Delete carries the text DEL on some window systems, yet it is an editing key, not a character.
    if (event.key() == Qt::Key_Delete)
        return {};
    const QString text = event.text();
    const Qt::KeyboardModifiers chord = event.modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (chord == Qt::ControlModifier && text.size() == 1) {
        const char16_t character = text.front().unicode();
        if (character >= 0x40 && character < 0x80)
            return QString(QChar(character & 0x1f));
    }
    return text;
}

KeyAction keyAction(const QKeyEvent& event, KeyMap map)
{
    if (map == KeyMap::CharactersFirst && !isFocusKey(event) && !characterInput(event).isEmpty())
        return run(TextCommand::Type);
    for (const Motion& motion : kMotions) {
        if (event.matches(motion.key))
            return {KeyAction::Kind::Move, motion.step, motion.mark};
    }
    for (const TextCommandEntry& entry : kTextCommands) {
        if (event.matches(entry.keys))
            return run(entry.command);
    }
    if (opensMenu(event))
        return run(TextCommand::OpenMenu);
    if (isBackspace(event))
        return run(TextCommand::Backspace);
    if (isTextInput(event))
        return run(TextCommand::Type);
    return {};
}

// The first of the platform's keys for the command that, pressed in the box, does that command.
QKeySequence keyFor(TextCommand command, KeyMap map)
{
    const auto* entry =
        std::find_if(kTextCommands.begin(), kTextCommands.end(),
                     [command](const TextCommandEntry& each) { return each.command == command; });
    if (entry == kTextCommands.end())
        return {};
    for (const QKeySequence& binding : QKeySequence::keyBindings(entry->keys)) {
        const QKeyCombination combination = binding[0];
        const QKeyEvent press(QEvent::KeyPress, combination.key(), combination.keyboardModifiers(),
                              textOf(combination));
        const KeyAction action = keyAction(press, map);
        if (action.kind == KeyAction::Kind::Run && action.command == command)
            return binding;
    }
    return {};
}

} // namespace rovanta
