#pragma once

#include "keysetting/date_setting.h"
#include "keysetting/model_settings.h"
#include "keysetting/window_buttons.h"
#include "machine/machine_state.h"
#include "machine/message_entry.h"

#include <string>
#include <string_view>

namespace rovanta {

// The machine's controls as the operator works them: one call per operator action, each leaving the state
// that the panel then shows. The model's differences come in as settings.
class MachineControls {
public:
    explicit MachineControls(const ModelSettings& settings);

    const MachineState& state() const { return m_state; }
    const ModelSettings& settings() const { return m_settings; }

    // The machine's part of start-up: the key book, then the start keys.
    void startUp();

    Typed type(char32_t character);
    Encrypted encrypt(std::u16string_view message);
    void pressSelector(int selector);
    void pressWindowButton(WindowButton button);
    void reset();
    SetByDateOutcome setByDate(std::u16string_view day, std::u16string_view month, std::u16string_view year);

    // The operator edited the output box by hand: the letters from `position`, as many as `removed`, gave
    // way to `inserted`, and the next cipher letters follow the box's text. (The message needs no such
    // call: Encrypt takes the message box as it stands.)
    void editOutput(std::size_t position, std::size_t removed, std::u16string_view inserted)
    {
        m_state.editOutput(position, removed, inserted);
    }

private:
    enum class Moment : std::uint8_t { StartUp, Reset };
    // Where the models' start keys differ: the one place that reads resetRestoresStartKeys.
    void takeStartKeys(Moment moment);

    ModelSettings m_settings;
    MachineState m_state;
};

} // namespace rovanta
