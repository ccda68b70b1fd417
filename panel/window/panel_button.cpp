#include "panel/window/panel_button.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace rovanta {

namespace {

// One instance serves every window of the process.
QStyle* classicStyle()
{
    static QStyle* const style = [] {
        QStyle* flat = QStyleFactory::create(QStringLiteral("Windows"));
        if (flat)
            flat->setParent(QCoreApplication::instance());
        return flat;
    }();
    return style;
}

} // namespace

void drawClassic(QWidget* widget)
{
    if (QStyle* classic = classicStyle())
        widget->setStyle(classic);
}

void PanelButton::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier)) {
        QPushButton::keyPressEvent(event);
        return;
    }
    event->accept();
    click();
}

void PanelButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    if (caption.isEmpty())
        return;
    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown())
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    painter.setFont(fittingFont(caption, area));
    painter.drawItemText(area, kCaptionFlags, palette(), isEnabled(), caption, QPalette::ButtonText);
}

QFont PanelButton::fittingFont(const QString& caption, const QRect& area) const
{
    QFont font = this->font();
    constexpr qreal kSmallest = 6.0;
    while (font.pointSizeF() > kSmallest) {
        const QRect needed = QFontMetrics(font).boundingRect(area, kCaptionFlags, caption);
        if (needed.width() <= area.width() && needed.height() <= area.height())
            break;
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    return font;
}

} // namespace rovanta
