#include "apps/rovanta-v5/panel_settings.h"
#include "apps/rovanta-v5/settings.h"
#include "panel/platform/display.h"
#include "panel/platform/program.h"
#include "panel/window/form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // Named before the display is opened, so that the desktop matches the window to its launcher.
    QApplication::setApplicationName(QStringLiteral("rovanta-v5"));
    QApplication::setApplicationVersion(QStringLiteral(ROVANTA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ROVANTA_DESKTOP_ID));
    const auto application = rovanta::openDisplay(argc, argv);
    rovanta::Form1 form(rovanta::v5::modelSettings(), rovanta::v5::kPanelSettings, rovanta::localToday);
    return rovanta::runWindow(form);
}
