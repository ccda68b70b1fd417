#pragma once

#include "panel/textbox/line_text.h"

class QObject;

namespace rovanta {

// What a screen reader hears of a change of a box's text: only the part that changed, and only while one
// listens.
void announceTextChange(QObject* box, const Change& change);

// Tells a screen reader each time a box's caret moves or its selection changes, once.
class CaretNotice {
public:
    void tell(QObject* box, const LineText& line);

private:
    // The caret and selection a screen reader was last told of.
    qsizetype m_caret = 0;
    qsizetype m_anchor = 0;
};

} // namespace rovanta
