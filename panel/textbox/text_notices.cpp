#include "panel/textbox/text_notices.h"

#include <QAccessible>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace rovanta {

void announceTextChange(QObject* box, const Change& change)
{
    if (!QAccessible::isActive())
        return;
    const auto position = static_cast<int>(change.position);
    if (!change.removed.isEmpty()) {
        QAccessibleTextRemoveEvent event(box, position, change.removed);
        QAccessible::updateAccessibility(&event);
    }
    if (!change.inserted.isEmpty()) {
        QAccessibleTextInsertEvent event(box, position, change.inserted);
        QAccessible::updateAccessibility(&event);
    }
}

void CaretNotice::tell(QObject* box, const LineText& line)
{
    // No selection is told as -1 to -1, whatever the caret.
    const auto selection = [](qsizetype anchor, qsizetype caret) {
        return anchor == caret ? std::pair<qsizetype, qsizetype>(-1, -1)
                               : std::pair(std::min(anchor, caret), std::max(anchor, caret));
    };
    const bool moved = line.caret() != m_caret;
    const auto selected = selection(line.anchor(), line.caret());
    const bool reselected = selected != selection(m_anchor, m_caret);
    m_caret = line.caret();
    m_anchor = line.anchor();
    if (!QAccessible::isActive())
        return;
    // A reader follows the caret of the box with the focus only, and reads where it stands when the focus
    // comes; caret moves elsewhere (the output box's at every cipher letter) would only keep it busy.
    if (const auto* widget = qobject_cast<const QWidget*>(box); widget && !widget->hasFocus())
        return;
    if (reselected) {
        QAccessibleTextSelectionEvent event(box, static_cast<int>(selected.first),
                                            static_cast<int>(selected.second));
        event.setCursorPosition(static_cast<int>(m_caret));
        QAccessible::updateAccessibility(&event);
    }
    if (moved) {
        QAccessibleTextCursorEvent event(box, static_cast<int>(m_caret));
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace rovanta
