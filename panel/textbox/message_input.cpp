#include "panel/textbox/message_input.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include <utility>

namespace rovanta {

MessageInput::MessageInput(TypeCharacter typeCharacter, QWidget* parent)
    : TextBox(parent, KeyMap::CharactersFirst), m_typeCharacter(std::move(typeCharacter))
{
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
