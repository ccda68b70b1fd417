#include "apps/rovanta-v4/settings.h"

namespace rovanta::v4 {

ModelSettings modelSettings()
{
    ModelSettings settings;
    settings.alphabet = CellAlphabet::Letter;
    settings.keybook = kKeyBook;
    settings.firstFilledSlot = 1;
    settings.resetRestoresStartKeys = false;
    settings.windowButtonsClearHighlight = false;
    settings.hasSettingByDate = false;
    settings.title = " Rovanta Machine V4";
    settings.titleLine = "Rovanta Machine V4";
    return settings;
}

} // namespace rovanta::v4
