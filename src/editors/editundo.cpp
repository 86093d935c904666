#include "editors/editundo.h"

#include "editors/channelview.h"
#include "window/editorstate.h"

#include <QAction>
#include <QUndoCommand>

#include <algorithm>
#include <utility>

namespace spk {

namespace {
// The last record written one by one; records 75..79 travel only in bulk transfers.
constexpr int GroupedRecords = 75;

std::array<std::uint8_t, RecordSize> copyOf(std::span<const std::uint8_t, RecordSize> bytes)
{
    std::array<std::uint8_t, RecordSize> out;
    std::ranges::copy(bytes, out.begin());
    return out;
}

class RecordEdit : public QUndoCommand
{
public:
    RecordEdit(EditUndo &owner, RecordChange change, const QString &tag, const QString &label)
        : m_owner(owner), m_changes{change}, m_tag(tag), m_label(label), m_epoch(owner.epoch())
    {
        setText(describeChanges(m_changes, m_label));
    }

    int id() const override { return m_tag.isEmpty() ? -1 : 1; }

    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *o = static_cast<const RecordEdit *>(other);
        if (o->m_tag != m_tag || o->m_epoch != m_epoch) return false;
        for (const RecordChange &c : o->m_changes) {
            auto mine = std::ranges::find(m_changes, c.record, &RecordChange::record);
            if (mine == m_changes.end())
                m_changes.push_back(c);
            else
                mine->after = c.after;
        }
        // A drag back to where it started leaves no step.
        setObsolete(
            std::ranges::all_of(m_changes, [](const RecordChange &c) { return c.before == c.after; }));
        setText(describeChanges(m_changes, m_label));
        return true;
    }

    void undo() override { m_owner.apply(m_changes, true); }
    void redo() override
    {
        // Pushed after the edit itself wrote the bytes.
        if (m_pushed) m_owner.apply(m_changes, false);
        m_pushed = true;
    }

private:
    EditUndo &m_owner;
    std::vector<RecordChange> m_changes;
    QString m_tag;
    QString m_label;
    int m_epoch;
    bool m_pushed = false;
};
} // namespace

EditUndo::EditUndo(EditorState &state, QObject *parent) : QObject(parent), m_state(state)
{
    m_stack.setUndoLimit(Limit);
    m_seen = state.ParamImage;
}

EditUndo::~EditUndo() = default;

QAction *EditUndo::hookAction(QAction *action, QKeySequence::StandardKey keys, void (EditUndo::*slot)())
{
    // The stack's actions keep their texts and enabled state; a trigger runs the slot here.
    disconnect(action, &QAction::triggered, &m_stack, nullptr);
    connect(action, &QAction::triggered, this, slot);
    action->setShortcuts(keys);
    return action;
}

QAction *EditUndo::createUndoAction(QObject *parent)
{
    QAction *a = hookAction(m_stack.createUndoAction(parent), QKeySequence::Undo, &EditUndo::undo);
    a->setObjectName(QStringLiteral("Undo1"));
    return a;
}

QAction *EditUndo::createRedoAction(QObject *parent)
{
    QAction *a = hookAction(m_stack.createRedoAction(parent), QKeySequence::Redo, &EditUndo::redo);
    a->setObjectName(QStringLiteral("Redo1"));
    return a;
}

void EditUndo::undo()
{
    if (m_view) m_view->settle();
    ++m_epoch;
    m_stack.undo();
}

void EditUndo::redo()
{
    if (m_view) m_view->settle();
    ++m_epoch;
    m_stack.redo();
}

void EditUndo::recordEdited(int record)
{
    if (m_applying || record < 0 || record >= GroupedRecords) return;
    const auto now = m_state.ParamImage.record(record);
    const auto seen = m_seen.record(record);
    if (std::ranges::equal(now, seen)) return;
    const RecordChange change{record, copyOf(seen), copyOf(now)};
    m_seen.setRecord(record, change.after);
    m_stack.push(new RecordEdit(*this, change, m_tag, m_label));
}

void EditUndo::restart()
{
    m_stack.clear();
    m_seen = m_state.ParamImage;
    ++m_epoch;
}

void EditUndo::beginGesture(const QString &label)
{
    m_tag = QStringLiteral("gesture %1").arg(++m_gestures);
    m_label = label;
}

void EditUndo::endGesture()
{
    m_tag.clear();
    m_label.clear();
}

EditUndo::Tag::Tag(EditUndo *undo, const QString &tag, const QString &label) : m_undo(undo)
{
    if (!m_undo) return;
    m_previousTag = std::exchange(m_undo->m_tag, tag);
    m_previousLabel = std::exchange(m_undo->m_label, label);
}

EditUndo::Tag::~Tag()
{
    if (!m_undo) return;
    m_undo->m_tag = m_previousTag;
    m_undo->m_label = m_previousLabel;
}

void EditUndo::apply(const std::vector<RecordChange> &changes, bool before)
{
    m_applying = true;
    std::vector<int> records;
    for (const RecordChange &c : changes) {
        m_state.ParamImage.setRecord(c.record, before ? c.before : c.after);
        m_seen.setRecord(c.record, before ? c.before : c.after);
        records.push_back(c.record);
    }
    if (m_view) m_view->showRecords(records);
    for (int r : records)
        m_state.setDirty(r);
    m_applying = false;
}

} // namespace spk
