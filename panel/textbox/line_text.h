#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>
#include <vector>

namespace rovanta {

// One change of the text: at `position`, `removed` gave way to `inserted`.
struct Change {
    qsizetype position = 0;
    QString removed;
    QString inserted;

    bool isEmpty() const { return removed.isEmpty() && inserted.isEmpty(); }
};

// The text of a one-line box with its caret, selection and undo, and nothing of a window: steps go by the
// characters a reader sees, every step and edit costs the same however long the text grows, and every
// change of the text goes through replace(), which tells what changed.
class LineText {
public:
    enum class Step { PreviousChar, NextChar, PreviousWord, NextWord, Start, End };
    // Typing on from where the last typing stopped adds to that undo step.
    enum class Merge { Typing, Separate };

    const QString& text() const { return m_text; }
    qsizetype caret() const { return m_caret; }
    qsizetype anchor() const { return m_anchor; }
    bool hasSelection() const { return m_anchor != m_caret; }
    qsizetype selectionStart() const { return std::min(m_anchor, m_caret); }
    qsizetype selectionEnd() const { return std::max(m_anchor, m_caret); }
    QString selectedText() const { return m_text.mid(selectionStart(), selectionEnd() - selectionStart()); }
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }

    // Grapheme clusters: a letter with its accent, a surrogate pair, a flag are each one step.
    qsizetype nextCharacter(qsizetype position) const;
    qsizetype previousCharacter(qsizetype position) const;
    // Where the caret goes for a step; with `mark` false a selection first collapses to its edge.
    qsizetype target(Step step, bool mark) const;

    void moveCaret(qsizetype position, bool mark);
    void select(qsizetype anchor, qsizetype caret);
    void selectAll() { select(0, m_text.size()); }
    void selectWordAt(qsizetype position);
    void deselect() { m_anchor = m_caret; }

    // The one place the text changes: [start, end) gives way to `with`, and the caret stands after it.
    Change replace(qsizetype start, qsizetype end, const QString& with);

    // The program's own changes, no undo steps: a new text forgets the steps, an appended tail survives them.
    Change reset(const QString& text);
    Change append(QStringView tail);

    // The operator's edits, each an undo step.
    Change edit(qsizetype start, qsizetype end, const QString& with, Merge merge);
    Change insert(const QString& with) { return edit(selectionStart(), selectionEnd(), with, Merge::Typing); }
    // Removes the selection, or else the characters between the caret and `other`.
    Change erase(qsizetype other);
    Change undo() { return replay(m_undo, m_redo); }
    Change redo() { return replay(m_redo, m_undo); }

private:
    struct UndoStep {
        Change change;
        Merge merge = Merge::Separate;
    };

    bool isPlainBoundary(qsizetype position) const;
    qsizetype clusterBoundary(qsizetype position, bool forward) const;
    qsizetype wordStart(qsizetype position) const;
    qsizetype wordEnd(qsizetype position) const;
    void record(const Change& change, Merge merge);
    Change replay(std::vector<UndoStep>& from, std::vector<UndoStep>& to);

    QString m_text;
    qsizetype m_caret = 0;
    qsizetype m_anchor = 0;
    std::vector<UndoStep> m_undo;
    std::vector<UndoStep> m_redo;
};

} // namespace rovanta
