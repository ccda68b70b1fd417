#include "panel/textbox/line_text.h"

#include <QTextBoundaryFinder>

#include <array>
#include <utility>

namespace rovanta {

namespace {

constexpr std::size_t kUndoLimit = 100;
// Below the combining marks every character is a grapheme cluster of its own, CR LF aside.
constexpr char16_t kFirstCombining = 0x0300;
// How far either side of a position the edges of its grapheme cluster are looked for.
constexpr qsizetype kClusterReach = 32;

enum class CharClass { Space, Word, Other };

CharClass classOf(QChar character)
{
    if (character.isSpace())
        return CharClass::Space;
    if (character.isLetterOrNumber() || character.isMark() || character.isSurrogate() || character == u'_')
        return CharClass::Word;
    return CharClass::Other;
}

} // namespace

// Characters

qsizetype LineText::nextCharacter(qsizetype position) const
{
    if (position >= m_text.size())
        return m_text.size();
    return isPlainBoundary(position + 1) ? position + 1 : clusterBoundary(position, true);
}

qsizetype LineText::previousCharacter(qsizetype position) const
{
    if (position <= 0)
        return 0;
    return isPlainBoundary(position - 1) ? position - 1 : clusterBoundary(position, false);
}

// The cheap test that settles every step through the machine's capitals: characters below the combining
// marks stand alone, so only the rest needs a boundary finder.
bool LineText::isPlainBoundary(qsizetype position) const
{
    if (position <= 0 || position >= m_text.size())
        return true;
    const char16_t before = m_text[position - 1].unicode();
    const char16_t after = m_text[position].unicode();
    return before < kFirstCombining && after < kFirstCombining && !(before == u'\r' && after == u'\n');
}

// The next or previous cluster edge, found within a window around the position so that a step costs the
// same at any length of text. A cluster longer than the window is crossed a window at a time, never
// splitting a surrogate pair.
qsizetype LineText::clusterBoundary(qsizetype position, bool forward) const
{
    const qsizetype from = std::max<qsizetype>(0, position - kClusterReach);
    const qsizetype to = std::min(m_text.size(), position + kClusterReach);
    std::array<unsigned char, 2 * kClusterReach + 1> attributes{};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, QStringView(m_text).sliced(from, to - from),
                               attributes.data(), static_cast<qsizetype>(attributes.size()));
    finder.setPosition(position - from);
    const qsizetype found = forward ? finder.toNextBoundary() : finder.toPreviousBoundary();
    qsizetype edge = found < 0 ? (forward ? to : from) : from + found;
    if (edge > 0 && edge < m_text.size() && m_text[edge].isLowSurrogate() &&
        m_text[edge - 1].isHighSurrogate())
        edge += forward ? 1 : -1;
    return edge;
}

// The start of the run of characters of one class that ends at `position`.
qsizetype LineText::wordStart(qsizetype position) const
{
    if (position == 0)
        return 0;
    const CharClass run = classOf(m_text[position - 1]);
    while (position > 0 && classOf(m_text[position - 1]) == run)
        --position;
    return position;
}

// The end of the run of characters of one class that starts at `position`.
qsizetype LineText::wordEnd(qsizetype position) const
{
    if (position == m_text.size())
        return position;
    const CharClass run = classOf(m_text[position]);
    while (position < m_text.size() && classOf(m_text[position]) == run)
        ++position;
    return position;
}

qsizetype LineText::target(Step step, bool mark) const
{
    // A plain Left or Right first collapses a selection to its edge.
    const bool collapse = !mark && hasSelection();
    qsizetype position = m_caret;
    switch (step) {
    case Step::PreviousChar:
        return collapse ? selectionStart() : previousCharacter(m_caret);
    case Step::NextChar:
        return collapse ? selectionEnd() : nextCharacter(m_caret);
    case Step::PreviousWord:
        while (position > 0 && m_text[position - 1].isSpace())
            --position;
        return wordStart(position);
    case Step::NextWord:
        position = wordEnd(position);
        while (position < m_text.size() && m_text[position].isSpace())
            ++position;
        return position;
    case Step::Start:
        return 0;
    case Step::End:
        return m_text.size();
    }
    return m_caret;
}

// Caret and selection

void LineText::moveCaret(qsizetype position, bool mark)
{
    m_caret = std::clamp<qsizetype>(position, 0, m_text.size());
    if (!mark)
        m_anchor = m_caret;
    // Typing elsewhere is another undo step.
    if (!m_undo.empty())
        m_undo.back().merge = Merge::Separate;
}

void LineText::select(qsizetype anchor, qsizetype caret)
{
    m_anchor = std::clamp<qsizetype>(anchor, 0, m_text.size());
    m_caret = std::clamp<qsizetype>(caret, 0, m_text.size());
}

void LineText::selectWordAt(qsizetype position)
{
    if (m_text.isEmpty())
        return;
    position = std::clamp<qsizetype>(position, 0, m_text.size() - 1);
    select(wordStart(position + 1), wordEnd(position));
}

// Edits

Change LineText::replace(qsizetype start, qsizetype end, const QString& with)
{
    start = std::clamp<qsizetype>(start, 0, m_text.size());
    end = std::clamp<qsizetype>(end, start, m_text.size());
    // A whole text is handed over shared, not copied.
    Change change{start, m_text.mid(start, end - start), with};
    if (start == 0 && end == m_text.size())
        m_text = with;
    else if (start == m_text.size())
        m_text.append(with);
    else
        m_text.replace(start, end - start, with);
    m_caret = m_anchor = start + with.size();
    return change;
}

Change LineText::reset(const QString& text)
{
    m_undo.clear();
    m_redo.clear();
    if (text == m_text) {
        m_caret = m_anchor = m_text.size();
        return {};
    }
    return replace(0, m_text.size(), text);
}

Change LineText::append(QStringView tail)
{
    if (tail.isEmpty())
        return {};
    return replace(m_text.size(), m_text.size(), tail.toString());
}

Change LineText::edit(qsizetype start, qsizetype end, const QString& with, Merge merge)
{
    Change change = replace(start, end, with);
    record(change, merge);
    return change;
}

Change LineText::erase(qsizetype other)
{
    if (hasSelection())
        return edit(selectionStart(), selectionEnd(), QString(), Merge::Separate);
    if (other == m_caret)
        return {};
    return edit(std::min(other, m_caret), std::max(other, m_caret), QString(), Merge::Separate);
}

void LineText::record(const Change& change, Merge merge)
{
    if (change.isEmpty())
        return;
    m_redo.clear();
    if (merge == Merge::Typing && change.removed.isEmpty() && !m_undo.empty()) {
        UndoStep& last = m_undo.back();
        if (last.merge == Merge::Typing &&
            last.change.position + last.change.inserted.size() == change.position) {
            last.change.inserted += change.inserted;
            return;
        }
    }
    m_undo.push_back({change, merge});
    if (m_undo.size() > kUndoLimit)
        m_undo.erase(m_undo.begin());
}

// Takes back the last step of `from` and keeps its inverse on `to`: undo and redo are one movement.
Change LineText::replay(std::vector<UndoStep>& from, std::vector<UndoStep>& to)
{
    if (from.empty())
        return {};
    const Change step = std::move(from.back().change);
    from.pop_back();
    Change back = replace(step.position, step.position + step.inserted.size(), step.removed);
    to.push_back({back, Merge::Separate});
    return back;
}

} // namespace rovanta
