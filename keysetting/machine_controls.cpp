#include "keysetting/machine_controls.h"

#include "keysetting/key_book.h"
#include "keysetting/selectors.h"

namespace rovanta {

MachineControls::MachineControls(const ModelSettings& settings)
    : m_settings(settings), m_state(settings.alphabet)
{
}

void MachineControls::startUp()
{
    RandKeys(m_state, m_settings);
    takeStartKeys(Moment::StartUp);
}

void MachineControls::takeStartKeys(Moment moment)
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

Typed MachineControls::type(char32_t character)
{
    return typeCharacter(m_state, character);
}

Encrypted MachineControls::encrypt(std::u16string_view message)
{
    return rovanta::encrypt(m_state, message);
}

void MachineControls::pressSelector(int selector)
{
    rovanta::pressSelector(m_state, selector);
}

void MachineControls::pressWindowButton(WindowButton button)
{
    const WindowButtonAction action = actionOf(button);
    stepWindow(m_state, action.window, action.step);
    if (m_settings.windowButtonsClearHighlight)
        m_state.BackColToWhite();
}

void MachineControls::reset()
{
    for (int window = 1; window <= kWindows; ++window)
        m_state.setWindow(window, 1);
    m_state.setMessage({});
    m_state.clearOutput();
    m_state.BackColToWhite();
    takeStartKeys(Moment::Reset);
    m_state.sortwheels();
}

SetByDateOutcome MachineControls::setByDate(std::u16string_view day, std::u16string_view month,
                                            std::u16string_view year)
{
    return rovanta::setByDate(m_state, day, month, year);
}

} // namespace rovanta
