#pragma once

#include <QIcon>
#include <QImage>

namespace rovanta {

// The window's icon: a 32 by 32 picture in the 16 colours of the classic palette, drawn here rather than
// loaded so that the program carries no picture files. It shows a small panel: grey frame, rows of white
// cells, and one letter's path lit red going out and yellow coming back.
QImage panelIconImage();
QIcon panelIcon();

} // namespace rovanta
