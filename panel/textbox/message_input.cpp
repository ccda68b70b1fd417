#include "panel/textbox/message_input.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include <utility>

namespace rovanta {

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

namespace {

bool isFocusKey(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab;
}

} // namespace

MessageInput::MessageInput(TypeCharacter typeCharacter, QWidget* parent)
    : TextBox(parent), m_typeCharacter(std::move(typeCharacter))
{
}

bool MessageInput::event(QEvent* event)
{
    // A key that gives a character is the machine's, never a shortcut's: Ctrl+A, Ctrl+V and Ctrl+Z are
    // control characters here, not select-all, paste and undo.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (!isFocusKey(key) && !characterInput(key).isEmpty()) {
            event->accept();
            return true;
        }
    }
    return TextBox::event(event);
}

void MessageInput::keyPressEvent(QKeyEvent* event)
{
    const QString characters = characterInput(*event);
    if (characters.isEmpty()) {
        TextBox::keyPressEvent(event);
        return;
    }
    typeCharacters(characters);
    event->accept();
    emit typed();
}

void MessageInput::inputMethodEvent(QInputMethodEvent* event)
{
    const QString committed = event->commitString();
    if (committed.isEmpty()) {
        TextBox::inputMethodEvent(event);
        return;
    }
    // The box keeps the pre-edit text and any replacement; the committed characters are typed.
    QInputMethodEvent rest(event->preeditString(), event->attributes());
    rest.setCommitString(QString(), event->replacementStart(), event->replacementLength());
    TextBox::inputMethodEvent(&rest);
    typeCharacters(committed);
    event->accept();
    emit typed();
}

void MessageInput::typeCharacters(const QString& characters)
{
    for (qsizetype i = 0; i < characters.size();) {
        char32_t character = characters[i].unicode();
        qsizetype length = 1;
        if (QChar::isHighSurrogate(character) && i + 1 < characters.size() &&
            characters[i + 1].isLowSurrogate()) {
            character = QChar::surrogateToUcs4(characters[i], characters[i + 1]);
            length = 2;
        }
        i += length;
        const Typed outcome = m_typeCharacter(character);
        if (outcome.key == TypedKey::Letter)
            insert(QString(QChar(outcome.capital)));
        else
            backspace();
    }
}

} // namespace rovanta
