// What the window costs the operator, offscreen: Encrypt of 1,000,000 letters to its repaint and one typed
// letter with 1,000,000 letters in each box, each also with a screen reader listening (the figures ending
// in _reader); one key typed at the end of an output box of 10,000,000 letters; and, run as `bench_panel
// peak-rss` in a process of its own, the peak resident memory after Encrypt of 5,000,000 letters. Prints
// METRIC lines, each timing the median of several runs, and fails when Text3 does not hold every cipher
// letter or the screen reader heard nothing:
//   QT_QPA_PLATFORM=offscreen <build>/bin/bench_panel [peak-rss]
#include "tests/panel/panel_test_support.h"

#include "panel/textbox/text_box.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace rovanta;
using namespace rovanta::test;

namespace {

constexpr qsizetype kMillion = 1'000'000;
constexpr int kEncryptRuns = 7;
constexpr int kKeystrokes = 51;

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

void showNow(QWidget& form)
{
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        std::fprintf(stderr, "window not exposed\n");
    QCoreApplication::processEvents();
}

QString fixedMessage(qsizetype letters)
{
    QString message(letters, Qt::Uninitialized);
    for (qsizetype i = 0; i < letters; ++i)
        message[i] = QChar(static_cast<char16_t>(u'A' + (i * 7 + i / 26) % 26));
    return message;
}

// The cipher letters of the message from the window's start state, as the machine alone gives them.
QString cipherOf(const QString& message)
{
    MachineControls machine(fivePointOne().settings);
    machine.startUp();
    machine.encrypt({QStringView(message).utf16(), static_cast<std::size_t>(message.size())});
    return QString::fromStdU16String(machine.state().output());
}

// A fresh window with the message in Text2, Encrypt pressed: the press to the end of its event and the
// repaint that follows, which is the first clearing of every cell.
double encryptInFreshWindow(const QString& message, const QString& cipher, std::unique_ptr<Window>& kept)
{
    auto window = std::make_unique<Window>(fivePointOne());
    showNow(window->form);
    box(window->form, "Text2")->setText(message);
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    element<QPushButton>(window->form, QStringLiteral("Command9"))->click();
    QCoreApplication::processEvents();
    const double took = milliseconds(timer);
    if (box(window->form, "Text3")->text() != cipher)
        return -1;
    kept = std::move(window);
    return took;
}

// kKeystrokes keys into a box, each timed to its repaint: the median, in microseconds.
double medianKeystroke(TextBox* into, char key)
{
    std::vector<double> keys;
    for (int i = 0; i < kKeystrokes; ++i) {
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(into, key);
        QCoreApplication::processEvents();
        keys.push_back(milliseconds(timer) * 1e3);
    }
    return median(keys);
}

// Encrypt of a fixed message of `letters` letters; false, with a word on stderr, unless Text3 holds them all.
bool encryptFixedMessage(QWidget& form, qsizetype letters)
{
    box(form, "Text2")->setText(fixedMessage(letters));
    QCoreApplication::processEvents();
    element<QPushButton>(form, QStringLiteral("Command9"))->click();
    QCoreApplication::processEvents();
    if (box(form, "Text3")->text().size() == letters)
        return true;
    std::fprintf(stderr, "Text3 does not hold every cipher letter\n");
    return false;
}

double peakResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024;
    }
    return -1;
}

int timeEncryptAndKeystroke()
{
    const QString message = fixedMessage(kMillion);
    const QString cipher = cipherOf(message);
    std::unique_ptr<Window> window;
    std::vector<double> encrypts;
    for (int run = 0; run < kEncryptRuns; ++run) {
        const double took = encryptInFreshWindow(message, cipher, window);
        if (took < 0) {
            std::fprintf(stderr, "Text3 does not hold every cipher letter\n");
            return 1;
        }
        encrypts.push_back(took);
    }
    metric("window_encrypt_1m_ms", median(encrypts), "ms");

    // The last window has a million letters in each box.
    metric("keystroke_1m_us", medianKeystroke(box(window->form, "Text2"), 'e'), "us");
    return 0;
}

// One key typed at the end of an output box of 10,000,000 letters, which the operator may edit by hand: the
// machine takes the edit, not the whole box.
int timeOutputKey()
{
    constexpr qsizetype kLetters = 10 * kMillion;
    Window window(fivePointOne());
    showNow(window.form);
    if (!encryptFixedMessage(window.form, kLetters))
        return 1;
    TextBox* output = box(window.form, "Text3");
    output->setFocus();
    const double key = medianKeystroke(output, 'E');
    // What the machine holds, as Copy To ClipBoard hands it out.
    element<QPushButton>(window.form, QStringLiteral("Command10"))->click();
    const QString copied = QGuiApplication::clipboard()->text();
    if (copied.size() != kLetters + kKeystrokes || !copied.endsWith(QString(kKeystrokes, u'E'))) {
        std::fprintf(stderr, "the machine does not hold the edited output\n");
        return 1;
    }
    metric("output_key_10m_us", key, "us");
    return 0;
}

int measurePeakMemory()
{
    constexpr qsizetype kLetters = 5 * kMillion;
    Window window(fivePointOne());
    showNow(window.form);
    if (!encryptFixedMessage(window.form, kLetters))
        return 1;
    metric("peak_rss_5m_mb", peakResidentMegabytes(), "MB");
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const bool peakMemory = argc > 1 && std::strcmp(argv[1], "peak-rss") == 0;
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (peakMemory)
        return measurePeakMemory();
    int failed = timeEncryptAndKeystroke();
    failed = timeOutputKey() || failed;
    {
        const ScreenReader reader(hear);
        g_suffix = "_reader";
        failed = timeEncryptAndKeystroke() || failed;
    }
    if (g_heard == 0) {
        std::fprintf(stderr, "the screen reader heard nothing\n");
        failed = 1;
    }
    return failed;
}
