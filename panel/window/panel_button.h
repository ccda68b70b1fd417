#pragma once

#include <QPushButton>

class QWidget;

namespace rovanta {

// A push button whose caption wraps onto a second line where it does not fit on one, as "Copy To
// ClipBoard" must on its narrow button, and that Enter presses as well as Space.
class PanelButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    // Enter and Return press a focused button as Space does: the panel has no default button to take them.
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int kCaptionFlags = Qt::AlignCenter | Qt::TextWordWrap;

    // The button's own font, a little smaller where a word would not fit the button otherwise.
    QFont fittingFont(const QString& caption, const QRect& area) const;
};

// Qt's default style draws buttons with a gradient of its own; the classic style draws a flat face in the
// button's colour, which start-up paints panel grey, narrow date boxes whose two digits still show, and
// the text boxes' sunken frames to match.
void drawClassic(QWidget* widget);

} // namespace rovanta
