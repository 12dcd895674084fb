#pragma once

#include "channels/WorkingCopy.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <functional>

// The undo history of a working copy, kept as whole-state snapshots. Every change is
// recorded after it happened: record() compares the working copy with the state the
// last step left and pushes one step holding both when they differ. So an edit that
// runs in many small writes (a typed frequency and its row fill, a paste, a load) is
// one step, whatever code made it.
//
// Band strings belong to the settings file, not to the edited channels: undo and redo
// keep the band strings as they are now.
//
// Modified: the working copy differs from the state last marked saved (a file opened or
// saved, a complete read). Changes not yet recorded do not count until they are.
class EditHistory : public QObject
{
    Q_OBJECT
public:
    explicit EditHistory(WorkingCopy &wc, QObject *parent = nullptr);
    // The stack's last clean-state signal, sent while it is destroyed, is not passed on:
    // whoever follows it may already be gone.
    ~EditHistory() override;

    QUndoStack *stack() { return &m_stack; }

    // Records what changed since the last step as one step named text; false when
    // nothing changed.
    bool record(const QString &text);
    // Runs change as one step named text. Changes not yet recorded become a step of their
    // own first, so this one holds only what change did. Whole-state replacements (a file
    // opened, a read, an import) go through here.
    bool step(const QString &text, const std::function<void()> &change);
    // Takes the working copy as it is as the start of the next step, without a step:
    // for changes nobody undoes (band strings refreshed from the settings file).
    void absorb();

    void undo();
    void redo();

    bool isModified() const { return !m_stack.isClean(); }
    // The working copy as it stands is what the file or the radio holds.
    void markSaved();

signals:
    void modifiedChanged(bool modified);
    // Undo or redo replaced the working copy's state.
    void restored();

private:
    friend class SnapshotStep;
    void restore(const WorkingCopyState &state);

    WorkingCopy &m_wc;
    QUndoStack m_stack;
    WorkingCopyState m_base;
};
