#include "panel/textbox/text_box_keys.h"

#include <QKeyEvent>
#include <QKeySequence>

#include <array>
#include <utility>

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

constexpr std::array kCommands{std::pair{QKeySequence::Undo, TextCommand::Undo},
                               std::pair{QKeySequence::Redo, TextCommand::Redo},
                               std::pair{QKeySequence::Cut, TextCommand::Cut},
                               std::pair{QKeySequence::Copy, TextCommand::Copy},
                               std::pair{QKeySequence::Paste, TextCommand::Paste},
                               std::pair{QKeySequence::Delete, TextCommand::Delete},
                               std::pair{QKeySequence::DeleteStartOfWord, TextCommand::DeleteWordBefore},
                               std::pair{QKeySequence::DeleteEndOfWord, TextCommand::DeleteWordAfter},
                               std::pair{QKeySequence::SelectAll, TextCommand::SelectAll}};

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

KeyAction run(TextCommand command)
{
    return {KeyAction::Kind::Run, Step::Start, false, command};
}

} // namespace

KeyAction keyAction(const QKeyEvent& event)
{
    for (const Motion& motion : kMotions) {
        if (event.matches(motion.key))
            return {KeyAction::Kind::Move, motion.step, motion.mark};
    }
    for (const auto& [key, command] : kCommands) {
        if (event.matches(key))
            return run(command);
    }
    if (opensMenu(event))
        return run(TextCommand::OpenMenu);
    if (isBackspace(event))
        return run(TextCommand::Backspace);
    if (isTextInput(event))
        return run(TextCommand::Type);
    return {};
}

} // namespace rovanta
