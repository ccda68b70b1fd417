#pragma once

#include "panel/textbox/line_text.h"

#include <QKeySequence>
#include <QString>
#include <QtGlobal>

#include <array>

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

// A command of the box with the platform's keys for it and its entry on the box's menu, if it has one.
struct TextCommandEntry {
    TextCommand command;
    QKeySequence::StandardKey keys;
    const char* menuLabel;
    // A separator goes before it on the menu.
    bool startsGroup;
};

// The box's commands in the order of its menu: the keys and the menu both read this table, so that the
// menu shows the key that does each command.
inline constexpr std::array kTextCommands{
    TextCommandEntry{TextCommand::Undo, QKeySequence::Undo, QT_TRANSLATE_NOOP("rovanta::TextBox", "&Undo"),
                     false},
    TextCommandEntry{TextCommand::Redo, QKeySequence::Redo, QT_TRANSLATE_NOOP("rovanta::TextBox", "&Redo"),
                     false},
    TextCommandEntry{TextCommand::Cut, QKeySequence::Cut, QT_TRANSLATE_NOOP("rovanta::TextBox", "Cu&t"),
                     true},
    TextCommandEntry{TextCommand::Copy, QKeySequence::Copy, QT_TRANSLATE_NOOP("rovanta::TextBox", "&Copy"),
                     false},
    TextCommandEntry{TextCommand::Paste, QKeySequence::Paste, QT_TRANSLATE_NOOP("rovanta::TextBox", "&Paste"),
                     false},
    TextCommandEntry{TextCommand::Delete, QKeySequence::Delete,
                     QT_TRANSLATE_NOOP("rovanta::TextBox", "Delete"), false},
    TextCommandEntry{TextCommand::SelectAll, QKeySequence::SelectAll,
                     QT_TRANSLATE_NOOP("rovanta::TextBox", "Select All"), true},
    TextCommandEntry{TextCommand::DeleteWordBefore, QKeySequence::DeleteStartOfWord, nullptr, false},
    TextCommandEntry{TextCommand::DeleteWordAfter, QKeySequence::DeleteEndOfWord, nullptr, false}};

// Whose a key that gives a character is. A line edit leaves Ctrl+V, Ctrl+Z and the like to their commands;
// a box that types every character (the message box) takes them as the control characters they give, so
// that only the keys that give no character are its commands there.
enum class KeyMap { Platform, CharactersFirst };

// What a key does in a text box: a caret step, a command, or nothing (the key is not the box's).
struct KeyAction {
    enum class Kind { None, Move, Run };
    Kind kind = Kind::None;
    LineText::Step step = LineText::Step::Start;
    bool mark = false;
    TextCommand command = TextCommand::Type;
};

// The keys of a line edit, matched through the platform's key bindings.
KeyAction keyAction(const QKeyEvent& event, KeyMap map);

// The key that does `command` in a box whose keys follow `map`, empty when no key does.
QKeySequence keyFor(TextCommand command, KeyMap map);

// The characters a key gives the box, as a keyboard delivers them to a text box: Ctrl with a letter is
// that letter's control character (Ctrl+A is 1, Ctrl+V is 22), whatever the platform put into the event's
// text. Empty for a key that gives no character, Delete included.
QString characterInput(const QKeyEvent& event);

} // namespace rovanta
