#include "panel/platform/paste_reader.h"

#include <QGuiApplication>

#ifdef ROVANTA_XCB
#include "panel/platform/x11/x11_selection.h"
#endif

#include <utility>

namespace rovanta {

namespace {

// How long a holder may stay silent before the paste is given up: long enough for a busy program, short
// enough that an operator waits no longer than for any slow key.
constexpr std::chrono::milliseconds kPatience{1000};
// How long the window waits for the text before it goes on answering: a live holder hands over an ordinary
// text well within it, and an operator does not notice it.
constexpr std::chrono::milliseconds kMoment{200};

} // namespace

PasteReader::PasteReader(QObject* parent) : QObject(parent) {}

PasteReader::~PasteReader()
{
    m_stop = true;
    if (m_worker.joinable())
        m_worker.join();
}

void PasteReader::read(QClipboard::Mode mode, Done done)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    const bool own = mode == QClipboard::Selection ? clipboard->ownsSelection() : clipboard->ownsClipboard();
    if (!own && QGuiApplication::platformName() == u"xcb")
        readApart(mode, std::move(done));
    else
        done(clipboard->text(mode));
}

#ifdef ROVANTA_XCB

void PasteReader::readApart(QClipboard::Mode mode, Done done)
{
    if (m_done)
        return;
    if (m_worker.joinable())
        m_worker.join();
    m_done = std::move(done);
    std::promise<std::optional<QString>> text;
    m_text = text.get_future();
    const Selection selection = mode == QClipboard::Selection ? Selection::Primary : Selection::Clipboard;
    m_worker = std::thread([this, selection, display = qgetenv("DISPLAY"), text = std::move(text)]() mutable {
        text.set_value(readX11Selection(display, selection, kPatience, m_stop));
        QMetaObject::invokeMethod(this, &PasteReader::deliver, Qt::QueuedConnection);
    });
    if (m_text.wait_for(kMoment) == std::future_status::ready)
        deliver();
}

// Hands the text over once, whichever comes first: the window's moment of waiting or the worker's call.
void PasteReader::deliver()
{
    if (!m_done)
        return;
    const Done done = std::exchange(m_done, Done());
    if (const std::optional<QString> text = m_text.get())
        done(*text);
}

#else

void PasteReader::readApart(QClipboard::Mode mode, Done done)
{
    done(QGuiApplication::clipboard()->text(mode));
}

void PasteReader::deliver() {}

#endif

} // namespace rovanta
