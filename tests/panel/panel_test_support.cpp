#include "tests/panel/panel_test_support.h"

#include "apps/rovanta-v4/panel_settings.h"
#include "apps/rovanta-v4/settings.h"
#include "apps/rovanta-v5/panel_settings.h"
#include "apps/rovanta-v5/settings.h"
#include "panel/textbox/text_box.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>

namespace rovanta::test {

namespace {

// Offscreen there is no accessibility bus to switch accessibility on: the platform is told directly.
void setAccessibilityActive(bool active)
{
    if (QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility())
        platform->setActive(active);
}

} // namespace

void showActive(QWidget& form)
{
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
}

ScreenReader::ScreenReader(QAccessible::UpdateHandler hear)
{
    QAccessible::installUpdateHandler(hear);
    setAccessibilityActive(true);
}

ScreenReader::~ScreenReader()
{
    setAccessibilityActive(false);
    QAccessible::installUpdateHandler(nullptr);
}

Model fivePointOne()
{
    return {"v5", v5::modelSettings(), v5::kPanelSettings};
}

Model four()
{
    return {"v4", v4::modelSettings(), v4::kPanelSettings};
}

Model model(const QString& name)
{
    return name == QLatin1String("v4") ? four() : fivePointOne();
}

Window::Window(const Model& model, CalendarDate day)
    : form(model.settings, model.panel, [day] { return day; })
{
}

QString cellText(const QWidget& form, int row, int cell)
{
    return element<QLabel>(form, QStringLiteral("Label%1_%2").arg(row).arg(cell))->text();
}

QString rowText(const QWidget& form, int row)
{
    QString text;
    for (int cell = 1; cell <= kCells; ++cell)
        text += cellText(form, row, cell);
    return text;
}

QColor cellBackground(const QWidget& form, int row, int cell)
{
    return element<QLabel>(form, QStringLiteral("Label%1_%2").arg(row).arg(cell))
        ->palette()
        .color(QPalette::Base);
}

QString windowText(const QWidget& form, int window)
{
    return element<QLabel>(form, QStringLiteral("Labelw_%1").arg(window))->text();
}

QString keyAsShown(const Model& model, int slot)
{
    const std::string_view key = model.settings.keybook[static_cast<std::size_t>(slot)];
    return QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()));
}

void typeInto(QWidget& form, std::string_view keys)
{
    auto* text2 = element<TextBox>(form, QStringLiteral("Text2"));
    for (const char key : keys)
        QTest::keyClick(text2, key);
}

void press(QWidget& form, const QString& button)
{
    element<QPushButton>(form, button)->click();
}

void whenMessageBoxShows(std::function<void(QMessageBox&)> inspect)
{
    // A box that never comes must not leave the poll running into a later test.
    constexpr int kGiveUpAfterPolls = 2000;
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, polls = 0, inspect = std::move(inspect)]() mutable {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (++polls == kGiveUpAfterPolls) {
                poll->stop();
                poll->deleteLater();
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        inspect(*box);
        box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
    });
    poll->start();
}

} // namespace rovanta::test
