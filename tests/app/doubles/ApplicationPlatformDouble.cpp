#include "ApplicationPlatformDouble.h"

#include "app/platform/KTWindow.h"

namespace {

// The first scripted answer, or the fallback when none is left.
template <class T> T nextAnswer(std::deque<T>& answers, T fallback)
{
    if (answers.empty())
        return fallback;
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

} // namespace

std::optional<std::string> ApplicationPlatformDouble::answer(Panel panel)
{
    mPanels.push_back(std::move(panel));
    return nextAnswer<std::optional<std::string>>(mPanelAnswers, std::nullopt);
}

int ApplicationPlatformDouble::showAlert(Alert alert)
{
    mAlerts.push_back(alert);
    if (mOnAlert)
        mOnAlert(alert);
    return nextAnswer(mAlertAnswers, 1);
}

void ApplicationPlatformDouble::beginSheetModalForWindow(KTWindow& sheet, KTWindow& window,
                                                         SheetDidEndCallback didEnd, void* contextInfo)
{
    mSheet = Sheet{&sheet, &window, std::move(didEnd), contextInfo};
    sheet.makeKeyAndOrderFront(nullptr);
}

void ApplicationPlatformDouble::endSheet(KTWindow& sheet)
{
    if (!mSheet || mSheet->sheet != &sheet)
        return;
    Sheet ended = std::move(*mSheet);
    mSheet.reset();
    ++mSheetsEnded;
    ended.didEnd(ended.sheet, 0, ended.contextInfo);
}

void ApplicationPlatformDouble::postToMainQueue(std::function<void()> block)
{
    std::lock_guard lock(mQueueMutex);
    mMainQueue.push_back(std::move(block));
}

std::size_t ApplicationPlatformDouble::pendingMainQueueBlocks() const
{
    std::lock_guard lock(mQueueMutex);
    return mMainQueue.size();
}

int ApplicationPlatformDouble::runMainQueue()
{
    for (int ran = 0;; ++ran) {
        std::function<void()> block;
        {
            std::lock_guard lock(mQueueMutex);
            if (mMainQueue.empty())
                return ran;
            block = std::move(mMainQueue.front());
            mMainQueue.pop_front();
        }
        block();
    }
}

std::thread ApplicationPlatformDouble::startBackgroundOperation(std::function<void()> block)
{
    if (mBeforeBackgroundOperation)
        mBeforeBackgroundOperation();
    return std::thread([block = std::move(block), after = mAfterBackgroundOperation] {
        block();
        if (after)
            after();
    });
}

std::string ApplicationPlatformDouble::valueOf(const std::map<std::string, std::string>& map, Text key)
{
    const auto found = map.find(key);
    return found == map.end() ? std::string() : found->second;
}
