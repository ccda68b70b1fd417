#include "apps/rovanta-v4/panel_settings.h"
#include "apps/rovanta-v4/settings.h"
#include "panel/form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    rovanta::Form1 form(rovanta::v4::modelSettings(), rovanta::v4::kPanelSettings, rovanta::localToday);
    form.show();
    return application.exec();
}
