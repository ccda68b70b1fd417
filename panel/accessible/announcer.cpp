#include "panel/accessible/announcer.h"

#include <QAccessibleInterface>
#include <QApplication>
#include <QWidget>

#include <vector>

namespace rovanta {

#if ROVANTA_TOOLKIT_ANNOUNCES

Announcer::Announcer(QWidget* window) : m_window(window) {}

Announcer::~Announcer() = default;

// The announcement comes from the element with the focus, where the reader is: a reader drops a burst of
// announcements from elsewhere in the window as noise, which would lose cipher letters typed at speed.
// A reader that falls behind also drops an announcement when the same words wait behind it, taking the
// two for one; a typed message repeats cipher letters, so each announcement of a run of a few dozen
// differs from the others by the spaces after its words, which are not spoken.
void Announcer::announce(const QString& text)
{
    QWidget* focus = QApplication::focusWidget();
    m_next = (m_next + 1) % kDistinct;
    QAccessibleAnnouncementEvent said(focus ? focus : m_window, text + QString(m_next, u' '));
    QAccessible::updateAccessibility(&said);
}

#else

namespace {

// An element that a screen reader meets and the screen does not show: no widget stands behind it, it
// has no place on the panel and never takes the focus.
class Unseen : public QAccessibleInterface {
public:
    Unseen(QAccessible::Role role, QAccessibleInterface* parent) : m_role(role), m_parent(parent) {}

    void adopt(QAccessibleInterface* child) { m_children.push_back(child); }
    void setName(const QString& name) { m_name = name; }
    const QString& name() const { return m_name; }

    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return m_parent; }
    QAccessibleInterface* child(int index) const override
    {
        return index >= 0 && index < childCount() ? m_children[static_cast<std::size_t>(index)] : nullptr;
    }
    int childCount() const override { return static_cast<int>(m_children.size()); }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (std::size_t i = 0; i < m_children.size(); ++i) {
            if (m_children[i] == child)
                return static_cast<int>(i);
        }
        return -1;
    }
    QString text(QAccessible::Text which) const override
    {
        return which == QAccessible::Name ? m_name : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return m_role; }
    QAccessible::State state() const override { return {}; }

private:
    QAccessible::Role m_role;
    QAccessibleInterface* m_parent;
    std::vector<QAccessibleInterface*> m_children;
    QString m_name;
};

QAccessible::Id registered(QAccessibleInterface* element)
{
    return QAccessible::registerAccessibleInterface(element);
}

} // namespace

// A notification whose words stand in a text inside it, as a reader expects of one: it speaks the text
// and files it among the notifications it has heard.
class SpokenNotice final : public Unseen {
public:
    explicit SpokenNotice(QAccessibleInterface* statusLine)
        : Unseen(QAccessible::Notification, statusLine), m_words(new Unseen(QAccessible::StaticText, this))
    {
        adopt(m_words);
    }

    Unseen* words() const { return m_words; }

private:
    Unseen* m_words;
};

Announcer::Announcer(QWidget* window) : m_window(window)
{
    auto* statusLine = new Unseen(QAccessible::StatusBar, QAccessible::queryAccessibleInterface(window));
    std::size_t id = 0;
    m_ids[id++] = registered(statusLine);
    for (SpokenNotice*& notice : m_notices) {
        notice = new SpokenNotice(statusLine);
        statusLine->adopt(notice);
        m_ids[id++] = registered(notice);
        m_ids[id++] = registered(notice->words());
    }
}

Announcer::~Announcer()
{
    for (const QAccessible::Id id : m_ids)
        QAccessible::deleteAccessibleInterface(id);
}

void Announcer::announce(const QString& text)
{
    SpokenNotice* notice = m_notices[static_cast<std::size_t>(m_next)];
    m_next = (m_next + 1) % kNotices;
    notice->words()->setName(text);
    QAccessibleEvent shown(notice, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

#endif

} // namespace rovanta
