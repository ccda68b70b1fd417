#include "panel/icon/panel_icon.h"

#include <QPixmap>

#include <algorithm>

namespace rovanta {

namespace {

// The classic 16 colours, in their usual order.
constexpr std::array<QRgb, 16> kClassicColours{
    0xff000000, 0xff800000, 0xff008000, 0xff808000, 0xff000080, 0xff800080, 0xff008080, 0xffc0c0c0,
    0xff808080, 0xffff0000, 0xff00ff00, 0xffffff00, 0xff0000ff, 0xffff00ff, 0xff00ffff, 0xffffffff};

enum Colour : uchar { Black = 0, PanelGrey = 7, DarkGrey = 8, Red = 9, Yellow = 11, White = 15 };

constexpr int kColumns = 6;
constexpr int kRedColumn = 1;
constexpr int kYellowColumn = 3;

void fill(QImage& image, int left, int top, int width, int height, Colour colour)
{
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x)
            image.setPixel(x, y, colour);
    }
}

// Where everything falls at one size, in whole pixels.
struct IconLayout {
    int line = 1;   // the frame, the shadow, the reflector's turn and the gaps between cells
    int shadow = 0; // left and top of the frame's shadow
    int rows = 5;   // rows of cells shown; small icons show fewer, taller ones
    int left = 0;   // the first column of cells
    int top = 0;    // the first row of cells, just below the turn at the reflector
    int cellWidth = 0;
    int cellHeight = 0;
    int middleGap = 0; // extra space that parts the way out from the way back
};

IconLayout layoutFor(int size)
{
    IconLayout layout;
    layout.line = std::max(1, (size + 16) / 32);
    const int line = layout.line;
    // Below 32 pixels the grey between frame and shadow, and around the cells, would eat the cells.
    const bool small = size < 32;
    const int margin = small ? 1 : std::max(line, size / 16);
    layout.shadow = size - 2 * line - (small ? 0 : line);
    layout.rows = size < 24 ? 4 : 5;

    const int first = line + margin;
    const int across = layout.shadow - margin - first;
    layout.cellWidth = (across - (kColumns - 1) * line) / kColumns;
    const int spareAcross = across - kColumns * layout.cellWidth - (kColumns - 1) * line;
    layout.middleGap = std::min(spareAcross, line);
    layout.left = first + (spareAcross - layout.middleGap) / 2;

    const int down = layout.shadow - margin - first;
    layout.cellHeight = (down - (layout.rows - 1) * line) / layout.rows;
    layout.top = first + (down - layout.rows * layout.cellHeight - (layout.rows - 1) * line) / 2;
    return layout;
}

int columnLeft(const IconLayout& layout, int column)
{
    return layout.left + column * (layout.cellWidth + layout.line) +
           (column >= kColumns / 2 ? layout.middleGap : 0);
}

} // namespace

QImage panelIconImage(int size)
{
    const IconLayout layout = layoutFor(size);
    const int line = layout.line;
    QImage image(size, size, QImage::Format_Indexed8);
    image.setColorTable(QList<QRgb>(kClassicColours.begin(), kClassicColours.end()));
    fill(image, 0, 0, size, size, Black);
    fill(image, line, line, size - 2 * line, size - 2 * line, PanelGrey);
    fill(image, 2 * line, layout.shadow, size - 3 * line, line, DarkGrey);
    fill(image, layout.shadow, 2 * line, line, size - 3 * line, DarkGrey);

    for (int row = 0; row < layout.rows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const Colour colour = column == kRedColumn ? Red : column == kYellowColumn ? Yellow : White;
            fill(image, columnLeft(layout, column), layout.top + row * (layout.cellHeight + line),
                 layout.cellWidth, layout.cellHeight, colour);
        }
    }
    // The turn at the reflector, along the top, from the way out over to where the way back begins.
    const int turnLeft = columnLeft(layout, kRedColumn);
    fill(image, turnLeft, layout.top - line, columnLeft(layout, kYellowColumn) + line - turnLeft, line, Red);
    return image;
}

QIcon panelIcon()
{
    QIcon icon;
    for (const int size : kPanelIconSizes)
        icon.addPixmap(QPixmap::fromImage(panelIconImage(size)));
    return icon;
}

} // namespace rovanta
