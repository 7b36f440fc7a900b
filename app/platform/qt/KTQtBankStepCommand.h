#pragma once

#include "app/platform/KTUndoManager.h"

#include <QUndoCommand>

// One undoable edit of the banks: the changed banks before and after it.
class KTQtBankStepCommand final : public QUndoCommand {
public:
    KTQtBankStepCommand(const QString& text, std::vector<TLBankSnapshot> before, std::vector<TLBankSnapshot> after,
                        KTUndoManager::Restore restore);
    void undo() override;
    // The edit was made before the step was pushed: the first redo, which the
    // stack runs on pushing, leaves the banks as they are.
    void redo() override;

private:
    std::vector<TLBankSnapshot> mBefore;
    std::vector<TLBankSnapshot> mAfter;
    KTUndoManager::Restore mRestore;
    bool mPushed = false;
};
