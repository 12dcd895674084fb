#include "EditHistory.h"

#include <QUndoCommand>

// One step: the state before and after. The first redo is the change itself, already made.
class SnapshotStep : public QUndoCommand
{
public:
    SnapshotStep(EditHistory &history, WorkingCopyState before, WorkingCopyState after, const QString &text)
        : QUndoCommand(text), m_history(history), m_before(std::move(before)), m_after(std::move(after))
    { }

    void undo() override { m_history.restore(m_before); }
    void redo() override
    {
        if (m_done)
            m_history.restore(m_after);
        m_done = true;
    }

private:
    EditHistory &m_history;
    WorkingCopyState m_before;
    WorkingCopyState m_after;
    bool m_done = false;
};

EditHistory::EditHistory(WorkingCopy &wc, QObject *parent) : QObject(parent), m_wc(wc), m_base(wc.state())
{
    connect(&m_stack, &QUndoStack::cleanChanged, this, [this](bool clean) { emit modifiedChanged(!clean); });
}

EditHistory::~EditHistory()
{
    m_stack.disconnect(this);
}

bool EditHistory::record(const QString &text)
{
    WorkingCopyState now = m_wc.state();
    if (now == m_base)
        return false;
    WorkingCopyState before = std::exchange(m_base, now);
    m_stack.push(new SnapshotStep(*this, std::move(before), std::move(now), text));
    return true;
}

bool EditHistory::step(const QString &text, const std::function<void()> &change)
{
    record(tr("编辑"));
    change();
    return record(text);
}

void EditHistory::absorb()
{
    m_base = m_wc.state();
}

void EditHistory::undo()
{
    record(tr("编辑"));
    m_stack.undo();
}

void EditHistory::redo()
{
    // A change not yet recorded would be lost under the redone state: it becomes the
    // newest step instead, which leaves nothing to redo.
    if (record(tr("编辑")))
        return;
    m_stack.redo();
}

void EditHistory::markSaved()
{
    record(tr("编辑"));
    m_stack.setClean();
}

void EditHistory::restore(const WorkingCopyState &state)
{
    WorkingCopyState s = state;
    s.bands = m_wc.state().bands;
    const int model = s.rows[size_t(WorkingCopy::List::Model)];
    // The band text is that of the restored model under today's band strings.
    if (model >= 0 && model < WorkingCopy::rows(WorkingCopy::List::Model).size())
        s.bandText = m_wc.bandStringForModelRow(model);
    m_wc.setState(s);
    m_base = m_wc.state();
    emit restored();
}
