#pragma once

#include <QPixmap>
#include <QRect>
#include <QStyle>

class QPainter;
class QStyleOptionFrame;
class QWidget;

namespace rovanta {

// Drawing a text box's frame through the style costs about twice as much as copying it from a picture, and
// a typed letter repaints both boxes. So the frame is drawn once into a picture and copied from it, as far
// as the paint reaches, until the box's size, state, palette or style changes.
class FramePicture {
public:
    void draw(QPainter& painter, const QRect& reach, const QStyleOptionFrame& frame, const QWidget& box);

private:
    // What the picture was drawn for.
    struct Key {
        QRect rect;
        QStyle::State state;
        qint64 palette = 0;
        qreal pixelRatio = 0;
        const QStyle* style = nullptr;
        friend bool operator==(const Key&, const Key&) = default;
    };

    QPixmap m_picture;
    Key m_key;
};

} // namespace rovanta
