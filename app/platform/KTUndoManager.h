#pragma once

#include "device/TLBankSnapshot.h"

#include <functional>
#include <string>
#include <vector>

// The editor's undo history of bank edits, and whether the banks differ from
// the disk last opened or saved.
class KTUndoManager {
public:
    // Puts the given banks back as they were; called on undo and redo.
    using Restore = std::function<void(const std::vector<TLBankSnapshot>& banks)>;

    virtual ~KTUndoManager() = default;
    // Records one step that has just been made, named for the Undo command:
    // the changed banks before and after it.
    virtual void registerStep(const std::string& actionName, std::vector<TLBankSnapshot> before,
                              std::vector<TLBankSnapshot> after, Restore restore) = 0;
    // True while the banks hold changes that no disk holds.
    virtual bool isDocumentEdited() const = 0;
    // The banks as they are now are what the disk holds.
    virtual void markSaved() = 0;
};
