#pragma once

#include "editors/editlabel.h"
#include "model/paramimage.h"

#include <QKeySequence>
#include <QObject>
#include <QUndoStack>

#include <vector>

class QAction;

namespace spk {

class ChannelView;
class EditorState;

// Undo and redo of every edit (QUndoStack). Each record an edit marks (EditorState::recordEdited)
// is compared with this history's copy of the image; when its bytes differ, that becomes a step
// whose undo and redo write the record's bytes back, show them (selecting the record's channel
// first when the crossover/EQ editors show another) and mark the record for sending, so that
// while connected it goes out on the next pulse tick. Edits under one tag are one step: a drag or
// a slider held (beginGesture/endGesture), the wheel notches of one burst on one field (Tag), the
// EQ reset. A refresh of the whole image (device image, recall, file) is a boundary: restart()
// clears the history, so no step ever writes a record the refresh replaced.
class EditUndo : public QObject
{
    Q_OBJECT
public:
    // At most this many steps are kept (the oldest go): each holds up to ten 16-byte record
    // changes and its text, well under 1 KiB, so the history stays below 1 MiB.
    static constexpr int Limit = 1000;

    explicit EditUndo(EditorState &state, QObject *parent = nullptr);
    ~EditUndo() override;

    QUndoStack &stack() { return m_stack; }
    // What shows restored records and settles the editors before undo and redo.
    void setView(ChannelView *view) { m_view = view; }

    // "Undo <what>" / "Redo <what>" with the platform's shortcuts (QUndoStack's actions, which
    // run undo() and redo() below instead of the stack's own slots).
    QAction *createUndoAction(QObject *parent);
    QAction *createRedoAction(QObject *parent);
    // The editors settle first (a typed value commits, a drag or the reset walk ends).
    void undo();
    void redo();

    // EditorState::recordEdited: a step when the record's bytes changed since last seen.
    void recordEdited(int record);
    // The image was replaced as a whole: the history starts again from it.
    void restart();

    // Every edit from here to endGesture() is one step; label names it ("EQ reset"), empty: the
    // changed fields do.
    void beginGesture(const QString &label = QString());
    void endGesture();
    // Edits while it lives carry the tag: consecutive ones under the same tag are one step,
    // named by label if one is given.
    class Tag
    {
    public:
        Tag(EditUndo *undo, const QString &tag, const QString &label = QString());
        ~Tag();
        Tag(const Tag &) = delete;
        Tag &operator=(const Tag &) = delete;

    private:
        EditUndo *m_undo;
        QString m_previousTag;
        QString m_previousLabel;
    };

    // The commands' undo and redo: the records' bytes before or after, shown and marked.
    void apply(const std::vector<RecordChange> &changes, bool before);
    // Consecutive steps merge only within one epoch: undo, redo and restart begin a new one.
    int epoch() const { return m_epoch; }

private:
    QAction *hookAction(QAction *action, QKeySequence::StandardKey keys, void (EditUndo::*slot)());

    EditorState &m_state;
    QUndoStack m_stack;
    ChannelView *m_view = nullptr;
    ParamImage m_seen;
    QString m_tag;
    QString m_label;
    int m_gestures = 0;
    int m_epoch = 0;
    bool m_applying = false;
};

} // namespace spk
