#include "apps/rovanta-v5/settings.h"

namespace rovanta::v5 {

ModelSettings modelSettings()
{
    ModelSettings settings;
    settings.alphabet = CellAlphabet::TwoDigit;
    settings.keybook = kKeyBook;
    settings.firstFilledSlot = 0;
    settings.resetRestoresStartKeys = true;
    settings.windowButtonsClearHighlight = true;
    settings.hasSettingByDate = true;
    settings.title = " Rovanta Machine V5.1";
    settings.titleLine = "Rovanta Machine V5.1";
    return settings;
}

} // namespace rovanta::v5
