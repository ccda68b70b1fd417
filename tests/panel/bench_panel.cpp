// What the panel costs the operator: start-up, one typed letter with empty and with 1,000,000-letter
// boxes, and Encrypt of 1,000,000 letters, each also with a screen reader listening (the figures ending
// in _reader). Prints METRIC lines and fails when Text3 loses a letter; run offscreen:
//   QT_QPA_PLATFORM=offscreen <build>/bin/bench_panel
#include "tests/panel/panel_test_support.h"

#include "panel/text_box.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace rovanta;
using namespace rovanta::test;

namespace {

constexpr qsizetype kMillion = 1'000'000;

// Ends every metric's name: empty, or _reader while a screen reader listens.
std::string g_suffix;

void metric(const std::string& name, double value, const char* unit)
{
    std::printf("METRIC %s%s %.3f %s\n", name.c_str(), g_suffix.c_str(), value, unit);
}

// What the accessibility bridge does with each event a screen reader listens for: it finds the element's
// interface and reads what the event tells of.
qsizetype g_heard = 0;

void hear(QAccessibleEvent* event)
{
    QAccessibleInterface* element = event->accessibleInterface();
    if (!element)
        return;
    switch (event->type()) {
    case QAccessible::NameChanged:
        g_heard += element->text(QAccessible::Name).size();
        break;
    case QAccessible::DescriptionChanged:
        g_heard += element->text(QAccessible::Description).size();
        break;
    case QAccessible::TextInserted:
        g_heard += static_cast<QAccessibleTextInsertEvent*>(event)->textInserted().size();
        break;
    case QAccessible::TextRemoved:
        g_heard += static_cast<QAccessibleTextRemoveEvent*>(event)->textRemoved().size();
        break;
    case QAccessible::TextCaretMoved:
        if (QAccessibleTextInterface* text = element->textInterface())
            g_heard += text->cursorPosition() > 0;
        break;
    default:
        break;
    }
}

double milliseconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

TextBox* box(const QWidget& form, const char* name)
{
    return element<TextBox>(form, QString::fromLatin1(name));
}

struct Keystroke {
    double handled = 0; // the key event to its end, the boxes relaid out
    double painted = 0; // and the window repainted, as the operator waits for it
};

Keystroke keystroke(QWidget& form)
{
    TextBox* text2 = box(form, "Text2");
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(text2, 'e');
    const double handled = milliseconds(timer);
    QCoreApplication::processEvents();
    return {handled, milliseconds(timer)};
}

void typedLetters(QWidget& form, int letters, const char* name)
{
    std::vector<double> handled;
    std::vector<double> painted;
    for (int i = 0; i < letters; ++i) {
        const Keystroke key = keystroke(form);
        handled.push_back(key.handled);
        painted.push_back(key.painted);
    }
    metric(std::string(name) + "_handled", median(handled), "ms");
    metric(std::string(name) + "_painted", median(painted), "ms");
}

void showNow(QWidget& form)
{
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        std::fprintf(stderr, "window not exposed\n");
    QCoreApplication::processEvents();
}

} // namespace

// Every figure once; false when Text3 lost a letter.
bool measure()
{
    bool failed = false;

    std::vector<double> startUps;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        auto window = std::make_unique<Window>(fivePointOne());
        window->form.show();
        QCoreApplication::processEvents();
        startUps.push_back(milliseconds(timer));
    }
    metric("panel_startup_first", startUps.front(),
           "ms"); // with the fonts and styles loaded for the first time
    metric("panel_startup", median(startUps), "ms");

    {
        Window window(fivePointOne());
        showNow(window.form);
        keystroke(window.form); // the one full repaint of the first clearing
        typedLetters(window.form, 50, "panel_keystroke_empty_boxes");
    }

    QString message(kMillion, Qt::Uninitialized);
    for (qsizetype i = 0; i < kMillion; ++i)
        message[i] = QChar(static_cast<char16_t>(u'A' + i % 26));
    {
        Window window(fivePointOne());
        showNow(window.form);
        box(window.form, "Text2")->setText(message);
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        element<QPushButton>(window.form, QStringLiteral("Command9"))->click();
        const double encrypt = milliseconds(timer);
        QCoreApplication::processEvents();
        metric("panel_encrypt_1M", encrypt, "ms");
        metric("panel_encrypt_1M_painted", milliseconds(timer), "ms");
        if (box(window.form, "Text3")->text().size() != kMillion) {
            std::fprintf(stderr, "Text3 lost letters\n");
            failed = true;
        }
        typedLetters(window.form, 10, "panel_keystroke_1M_boxes");
    }
    {
        Window window(fivePointOne());
        showNow(window.form);
        box(window.form, "Text3")->insert(message); // as the operator's paste: the output is what it shows
        QCoreApplication::processEvents();
        typedLetters(window.form, 10, "panel_keystroke_1M_output");
    }
    return !failed;
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    bool measured = measure();
    {
        const ScreenReader reader(hear);
        g_suffix = "_reader";
        measured = measure() && measured;
    }
    if (g_heard == 0) {
        std::fprintf(stderr, "the screen reader heard nothing\n");
        measured = false;
    }
    return measured ? 0 : 1;
}
