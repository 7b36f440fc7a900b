#include "app/platform/qt/KTQtBankStepCommand.h"

KTQtBankStepCommand::KTQtBankStepCommand(const QString& text, std::vector<TLBankSnapshot> before,
                                         std::vector<TLBankSnapshot> after, KTUndoManager::Restore restore)
    : QUndoCommand(text)
    , mBefore(std::move(before))
    , mAfter(std::move(after))
    , mRestore(std::move(restore))
{
}

void KTQtBankStepCommand::undo()
{
    mRestore(mBefore, true);
}

void KTQtBankStepCommand::redo()
{
    if (mPushed)
        mRestore(mAfter, false);
    mPushed = true;
}
