#pragma once

#include <string>

// A top-level window: the main window, the about window or the progress sheet.
class KTWindow {
public:
    virtual ~KTWindow() = default;
    // Centres the window on its screen.
    virtual void center() = 0;
    // Shows the window in front of the others and gives it the keyboard focus.
    virtual void makeKeyAndOrderFront(void* sender) = 0;
    // Takes the window off screen.
    virtual void orderOut(void* sender) = 0;
    virtual bool isVisible() const = 0;
    // Titles the window after the file it shows (its name without the folder),
    // with the mark the desktop shows while there are unsaved changes.
    virtual void setTitleWithRepresentedFilename(const std::string& filename) = 0;
    // Shows or hides that mark: whether any bank holds changes no disk holds.
    virtual void setDocumentEdited(bool edited) = 0;
};
