#pragma once

#include <functional>
#include <optional>
#include <string>

// The sheet a take is recorded in: the sound input's name, a level meter, a
// threshold (off, or a level in dBFS) and Record, Stop and Cancel.
class KTRecordSheet {
public:
    // What the buttons do; called on the main thread.
    struct Actions {
        // Record: armed until the threshold is reached when there is one,
        // else recording at once.
        std::function<void(std::optional<double> thresholdDbfs)> record;
        // Stop: the take so far goes into the bank.
        std::function<void()> stop;
        // Cancel (also Escape and closing the sheet): the bank stays as it was.
        std::function<void()> cancel;
    };

    virtual ~KTRecordSheet() = default;
    // Shows the sheet, modal for the main window.
    virtual void begin(const std::string& inputName, Actions actions) = 0;
    // The peak of the last moment in dBFS (minus infinity for silence), and
    // whether the input clipped then; the sheet holds a clip in sight a while.
    virtual void showLevel(double peakDbfs, bool clipped) = 0;
    // What the recording does now; recording is false while armed or before Record.
    virtual void showState(const std::string& text, bool recording) = 0;
    virtual void end() = 0;
};
