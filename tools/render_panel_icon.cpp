// Writes the window's icon at every size a desktop asks for into a hicolor icon theme tree, so that the
// installed icons come from the same drawing as the window's own:
//   render_panel_icon <theme folder> <icon name>
// makes <theme folder>/<n>x<n>/apps/<icon name>.png for each size.
#include "panel/panel_icon.h"

#include <QDir>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s THEME-FOLDER ICON-NAME\n", argv[0]);
        return 2;
    }
    const QString theme = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (const int size : rovanta::kPanelIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(theme).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(folder, name);
        if (!QDir().mkpath(folder) || !rovanta::panelIconImage(size).save(file, "PNG")) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(file));
            return 1;
        }
    }
    return 0;
}
