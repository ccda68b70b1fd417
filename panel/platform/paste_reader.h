#pragma once

#include <QClipboard>
#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace rovanta {

// Reads the clipboard, or the primary selection, for a paste. The toolkit's own read waits on the event
// thread for the program that holds the text: on X up to fifteen seconds for one that never answers, on
// Wayland a second for each text type it tries, the window frozen all the while. So where the window
// system lets a program apart read the text (on X over a connection of its own, on Wayland through
// wl-paste where the compositor shares the clipboard), each paste is read on a thread of its own, started
// as the paste is asked for, so that it asks the holder of that moment; it gives up after a second of the
// holder's silence, a second more for each paste still being read ahead of it. The window waits a moment for it, so that a paste from a live holder lands within its own event as
// any edit does, before the next key or click; past that moment the window goes on answering and the
// paste lands when the text comes, after the pastes asked before it. Elsewhere, and when the text is this
// program's own, the toolkit reads it at once.
class PasteReader : public QObject {
    Q_OBJECT

public:
    using Done = std::function<void(const QString&)>;

    explicit PasteReader(QObject* parent = nullptr);
    ~PasteReader() override;

    // Calls `done` on the window's thread with the text, at once or later, and never when no text came in
    // time. Pastes asked while others are under way are read after them and handed over in the order
    // asked.
    void read(QClipboard::Mode mode, Done done);

private:
    enum class Way { Toolkit, X11, WlPaste };

    // A paste asked for and not yet handed over.
    struct Waiting {
        std::uint64_t request;
        Done done;
        bool answered = false;
        std::optional<QString> text;
    };
    // A read for a reader thread, and its answer.
    struct Job {
        std::uint64_t request;
        Way way;
        QClipboard::Mode mode;
        QString type;
        std::chrono::milliseconds patience;
    };
    struct Answer {
        std::uint64_t request;
        std::optional<QString> text;
    };

    // A thread reading one paste.
    struct Reader {
        std::uint64_t request;
        std::thread thread;
    };

    Way wayFor(QClipboard::Mode mode, QString& type) const;
    void start(const Job& job);
    void work(const Job& job);
    void waitAMoment(std::uint64_t request);
    void collect();
    void handOver();

    // The window's thread alone.
    std::uint64_t m_asked = 0;
    std::deque<Waiting> m_waiting;
    std::vector<Reader> m_readers;

    // Shared with the readers, under m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Answer> m_answers;
    std::atomic<bool> m_stop{false};
};

} // namespace rovanta
