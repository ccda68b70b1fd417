#include "panel/panel_icon.h"

#include <QPixmap>

#include <array>

namespace rovanta {

namespace {

// The classic 16 colours, in their usual order.
constexpr std::array<QRgb, 16> kClassicColours{
    0xff000000, 0xff800000, 0xff008000, 0xff808000, 0xff000080, 0xff800080, 0xff008080, 0xffc0c0c0,
    0xff808080, 0xffff0000, 0xff00ff00, 0xffffff00, 0xff0000ff, 0xffff00ff, 0xff00ffff, 0xffffffff};

enum Colour : uchar { Black = 0, PanelGrey = 7, DarkGrey = 8, Red = 9, Yellow = 11, White = 15 };

constexpr int kSize = 32;

void fill(QImage& image, int left, int top, int width, int height, Colour colour)
{
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x)
            image.setPixel(x, y, colour);
    }
}

} // namespace

QImage panelIconImage()
{
    QImage image(kSize, kSize, QImage::Format_Indexed8);
    image.setColorTable(QList<QRgb>(kClassicColours.begin(), kClassicColours.end()));
    fill(image, 0, 0, kSize, kSize, Black);
    fill(image, 1, 1, kSize - 2, kSize - 2, PanelGrey);
    fill(image, 2, kSize - 3, kSize - 3, 1, DarkGrey);
    fill(image, kSize - 3, 2, 1, kSize - 3, DarkGrey);

    // Five rows of six cells; column 2 carries the outward path, column 4 the way back.
    constexpr int kRowsShown = 5;
    constexpr int kColumns = 6;
    for (int row = 0; row < kRowsShown; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const Colour colour = column == 1 ? Red : column == 3 ? Yellow : White;
            const int left = 3 + column * 4 + (column > 2 ? 1 : 0);
            const int top = 3 + row * 5;
            fill(image, left, top, 3, 4, colour);
        }
    }
    // The turn at the reflector, along the top.
    fill(image, 7, 2, 10, 1, Red);
    return image;
}

QIcon panelIcon()
{
    return QIcon(QPixmap::fromImage(panelIconImage()));
}

} // namespace rovanta
