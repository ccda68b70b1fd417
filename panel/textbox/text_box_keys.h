#pragma once

#include "panel/textbox/line_text.h"

class QKeyEvent;

namespace rovanta {

// What the operator can ask of a text box besides moving the caret.
enum class TextCommand {
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Delete,
    DeleteWordBefore,
    DeleteWordAfter,
    SelectAll,
    OpenMenu,
    Backspace,
    Type
};

// What a key does in a text box: a caret step, a command, or nothing (the key is not the box's).
struct KeyAction {
    enum class Kind { None, Move, Run };
    Kind kind = Kind::None;
    LineText::Step step = LineText::Step::Start;
    bool mark = false;
    TextCommand command = TextCommand::Type;
};

// The keys of a line edit, matched through the platform's key bindings.
KeyAction keyAction(const QKeyEvent& event);

} // namespace rovanta
