#pragma once

#include "keysetting/date_setting.h"
#include "keysetting/model_settings.h"
#include "panel/window/form1.h"
#include "panel/window/geometry.h"

#include <QAccessible>
#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>
#include <string_view>

class QMessageBox;

namespace rovanta::test {

// A model as its program hands it to the panel.
struct Model {
    const char* name;
    ModelSettings settings;
    PanelSettings panel;
};

Model fivePointOne();
Model four();
// Both models, looked up by the name a data row carries ("v5" or "v4").
Model model(const QString& name);

// A window of the model, started on 6 December 2026 unless another day is given.
struct Window {
    explicit Window(const Model& model, CalendarDate day = {2026, 12, 6});
    Form1 form;
};

template <typename Widget> Widget* element(const QWidget& form, const QString& name)
{
    return form.findChild<Widget*>(name, Qt::FindDirectChildrenOnly);
}

QString cellText(const QWidget& form, int row, int cell);
// The 26 texts of a row, run together.
QString rowText(const QWidget& form, int row);
QColor cellBackground(const QWidget& form, int row, int cell);
QString windowText(const QWidget& form, int window);
// A key of the model's book as its row shows it, run together.
QString keyAsShown(const Model& model, int slot);

// Types into Text2 as the operator's keyboard does.
void typeInto(QWidget& form, std::string_view keys);
void press(QWidget& form, const QString& button);

// A screen reader listening, as far as the toolkit can tell offscreen: accessibility is on, and every
// event goes to `hear`. Off again when it goes.
// The window shown and active, as an operator has it, so that focus moves can be seen.
void showActive(QWidget& form);

class ScreenReader {
public:
    explicit ScreenReader(QAccessible::UpdateHandler hear);
    ~ScreenReader();
    ScreenReader(const ScreenReader&) = delete;
    ScreenReader& operator=(const ScreenReader&) = delete;
};

// Runs `inspect` on the next modal message box once it is up, then closes it with its OK button.
void whenMessageBoxShows(std::function<void(QMessageBox&)> inspect);

} // namespace rovanta::test
