#include "panel/platform/paste_reader.h"

#include <QGuiApplication>
#include <QMimeData>

#ifdef ROVANTA_XCB
#include "panel/platform/wayland_selection.h"
#include "panel/platform/x11/x11_selection.h"
#endif

#include <algorithm>
#include <array>
#include <utility>

namespace rovanta {

namespace {

// How long a holder may stay silent before the paste is given up: long enough for a busy program, short
// enough that an operator waits no longer than for any slow key.
constexpr std::chrono::milliseconds kPatience{1000};
// How long the window waits for the text before it goes on answering: a live holder hands over an ordinary
// text well within it, and an operator does not notice it.
constexpr std::chrono::milliseconds kMoment{200};

// The text types a paste takes, best first; the last is Latin-1, the others UTF-8.
constexpr std::array<QLatin1StringView, 5> kTextTypes{
    QLatin1StringView("text/plain;charset=utf-8"), QLatin1StringView("UTF8_STRING"),
    QLatin1StringView("text/plain"), QLatin1StringView("TEXT"), QLatin1StringView("STRING")};

bool ownText(QClipboard::Mode mode)
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return mode == QClipboard::Selection ? clipboard->ownsSelection() : clipboard->ownsClipboard();
}

// The best text type the holder offers, learnt from its offer without asking the holder anything.
QString offeredTextType(QClipboard::Mode mode)
{
    const QMimeData* offer = QGuiApplication::clipboard()->mimeData(mode);
    if (!offer)
        return {};
    const QStringList offered = offer->formats();
    for (const QLatin1StringView type : kTextTypes) {
        if (offered.contains(type))
            return type;
    }
    return {};
}

// The toolkit's read. On Wayland it waits on the window's thread, a second for each type it tries
// while the holder stays silent; asking for one type keeps that to one wait.
std::optional<QString> toolkitText(QClipboard::Mode mode)
{
    if (!QGuiApplication::platformName().startsWith(u"wayland") || ownText(mode))
        return QGuiApplication::clipboard()->text(mode);
    const QString type = offeredTextType(mode);
    const QMimeData* offer = QGuiApplication::clipboard()->mimeData(mode);
    if (type.isEmpty() || !offer)
        return std::nullopt;
    const QByteArray data = offer->data(type);
    return type == u"STRING" ? QString::fromLatin1(data) : QString::fromUtf8(data);
}

} // namespace

PasteReader::PasteReader(QObject* parent) : QObject(parent) {}

// A read under way gives up within one slice of its wait, so a window closed meanwhile ends at once.
PasteReader::~PasteReader()
{
    m_stop = true;
    for (Reader& reader : m_readers)
        reader.thread.join();
}

void PasteReader::read(QClipboard::Mode mode, Done done)
{
    const std::uint64_t request = ++m_asked;
    m_waiting.push_back(Waiting{request, std::move(done), false, std::nullopt});
    QString type;
    const Way way = wayFor(mode, type);
    if (way == Way::Toolkit) {
        m_waiting.back().answered = true;
        m_waiting.back().text = toolkitText(mode);
        return handOver();
    }
    // A holder answers one request at a time: a read behind others is given a second of silence more for
    // each, so that a slow holder's second paste is not given up while it answers the first.
    const auto ahead = static_cast<int>(m_readers.size());
    start(Job{request, way, mode, type, kPatience * (ahead + 1)});
    // Behind another read the paste waits its turn without holding the window.
    if (m_waiting.size() == 1)
        waitAMoment(request);
    collect();
}

PasteReader::Way PasteReader::wayFor(QClipboard::Mode mode, QString& type) const
{
#ifdef ROVANTA_XCB
    if (ownText(mode))
        return Way::Toolkit;
    const QString platform = QGuiApplication::platformName();
    if (platform == u"xcb")
        return Way::X11;
    if (platform.startsWith(u"wayland") && wlPasteCanRead()) {
        type = offeredTextType(mode);
        return Way::WlPaste;
    }
#else
    Q_UNUSED(mode);
    Q_UNUSED(type);
#endif
    return Way::Toolkit;
}

// Each read starts as its paste is asked for: the holder asked is the one the operator pasted from, and a
// read behind a silent holder's gives up a second after its own key, not a second after the one before.
void PasteReader::start(const Job& job)
{
    m_readers.push_back(Reader{job.request, std::thread(&PasteReader::work, this, job)});
}

// A reader thread reads its one paste and leaves the answer for the window's thread with a call to
// collect it.
void PasteReader::work(const Job& job)
{
    std::optional<QString> text;
#ifdef ROVANTA_XCB
    if (job.way == Way::X11) {
        const Selection selection = job.mode == QClipboard::Selection ? Selection::Primary : Selection::Clipboard;
        text = readX11Selection(qgetenv("DISPLAY"), selection, job.patience, m_stop);
    } else if (!job.type.isEmpty()) {
        text = readWaylandSelection(job.mode == QClipboard::Selection, job.type, job.patience, m_stop);
    }
#endif
    {
        const std::lock_guard lock(m_mutex);
        m_answers.push_back(Answer{job.request, std::move(text)});
    }
    m_changed.notify_all();
    QMetaObject::invokeMethod(this, &PasteReader::collect, Qt::QueuedConnection);
}

void PasteReader::waitAMoment(std::uint64_t request)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, kMoment, [this, request] {
        return std::any_of(m_answers.begin(), m_answers.end(),
                           [request](const Answer& answer) { return answer.request == request; });
    });
}

// Takes whatever answers the worker has left, each to the paste that asked for it. Nothing here waits:
// an answer already taken leaves a later call with nothing to do.
void PasteReader::collect()
{
    std::vector<Answer> answers;
    {
        const std::lock_guard lock(m_mutex);
        answers.swap(m_answers);
    }
    for (Answer& answer : answers) {
        const auto waiting =
            std::find_if(m_waiting.begin(), m_waiting.end(),
                         [&answer](const Waiting& paste) { return paste.request == answer.request; });
        if (waiting != m_waiting.end()) {
            waiting->answered = true;
            waiting->text = std::move(answer.text);
        }
        // Its reader has only to return.
        const auto reader =
            std::find_if(m_readers.begin(), m_readers.end(),
                         [&answer](const Reader& read) { return read.request == answer.request; });
        if (reader != m_readers.end()) {
            reader->thread.join();
            m_readers.erase(reader);
        }
    }
    handOver();
}

// Hands the answered pastes over in the order asked, up to the first still being read.
void PasteReader::handOver()
{
    while (!m_waiting.empty() && m_waiting.front().answered) {
        const Waiting paste = std::move(m_waiting.front());
        m_waiting.pop_front();
        if (paste.text)
            paste.done(*paste.text);
    }
}

} // namespace rovanta
