// Saved state as a rule, over seeded random sequences of what a user does:
// imports, renames, resets, undo and redo, one-bank and all-banks saves, Save,
// loads and quits. After every step a bank shows no unsaved mark only while
// what it holds is in a disk on the test folder (or is the factory's sound),
// and exactly so for the banks whose disk the model knows; a quit that asks
// nothing leaves every bank in a disk.

#include "ControllerFixture.h"
#include "device/TLDefaultNames.h"
#include "device/TLDiskLoader.h"
#include "device/TLWaveExport.h"
#include "tests/support/TestFolder.h"

#include <map>
#include <random>

namespace {

constexpr int kSequences = 200;
constexpr int kSteps = 12;
const char* const kDisks[] = {"a.mid", "b.mid", "c.mid"};

class SavedStateModel : public ControllerFixture {
protected:
    struct Content {
        std::vector<std::int16_t> samples;
        std::string bankName, sampleName;
        bool operator==(const Content&) const = default;
    };
    // A disk and the bank of it that a bank of the editor holds; none when not known.
    struct Home {
        std::string disk;
        int bank = -1;
    };

    void SetUp() override
    {
        for (int i = 0; i < 3; ++i)
            mSounds.push_back(mFolder.write("s" + std::to_string(i) + ".wav",
                                            TLWaveExport::bytes(std::vector<std::int16_t>(2000 + 999 * i, 300 + i))));
        restart();
    }

    void restart()
    {
        start();
        for (int bank = 0; bank < TLOrvane::kBankCount; ++bank)
            mHome[bank] = {"", bank};
    }

    Content contentOf(int bank)
    {
        return {orvane().mSamples[bank], orvane().mBankNames[bank], orvane().mSampleNames[bank][0]};
    }
    Content factoryContent(int bank) const
    {
        const auto begin = mFactory.begin() + bank * TLOrvane::kSamplesPerBank;
        std::vector<std::int16_t> samples(begin, begin + TLOrvane::kSamplesPerBank);
        samples.back() = 0;
        return {samples, TLDefaultNames::bankName(bank), TLDefaultNames::sampleName(bank, 0)};
    }
    // What a disk on the folder holds, read from the file itself.
    void readDisk(const std::string& name)
    {
        const TLDiskReport report = TLDiskLoader::examine(mFolder.path(name), mStore);
        TLDiskLoader::load(report, mStore);
        mDisks[name].clear();
        for (const int bank : report.banks)
            mDisks[name][bank] = {mStore.mSamples[bank], mStore.mBankNames[bank], mStore.mSampleNames[bank][0]};
    }
    bool inSomeDisk(int bank, const Content& now)
    {
        bool found = now == factoryContent(bank);
        for (const auto& [name, banks] : mDisks)
            for (const auto& [each, content] : banks)
                found = found || content == now;
        return found;
    }
    void check(const std::string& step)
    {
        SCOPED_TRACE(step);
        for (int bank = 0; bank < TLOrvane::kBankCount; ++bank) {
            SCOPED_TRACE("bank " + std::to_string(bank + 1));
            const bool unsaved = mWindow.mBankOverview.mUnsaved[bank];
            const Content now = contentOf(bank);
            EXPECT_TRUE(unsaved || inSomeDisk(bank, now)) << "marked saved but in no disk";
            const Home& home = mHome[bank];
            if (home.bank >= 0) {
                EXPECT_EQ(unsaved, now != (home.disk.empty() ? factoryContent(bank) : mDisks[home.disk][home.bank]));
            }
        }
        EXPECT_EQ(mWindow.mWindow_Main.mEdited, (mWindow.mBankOverview.mUnsaved != std::array<bool, 7>{}));
    }

