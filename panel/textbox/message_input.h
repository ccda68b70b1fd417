#pragma once

#include "machine/message_entry.h"
#include "panel/textbox/text_box.h"

#include <functional>

namespace rovanta {

// The message box Text2 with live typing. Every character the operator types, or an input method commits,
// goes to the machine one by one before the box sees it: a letter is enciphered and the box inserts its
// capital; anything else, control characters included, acts as Backspace. Keys that give no character
// (arrows, Delete, Home, End, Shift+Insert) work the box as usual, so pasting by Shift+Insert or the
// context menu still works and Encrypt enciphers what was pasted; the menu shows those keys, never a
// Ctrl+V that types here.
class MessageInput final : public TextBox {
    Q_OBJECT

public:
    using TypeCharacter = std::function<Typed(char32_t)>;

    MessageInput(TypeCharacter typeCharacter, QWidget* parent);

signals:
    // One key or one input-method commit has been handled to its end.
    void typed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void typeCharacters(const QString& characters);

    TypeCharacter m_typeCharacter;
};

} // namespace rovanta
