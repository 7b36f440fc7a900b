#include "app/platform/qt/KTQtUndoManager.h"

#include "app/platform/qt/KTQtBankStepCommand.h"

KTQtUndoManager::KTQtUndoManager()
{
    mStack.setUndoLimit(kSteps);
}

void KTQtUndoManager::registerStep(const std::string& actionName, std::vector<TLBankSnapshot> before,
                                   std::vector<TLBankSnapshot> after, Restore restore)
{
    mStack.push(new KTQtBankStepCommand(QString::fromStdString(actionName), std::move(before), std::move(after),
                                        std::move(restore)));
}
