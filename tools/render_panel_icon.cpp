// Writes the window's icon at every size a desktop asks for, so that the installed icons come from the
// same drawing as the window's own:
//   render_panel_icon <theme folder> <icon name>
// makes <theme folder>/<n>x<n>/apps/<icon name>.png for each size, a hicolor icon theme tree, and
//   render_panel_icon --ico <file>
// makes one Windows icon file holding every size. Both run on the build machine, whatever the target.
#include "panel/icon/panel_icon.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdio>

namespace {

void putLittleEndian(QByteArray& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>(value >> (8 * i) & 0xFF));
}

// The small sizes as the classic device-independent bitmap every reader of icons takes: its header with the
// height of colour and mask together, the 32-bit colour rows bottom up, then the one-bit transparency mask
// rows, each padded to four bytes. The 256 size is stored as PNG, as Windows itself stores it.
QByteArray iconImage(int size)
{
    const QImage image = rovanta::panelIconImage(size).convertToFormat(QImage::Format_ARGB32);
    QByteArray bytes;
    if (size >= 256) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }
    const int maskRow = (size + 31) / 32 * 4;
    const auto side = static_cast<std::uint32_t>(size);
    putLittleEndian(bytes, 40, 4);
    putLittleEndian(bytes, side, 4);
    putLittleEndian(bytes, 2 * side, 4);
    putLittleEndian(bytes, 1, 2);
    putLittleEndian(bytes, 32, 2);
    putLittleEndian(bytes, 0, 4);
    putLittleEndian(bytes, static_cast<std::uint32_t>(size * 4 * size + maskRow * size), 4);
    putLittleEndian(bytes, 0, 16);
    for (int y = size - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < size; ++x)
            putLittleEndian(bytes, row[x], 4);
    }
    for (int y = size - 1; y >= 0; --y) {
        QByteArray mask(maskRow, '\0');
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < size; ++x) {
            if (qAlpha(row[x]) == 0)
                mask[x / 8] = static_cast<char>(mask[x / 8] | 0x80 >> (x % 8));
        }
        bytes.append(mask);
    }
    return bytes;
}

// The icon file: a directory of one entry per size (a size byte of 0 meaning 256), then the images.
QByteArray iconFile()
{
    const auto count = static_cast<std::uint32_t>(rovanta::kPanelIconSizes.size());
    QByteArray directory;
    putLittleEndian(directory, 0, 2);
    putLittleEndian(directory, 1, 2);
    putLittleEndian(directory, count, 2);
    QByteArray images;
    std::uint32_t offset = 6 + 16 * count;
    for (const int size : rovanta::kPanelIconSizes) {
        const QByteArray image = iconImage(size);
        const auto side = static_cast<std::uint32_t>(size >= 256 ? 0 : size);
        putLittleEndian(directory, side, 1);
        putLittleEndian(directory, side, 1);
        putLittleEndian(directory, 0, 2);
        putLittleEndian(directory, 1, 2);
        putLittleEndian(directory, 32, 2);
        putLittleEndian(directory, static_cast<std::uint32_t>(image.size()), 4);
        putLittleEndian(directory, offset, 4);
        offset += static_cast<std::uint32_t>(image.size());
        images.append(image);
    }
    return directory + images;
}

bool writeIconFile(const QString& path)
{
    QFile file(path);
    const QByteArray bytes = iconFile();
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool writeTheme(const QString& theme, const QString& name, QString& failed)
{
    for (const int size : rovanta::kPanelIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(theme).arg(size);
        failed = QStringLiteral("%1/%2.png").arg(folder, name);
        if (!QDir().mkpath(folder) || !rovanta::panelIconImage(size).save(failed, "PNG"))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s THEME-FOLDER ICON-NAME\n       %s --ico FILE\n", argv[0], argv[0]);
        return 2;
    }
    const QString first = QString::fromLocal8Bit(argv[1]);
    const QString second = QString::fromLocal8Bit(argv[2]);
    QString failed = second;
    const bool written =
        first == QLatin1String("--ico") ? writeIconFile(second) : writeTheme(first, second, failed);
    if (!written) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(failed));
        return 1;
    }
    return 0;
}
