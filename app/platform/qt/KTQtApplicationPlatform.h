#pragma once

#include "app/platform/KTApplicationPlatform.h"

#include <QMessageBox>

#include <map>
#include <optional>
#include <string>

class QWidget;

// The application-wide operations on Qt: file dialogs and message boxes over
// the main window, window-modal dialogs as sheets, the main thread's event
// queue as the main queue.
class KTQtApplicationPlatform final : public KTApplicationPlatform {
public:
    explicit KTQtApplicationPlatform(std::map<std::string, std::string> infoDictionary);

    // The window that panels and alerts are shown over; may stay null.
    void setMainWindow(QWidget* window) { mMainWindow = window; }

    std::optional<std::string> runOpenPanel(const KTFilePanel& panel) override;
    std::optional<std::string> runSavePanel(const KTFilePanel& panel) override;
    int runCriticalAlertPanel(const std::string& title, const std::string& message, const std::string& defaultButton,
                              const std::string& alternateButton, const std::string& otherButton) override;
    int runInformationalAlertPanel(const std::string& title, const std::string& message,
                                   const std::string& defaultButton, const std::string& alternateButton,
                                   const std::string& otherButton) override;
    void beep() override;
    std::optional<double> runValuePanel(const std::string& title, const std::string& label, double value,
                                        double minimum, double maximum) override;
    std::optional<TLImportOptions> runImportRegionPanel(const std::string& path,
                                                        std::function<double(const TLImportOptions&)> play,
                                                        std::function<void()> stop) override;
    void setClipboardSound(const std::vector<std::uint8_t>& wave) override;
    std::optional<std::vector<std::uint8_t>> clipboardSound() const override;
    void beginSheetModalForWindow(KTWindow& sheet, KTWindow& window, SheetDidEndCallback didEnd,
                                  void* contextInfo) override;
    void endSheet(KTWindow& sheet) override;
    void postToMainQueue(std::function<void()> block) override;
    void postToMainQueueAfter(std::chrono::milliseconds delay, std::function<void()> block) override;
    std::thread startBackgroundOperation(std::function<void()> block) override;
    std::string objectForInfoDictionaryKey(const std::string& key) const override;
    std::string stringForUserDefaultsKey(const std::string& key) const override;
    void setStringForUserDefaultsKey(const std::string& key, const std::string& value) override;
    void noteRecentDocument(const std::string& path) override;
    std::string translated(const char* context, const char* text) const override;

private:
    struct Sheet {
        KTWindow* sheet;
        SheetDidEndCallback didEnd;
        void* contextInfo;
    };

    std::optional<std::string> runPanel(const KTFilePanel& panel, bool save);
    // Asks whether the file at existing, about to be saved over, may be replaced.
    bool mayReplace(const QString& existing);
    int runAlert(QMessageBox::Icon icon, const std::string& title, const std::string& message,
                 const std::string& defaultButton, const std::string& alternateButton,
                 const std::string& otherButton);

    std::map<std::string, std::string> mInfoDictionary;
    QWidget* mMainWindow = nullptr;
    std::optional<Sheet> mSheet;
};
