#pragma once

#include "project/Project.h"

#include <QList>
#include <QString>
#include <optional>

// The project's states, one step a change, for undo and redo. A step keeps
// the state before and after it; states share their lists and strings with
// the document, so a step costs little even at 10,000 entries.
class UndoHistory {
public:
    // A fresh history whose only state is this one (New, Open, Import).
    void reset(const Project &state);
    // Records state as a step, named after what changed, when it differs
    // from the current one. Typing in one text box merges into its last
    // step until seal(). A step given a name (a release, say) stands alone.
    bool record(const Project &state, const QString &stepName = {});
    void seal() { m_sealed = true; }

    bool canUndo() const { return m_index > 0; }
    bool canRedo() const { return m_index < m_steps.size(); }
    QString undoName() const { return canUndo() ? m_steps.at(m_index - 1).name : QString(); }
    QString redoName() const { return canRedo() ? m_steps.at(m_index).name : QString(); }
    // One step back or forward; the state to restore.
    const Project &undo();
    const Project &redo();
    qsizetype size() const { return m_steps.size(); }
    const Project &current() const { return m_current; }

    // The state last saved is the clean one, wherever undo and redo lead;
    // a project read only in part or imported has none until it is saved.
    void markClean()
    {
        m_clean = m_current;
        m_sealed = true; // typing after a save is a step of its own
    }
    void markNeverClean() { m_clean.reset(); }
    bool isClean(const Project &state) const { return m_clean && *m_clean == state; }

private:
    struct Step {
        QString name;
        QString mergeKey; // the text box typed in, or empty
        Project before;
        Project after;
    };
    QList<Step> m_steps;
    qsizetype m_index = 0; // steps done
    std::optional<Project> m_clean;
    Project m_current;
    bool m_sealed = true;
};

// What differs from before to after in the author's words ("「ソフト名」の入力"),
// or empty. mergeKey is set for typing in a text box, else emptied.
QString describeChange(const Project &before, const Project &after, QString *mergeKey);
