// What the panel costs the operator: start-up, one typed letter with empty and with 1,000,000-letter
// boxes, and Encrypt of 1,000,000 letters. Prints METRIC lines; run offscreen:
//   QT_QPA_PLATFORM=offscreen <build>/bin/bench_panel
#include "panel_test_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace rovanta;
using namespace rovanta::test;

namespace {

constexpr qsizetype kMillion = 1'000'000;

void metric(const char* name, double value, const char* unit)
{
    std::printf("METRIC %s %.3f %s\n", name, value, unit);
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

QLineEdit* box(const QWidget& form, const char* name)
{
    return element<QLineEdit>(form, QString::fromLatin1(name));
}

// One typed letter, handled and painted, as the operator waits for it.
double keystroke(QWidget& form)
{
    QLineEdit* text2 = box(form, "Text2");
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(text2, 'e');
    QCoreApplication::processEvents();
    return milliseconds(timer);
}

double typedLetters(QWidget& form, int letters)
{
    std::vector<double> times;
    for (int i = 0; i < letters; ++i)
        times.push_back(keystroke(form));
    return median(times);
}

void showNow(QWidget& form)
{
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        std::fprintf(stderr, "window not exposed\n");
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    std::vector<double> startUps;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        auto window = std::make_unique<Window>(fivePointOne());
        window->form.show();
        QCoreApplication::processEvents();
        startUps.push_back(milliseconds(timer));
    }
    metric("panel_startup", median(startUps), "ms");

    {
        Window window(fivePointOne());
        showNow(window.form);
        keystroke(window.form); // the one full repaint of the first clearing
        metric("panel_keystroke_empty_boxes", typedLetters(window.form, 50), "ms");
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
        if (box(window.form, "Text3")->text().size() != kMillion)
            std::fprintf(stderr, "Text3 lost letters\n");
        metric("panel_keystroke_1M_boxes", typedLetters(window.form, 10), "ms");
    }
    {
        Window window(fivePointOne());
        showNow(window.form);
        box(window.form, "Text3")->insert(message); // as the operator's paste: the output is what it shows
        QCoreApplication::processEvents();
        metric("panel_keystroke_1M_output", typedLetters(window.form, 10), "ms");
    }
    return 0;
}
