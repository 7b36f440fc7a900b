#pragma once

#include "app/platform/KTFilePanel.h"
#include "device/TLImportOptions.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class KTWindow;

// The application-wide operations of the desktop: file panels, alerts, the
// beep, sheets, the main queue, background work and the information dictionary.
// Everything but postToMainQueue is called on the main thread only.
class KTApplicationPlatform {
public:
    // Called once when a sheet ends: the sheet, the return code, the context.
    using SheetDidEndCallback = std::function<void(KTWindow* sheet, int returnCode, void* contextInfo)>;

    virtual ~KTApplicationPlatform() = default;

    // Modal choice of an existing file; every file can be chosen through the
    // panel's "All files" filter. The chosen path (UTF-8), or nothing when the
    // user cancelled.
    virtual std::optional<std::string> runOpenPanel(const KTFilePanel& panel) = 0;
    // Modal choice of a file to write. A name that ends in none of the allowed
    // types gets the first one appended, and the user is asked before an
    // existing file of the final name is replaced. The path (UTF-8), or
    // nothing when cancelled.
    virtual std::optional<std::string> runSavePanel(const KTFilePanel& panel) = 0;

    // Modal alerts with the given texts; an empty button title shows no such
    // button. Returns 1 for the default button, 0 for the alternate one and -1
    // for the other one.
    virtual int runCriticalAlertPanel(const std::string& title, const std::string& message,
                                      const std::string& defaultButton, const std::string& alternateButton,
                                      const std::string& otherButton) = 0;
    virtual int runInformationalAlertPanel(const std::string& title, const std::string& message,
                                           const std::string& defaultButton,
                                           const std::string& alternateButton,
                                           const std::string& otherButton) = 0;
    virtual void beep() = 0;
    // Modal question for a number, with a label, a starting value and bounds;
    // the number, or nothing when the user cancelled.
    virtual std::optional<double> runValuePanel(const std::string& title, const std::string& label, double value,
                                                double minimum, double maximum) = 0;
    // Import Region: the whole file's waveform with a window a bank long the
    // user places, the channel and shaping; the options chosen, or nothing
    // when cancelled. play starts hearing the window (returning the seconds it
    // plays), stop ends that.
    virtual std::optional<TLImportOptions> runImportRegionPanel(const std::string& path,
                                                                std::function<double(const TLImportOptions&)> play,
                                                                std::function<void()> stop) = 0;

    // The desktop's clipboard as sound: WAV data (audio/wav), which other
    // audio programs take and give; nothing when it holds none.
    virtual void setClipboardSound(const std::vector<std::uint8_t>& wave) = 0;
    virtual std::optional<std::vector<std::uint8_t>> clipboardSound() const = 0;

    // Attaches sheet to window, modal for that window only. didEnd is called
    // exactly once, when endSheet ends it.
    virtual void beginSheetModalForWindow(KTWindow& sheet, KTWindow& window, SheetDidEndCallback didEnd,
                                          void* contextInfo) = 0;
    // Ends the sheet and calls its did-end callback; does nothing for a window
    // that is not attached as a sheet.
    virtual void endSheet(KTWindow& sheet) = 0;

    // Runs block later on the main thread; blocks run in posting order. Safe
    // to call from any thread.
    virtual void postToMainQueue(std::function<void()> block) = 0;
    // Runs block on the main thread once the delay has passed. Main thread only.
    virtual void postToMainQueueAfter(std::chrono::milliseconds delay, std::function<void()> block) = 0;
    // Starts block on a new background thread; the caller owns the thread and
    // joins it.
    virtual std::thread startBackgroundOperation(std::function<void()> block) = 0;

    // The string stored under key in the application's information dictionary,
    // empty when there is none.
    virtual std::string objectForInfoDictionaryKey(const std::string& key) const = 0;

    // The user's settings that outlive the program: a string under each key,
    // empty when none was stored.
    virtual std::string stringForUserDefaultsKey(const std::string& key) const = 0;
    virtual void setStringForUserDefaultsKey(const std::string& key, const std::string& value) = 0;
    // Adds a disk that was opened or saved to the recent disks.
    virtual void noteRecentDocument(const std::string& path) = 0;

    // text in the user's language, from the translations of the named context;
    // text itself where there is none.
    virtual std::string translated(const char* context, const char* text) const = 0;
};
