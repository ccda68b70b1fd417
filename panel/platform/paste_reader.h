#pragma once

#include <QClipboard>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <future>
#include <optional>
#include <thread>

namespace rovanta {

// Reads the clipboard, or X's primary selection, for a paste. The toolkit's own read waits for the program
// that holds the text, up to fifteen seconds for one that never answers, with the window frozen. So on X
// the text is read on a thread of its own, over a connection of its own. The window waits a moment for it,
// so that a paste from a live holder lands within its own event as any edit does, before the next key or
// click; past that moment the window goes on answering, the paste lands when the text comes, and a holder
// that stays silent for a second costs only the paste. Elsewhere, and when the text is this program's own,
// it is read at once through the toolkit.
class PasteReader : public QObject {
    Q_OBJECT

public:
    using Done = std::function<void(const QString&)>;

    explicit PasteReader(QObject* parent = nullptr);
    ~PasteReader() override;

    // Calls `done` on the window's thread with the text, at once or later, and never when no text came in
    // time. While one read is under way another is not started.
    void read(QClipboard::Mode mode, Done done);

private:
    void readApart(QClipboard::Mode mode, Done done);
    void deliver();

    std::thread m_worker;
    std::atomic<bool> m_stop{false};
    std::future<std::optional<QString>> m_text;
    Done m_done;
};

} // namespace rovanta
