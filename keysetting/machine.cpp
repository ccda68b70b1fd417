#include "keysetting/machine.h"

#include "keysetting/key_book.h"
#include "keysetting/selectors.h"

namespace rovanta {

Machine::Machine(const ModelSettings& settings) : m_settings(settings), m_state(settings.alphabet) {}

void Machine::startUp()
{
    RandKeys(m_state, m_settings);
    takeStartKeys(Moment::StartUp);
}

void Machine::takeStartKeys(Moment moment)
{
    if (m_settings.resetRestoresStartKeys) {
        Reset1234(m_state);
        return;
    }
    // The four model's captions "Key 1" to "Key 4" come with the panel; its start-up copies the keys
    // itself and aligns the rings, which already stand at "01", and its Reset keeps the operator's keys.
    if (moment == Moment::StartUp) {
        copyStartKeys(m_state);
        m_state.sortwheels();
    }
}

Typed Machine::type(char32_t character)
{
    return typeCharacter(m_state, character);
}

Encrypted Machine::encrypt(std::u16string_view message)
{
    return rovanta::encrypt(m_state, message);
}

void Machine::pressSelector(int selector)
{
    rovanta::pressSelector(m_state, selector);
}

void Machine::pressWindowButton(WindowButton button)
{
    const WindowButtonAction action = actionOf(button);
    stepWindow(m_state, action.window, action.step);
    if (m_settings.windowButtonsClearHighlight)
        m_state.BackColToWhite();
}

void Machine::reset()
{
    for (int window = 1; window <= kWindows; ++window)
        m_state.setWindow(window, 1);
    m_state.setMessage({});
    m_state.clearOutput();
    m_state.BackColToWhite();
    takeStartKeys(Moment::Reset);
    m_state.sortwheels();
}

SetByDateOutcome Machine::setByDate(std::u16string_view day, std::u16string_view month,
                                    std::u16string_view year)
{
    return rovanta::setByDate(m_state, day, month, year);
}

} // namespace rovanta
