#pragma once

#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTWindow.h"

#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

// Records what the controller showed and answers panels and alerts from a
// script. Blocks posted to the main queue wait until the test runs them.
class ApplicationPlatformDouble final : public KTApplicationPlatform {
public:
    enum class AlertStyle { Critical, Informational };
    struct Alert {
        AlertStyle style;
        std::string title, message, defaultButton, alternateButton, otherButton;
        bool operator==(const Alert&) const = default;
        friend void PrintTo(const Alert& a, std::ostream* out)
        {
            *out << (a.style == AlertStyle::Critical ? "critical" : "informational") << " \"" << a.title << "\" \""
                 << a.message << "\" [" << a.defaultButton << "|" << a.alternateButton << "|" << a.otherButton << "]";
        }
    };
    struct Panel : KTFilePanel {
        bool save;
    };
    struct Sheet {
        KTWindow *sheet, *window;
        SheetDidEndCallback didEnd;
        void* contextInfo;
    };

    using Text = const std::string&;
    std::optional<std::string> runOpenPanel(const KTFilePanel& panel) override { return answer({panel, false}); }
    std::optional<std::string> runSavePanel(const KTFilePanel& panel) override { return answer({panel, true}); }
    int runCriticalAlertPanel(Text title, Text message, Text button1, Text button2, Text button3) override
    {
        return showAlert({AlertStyle::Critical, title, message, button1, button2, button3});
    }
    int runInformationalAlertPanel(Text title, Text message, Text button1, Text button2, Text button3) override
    {
        return showAlert({AlertStyle::Informational, title, message, button1, button2, button3});
    }
    void beep() override { ++mBeeps; }
    std::optional<double> runValuePanel(Text title, Text, double, double, double) override
    {
        mValuePanels.push_back(title);
        return nextAnswer<std::optional<double>>(mValueAnswers, std::nullopt);
    }
    std::optional<TLImportOptions> runImportRegionPanel(Text, std::function<double(const TLImportOptions&)> play,
                                                        std::function<void()>) override
    {
        if (mImportRegionAnswer)
            mImportRegionHeardSeconds = play(*mImportRegionAnswer);
        return mImportRegionAnswer;
    }
    void setClipboardSound(const std::vector<std::uint8_t>& wave) override { mClipboard = wave; }
    std::optional<std::vector<std::uint8_t>> clipboardSound() const override { return mClipboard; }
    void beginSheetModalForWindow(KTWindow& sheet, KTWindow& window, SheetDidEndCallback didEnd,
                                  void* contextInfo) override
    {
        mSheet = Sheet{&sheet, &window, std::move(didEnd), contextInfo};
        sheet.makeKeyAndOrderFront(nullptr);
    }
    void endSheet(KTWindow& sheet) override
    {
        if (!mSheet || mSheet->sheet != &sheet)
            return;
        Sheet ended = std::move(*mSheet);
        mSheet.reset();
        ++mSheetsEnded;
        ended.didEnd(ended.sheet, 0, ended.contextInfo);
    }
    void postToMainQueue(std::function<void()> block) override
    {
        std::lock_guard lock(mQueueMutex);
        mMainQueue.push_back(std::move(block));
    }
    // The delay passes when the test runs the main queue.
    void postToMainQueueAfter(std::chrono::milliseconds delay, std::function<void()> block) override
    {
        mDelays.push_back(delay);
        postToMainQueue(std::move(block));
    }
    // Calls the hooks around the block (see below).
    std::thread startBackgroundOperation(std::function<void()> block) override
    {
        if (mBeforeBackgroundOperation)
            mBeforeBackgroundOperation();
        return std::thread([block = std::move(block), after = mAfterBackgroundOperation] {
            block();
            if (after)
                after();
        });
    }
    std::string objectForInfoDictionaryKey(Text key) const override { return valueOf(mInfoDictionary, key); }
    std::string stringForUserDefaultsKey(Text key) const override { return valueOf(mUserDefaults, key); }
    void setStringForUserDefaultsKey(Text key, Text value) override { mUserDefaults[key] = value; }
    void noteRecentDocument(const std::string& path) override { mRecentDocuments.push_back(path); }
    // The window's texts as written: the tests read the English ones.
    std::string translated(const char*, const char* text) const override { return text; }

    // Runs the blocks posted so far, and those they post, in order; returns how
    // many ran.
    int runMainQueue()
    {
        for (int ran = 0;; ++ran) {
            std::unique_lock lock(mQueueMutex);
            if (mMainQueue.empty())
                return ran;
            const std::function<void()> block = std::move(mMainQueue.front());
            mMainQueue.pop_front();
            lock.unlock();
            block();
        }
    }
    std::size_t pendingMainQueueBlocks() const
    {
        std::lock_guard lock(mQueueMutex);
        return mMainQueue.size();
    }

    // Script: answers for the next panels (nothing = cancelled) and alerts.
    // Without a scripted answer a panel is cancelled and an alert answers 1.
    std::deque<std::optional<std::string>> mPanelAnswers;
    std::deque<int> mAlertAnswers;
    std::deque<std::optional<double>> mValueAnswers;
    std::optional<TLImportOptions> mImportRegionAnswer;
    double mImportRegionHeardSeconds = 0.0;
    std::optional<std::vector<std::uint8_t>> mClipboard;
    std::vector<std::string> mValuePanels;
    std::map<std::string, std::string> mInfoDictionary;
    std::map<std::string, std::string> mUserDefaults;
    std::vector<std::string> mRecentDocuments;

    std::vector<Panel> mPanels;
    std::vector<std::chrono::milliseconds> mDelays;
    std::vector<Alert> mAlerts;
    int mBeeps = 0;
    std::optional<Sheet> mSheet;
    int mSheetsEnded = 0;

    // Called while an alert is shown (before it answers), e.g. to look at the
    // state the controller holds while waiting for the user.
    std::function<void(const Alert&)> mOnAlert;

    // Called around every background operation: before its thread starts (on
    // the starting thread) and after its block has returned (on its own
    // thread), e.g. to count the thread in virtual time.
    std::function<void()> mBeforeBackgroundOperation;
    std::function<void()> mAfterBackgroundOperation;

private:
    // The first scripted answer, or the fallback when none is left.
    template <class T> static T nextAnswer(std::deque<T>& answers, T fallback)
    {
        if (answers.empty())
            return fallback;
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> answer(Panel panel)
    {
        mPanels.push_back(std::move(panel));
        return nextAnswer<std::optional<std::string>>(mPanelAnswers, std::nullopt);
    }
    int showAlert(Alert alert)
    {
        mAlerts.push_back(alert);
        if (mOnAlert)
            mOnAlert(alert);
        return nextAnswer(mAlertAnswers, 1);
    }
    static std::string valueOf(const std::map<std::string, std::string>& map, Text key)
    {
        const auto found = map.find(key);
        return found == map.end() ? std::string() : found->second;
    }

    mutable std::mutex mQueueMutex;
    std::deque<std::function<void()>> mMainQueue;
};