    // One step; its name for the trace.
    std::string step(std::mt19937& random)
    {
        const int bank = static_cast<int>(random() % TLOrvane::kBankCount);
        const std::string disk = kDisks[random() % 3];
        const int question = random() % 2 ? -1 : 0; // Discard or Cancel
        mApp.mAlerts.clear();
        mApp.mAlertAnswers.clear();
        mApp.mPanelAnswers.clear();
        mWindow.mLabel_Status.mText.clear();
        switch (random() % 9) {
        case 0:
            act(&OrvaneEditorController::openSample, bank, mSounds[random() % 3]);
            return "import";
        case 1:
            mWindow.mTableView.userSelectsRow(bank);
            (random() % 2 ? mWindow.mTextField_Bankname : mWindow.mTextField_Sample).userCommits("n" + disk);
            return "rename";
        case 2:
            act(&OrvaneEditorController::reset, bank);
            return "reset";
        case 3:
            if (mWindow.mUndoManager.mDone > 0)
                mWindow.mUndoManager.undo();
            else if (mWindow.mUndoManager.mDone < mWindow.mUndoManager.mSteps.size())
                mWindow.mUndoManager.redo();
            return "undo or redo";
        case 4:
        case 5: {
            const bool all = random() % 2;
            mWindow.mMatrix_SaveSendOption.mSelectedRow = all;
            act(&OrvaneEditorController::save, bank, mFolder.path(disk));
            for (Home& home : mHome)
                home = home.disk == disk ? Home{} : home;
            for (int each = 0; each < TLOrvane::kBankCount; ++each)
                if (all || each == bank)
                    mHome[each] = {disk, each};
            readDisk(disk);
            return (all ? "all-banks save" : "one-bank save") + std::string(" [") + mWindow.mLabel_Status.mText + "]";
        }
        case 6: {
            const std::map<std::string, std::map<int, Content>> before = mDisks;
            mController->saveDocument(nullptr);
            for (const char* name : kDisks)
                readDisk(name);
            // Which banks went where the model sees from the disk that changed.
            for (const auto& [name, banks] : mDisks)
                if (before.count(name) == 0 || before.at(name) != banks) {
                    for (Home& home : mHome)
                        home = home.disk == name ? Home{} : home;
                    for (const auto& [each, content] : banks)
                        mHome[each] = content == contentOf(each) ? Home{name, each} : Home{};
                }
            return "save";
        }
        case 7: {
            mApp.mAlertAnswers = {question, 1};
            act(&OrvaneEditorController::openDisk, bank, mFolder.path(disk));
            const std::map<int, Content>& held = mDisks[disk];
            // A disk of one other bank goes into the selected bank (the answer was YES).
            const bool oneOther = held.size() == 1 && held.begin()->first != bank;
            if (mWindow.mLabel_Status.mText.starts_with("Loaded"))
                for (const auto& [inDisk, content] : held)
                    mHome[oneOther ? bank : inDisk] = {disk, inDisk};
            return "load";
        }
        default: {
            // Save, Cancel or Discard; Save may need a name for all banks.
            const int answer = static_cast<int>(random() % 3) - 1;
            mApp.mAlertAnswers = {answer};
            mApp.mPanelAnswers = {mFolder.path(disk)};
            std::vector<Content> banks;
            for (int each = 0; each < TLOrvane::kBankCount; ++each)
                banks.push_back(contentOf(each));
            if (mController->applicationShouldTerminate(nullptr) != 1)
                return "quit cancelled";
            const bool discarded = !mApp.mAlerts.empty() && answer == -1;
            for (const char* name : kDisks)
                readDisk(name);
            for (int each = 0; each < TLOrvane::kBankCount && !discarded; ++each)
                EXPECT_TRUE(inSomeDisk(each, banks[each])) << "quit left bank " << each + 1 << " in no disk";
            restart();
            for (Home& home : mHome)
                home = Home{};
            return "quit";
        }
        }
    }

    // Saves are many: in memory when the machine has a memory file system.
    TestFolder mFolder{std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path()};
    std::vector<std::string> mSounds;
    std::array<Home, TLOrvane::kBankCount> mHome;
    std::map<std::string, std::map<int, Content>> mDisks;
    TLOrvane mStore{mFactory.data()};
};

} // namespace

TEST_F(SavedStateModel, NoBankIsMarkedSavedUnlessADiskHoldsIt)
{
    for (int sequence = 0; sequence < kSequences && !HasFailure(); ++sequence) {
        std::mt19937 random(static_cast<std::mt19937::result_type>(sequence));
        mDisks.clear();
        for (const char* name : kDisks)
            std::filesystem::remove(mFolder.path(name));
        restart();
        std::string trace = "sequence " + std::to_string(sequence) + ":";
        for (int n = 0; n < kSteps && !HasFailure(); ++n) {
            trace += " " + step(random);
            check(trace);
        }
    }
}
