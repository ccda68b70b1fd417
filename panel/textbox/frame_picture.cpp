#include "panel/textbox/frame_picture.h"

#include <QPainter>
#include <QStyleOptionFrame>
#include <QWidget>

namespace rovanta {

void FramePicture::draw(QPainter& painter, const QRect& reach, const QStyleOptionFrame& frame,
                        const QWidget& box)
{
    const Key key{frame.rect, frame.state, frame.palette.cacheKey(), box.devicePixelRatio(), box.style()};
    if (key != m_key || m_picture.isNull()) {
        m_picture = QPixmap(frame.rect.size() * key.pixelRatio);
        m_picture.setDevicePixelRatio(key.pixelRatio);
        m_picture.fill(Qt::transparent);
        QPainter framePainter(&m_picture);
        framePainter.translate(-frame.rect.topLeft());
        box.style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &framePainter, &box);
        m_key = key;
    }
    const QRect target = reach & frame.rect;
    const QRectF source(QPointF(target.topLeft() - frame.rect.topLeft()) * key.pixelRatio,
                        QSizeF(target.size()) * key.pixelRatio);
    painter.drawPixmap(QRectF(target), m_picture, source);
}

} // namespace rovanta
