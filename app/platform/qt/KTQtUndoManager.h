#pragma once

#include "app/platform/KTUndoManager.h"

#include <QUndoStack>

// The undo history on a QUndoStack of at most kSteps steps.
class KTQtUndoManager final : public KTUndoManager {
public:
    static constexpr int kSteps = 32;

    KTQtUndoManager();
    void registerStep(const std::string& actionName, std::vector<TLBankSnapshot> before,
                      std::vector<TLBankSnapshot> after, Restore restore) override;

    QUndoStack& stack() { return mStack; }

private:
    QUndoStack mStack;
};
