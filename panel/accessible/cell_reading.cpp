#include "panel/accessible/cell_reading.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace rovanta {

namespace {

// The mark a cell read with its row carries, whatever class of label shows it.
constexpr char kReadWithRow[] = "rovantaReadWithRow";

// A cell that a reader meets in its row's line. Hidden from the reader, it is never listed among what
// the panel shows, so flat review reads each row once instead of twenty-six times.
class CellReadWithRow final : public QAccessibleWidget {
public:
    explicit CellReadWithRow(QWidget* cell) : QAccessibleWidget(cell, QAccessible::StaticText) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
};

QAccessibleInterface* cellAccessible(const QString&, QObject* object)
{
    if (!object || !object->isWidgetType() || !object->property(kReadWithRow).toBool())
        return nullptr;
    return new CellReadWithRow(static_cast<QWidget*>(object));
}

} // namespace

void readWithRow(QWidget& cell)
{
    // Once for the process, before the first cell is asked for.
    static const bool installed = [] {
        QAccessible::installFactory(cellAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    cell.setProperty(kReadWithRow, true);
}

} // namespace rovanta
