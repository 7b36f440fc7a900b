#pragma once

#include "device/TLBankSnapshot.h"

#include <functional>
#include <string>
#include <vector>

// The editor's undo history of bank edits.
class KTUndoManager {
public:
    // Puts the given banks back as they were; called on undo (undo true) and redo.
    using Restore = std::function<void(const std::vector<TLBankSnapshot>& banks, bool undo)>;

    virtual ~KTUndoManager() = default;
    // Records one step that has just been made, named for the Undo command:
    // the changed banks before and after it.
    virtual void registerStep(const std::string& actionName, std::vector<TLBankSnapshot> before,
                              std::vector<TLBankSnapshot> after, Restore restore) = 0;
};
