// Saving disks through the controller: the panel, the exact track and event
// order read back from the file, channel 0 whatever the pop-up shows, and the
// old disk surviving every kind of failed save.

#include "ControllerFixture.h"
#include "midi/KTMidiFileReader.h"
#include "tests/audio/AudioTestFolder.h"

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Alert = ApplicationPlatformDouble::Alert;
using AlertStyle = ApplicationPlatformDouble::AlertStyle;

constexpr int kOneBank = 0;
constexpr int kAllBanks = 1;

KTMidiEvent bytes(std::initializer_list<std::uint8_t> list)
{
    return KTMidiEvent(list);
}

KTMidiEvent copyrightNotice()
{
    KTMidiEvent event = bytes({0xFF, 0x02});
    const std::string text = "Copyright (c) OrvaneEditor";
    event.insert(event.end(), text.begin(), text.end());
    return event;
}

std::vector<KTMidiEvent> headerEvents()
{
    return {bytes({0xFF, 0x51, 0x07, 0xA1, 0x20}), bytes({0xFF, 0x58, 0x04, 0x02, 0x18, 0x08}), copyrightNotice()};
}

std::vector<KTMidiEventList> readTracks(const std::string& path, std::uint16_t* trackCount = nullptr)
{
    KTMidiFileReader reader(path.c_str());
    EXPECT_TRUE(reader.isMidiFile());
    if (trackCount)
        *trackCount = reader.mTrackCount;
    std::vector<KTMidiEventList> tracks;
    KTMidiEventList events;
    while (!reader.readTrack(events).empty())
        tracks.push_back(events);
    return tracks;
}

// Only the bytes: delays are checked where they matter.
void expectSameBytes(const KTMidiEventList& actual, const std::vector<KTMidiEvent>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(static_cast<const KTBuffer&>(actual[i]) == static_cast<const KTBuffer&>(expected[i]))
            << "event " << i;
}

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

class SavingWorkflow : public ControllerFixture {
protected:
    void SetUp() override
    {
        start();
        for (int bank = 0; bank < TLOrvane::kBankCount; ++bank) {
            orvane().setBankName(("Disk bank " + std::to_string(bank)).c_str(), bank);
            orvane().setSampleName(("wave " + std::to_string(bank) + ".wav").c_str(), bank, 0);
            orvane().mSamples[static_cast<std::size_t>(bank)][100] = static_cast<std::int16_t>(-1000 * bank - 1);
        }
        // A transmission channel other than 1 must not reach the disk.
        mWindow.mPopUp_MidiChannel.selectItemAtIndex(9);
    }

    std::string saveTo(const std::string& name, int scope, int selectedBank)
    {
        const std::string path = mFolder.path(name);
        mWindow.mMatrix_SaveSendOption.mSelectedRow = scope;
        mWindow.mTableView.userSelectsRow(selectedBank);
        mApp.mPanelAnswers.push_back(path);
        mController->save(nullptr);
        return path;
    }

    std::vector<KTMidiEvent> bankEvents(int bank)
    {
        std::vector<KTMidiEvent> events{orvane().makeMetaEvent(3, bank), orvane().makeMetaEvent(4, bank),
                                        orvane().makeMetaEvent(127, bank)};
        for (const KTMidiEvent& event : orvane().makeSampleDump(bank, 0))
            events.push_back(event);
        return events;
    }

    void expectSaveFailedAlert()
    {
        ASSERT_EQ(mApp.mAlerts.size(), 1u);
        const Alert& alert = mApp.mAlerts[0];
        EXPECT_EQ(alert.style, AlertStyle::Critical);
        EXPECT_EQ(alert.title, "Save Failed");
        EXPECT_EQ(alert.message, "The disk could not be saved.");
        EXPECT_EQ(alert.defaultButton, "OK");
        EXPECT_EQ(alert.alternateButton, "");
        EXPECT_EQ(mController->mMidiFileWriter, nullptr);
    }

    AudioTestFolder mFolder;
};

TEST_F(SavingWorkflow, OneBankIsOneTrackOfHeaderNameAndDumpEventsForChannelZero)
{
    const std::string path = saveTo("one.mid", kOneBank, 3);

    ASSERT_EQ(mApp.mPanels.size(), 1u);
    EXPECT_TRUE(mApp.mPanels[0].save);
    EXPECT_EQ(mApp.mPanels[0].allowedFileTypes, std::vector<std::string>{"mid"});
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(mController->mMidiFileWriter, nullptr);
    EXPECT_EQ(filesIn(mFolder.path("")), std::vector<std::string>{"one.mid"});

    std::uint16_t trackCount = 0;
    const std::vector<KTMidiEventList> tracks = readTracks(path, &trackCount);
    EXPECT_EQ(trackCount, 1);
    ASSERT_EQ(tracks.size(), 1u);
    std::vector<KTMidiEvent> expected = headerEvents();
    for (const KTMidiEvent& event : bankEvents(3))
        expected.push_back(event);
    expectSameBytes(tracks[0], expected);
    ASSERT_EQ(tracks[0].size(), 8u);
    EXPECT_EQ(tracks[0][7][4], 0x20) << "channel 0 although channel 10 is chosen for sending";
    EXPECT_EQ(tracks[0][7].mDelay, 6000u);
}

TEST_F(SavingWorkflow, AllBanksAreAHeaderTrackAndOneTrackPerBankInOrder)
{
    const std::string path = saveTo("all.mid", kAllBanks, 5);

    EXPECT_TRUE(mApp.mAlerts.empty());
    std::uint16_t trackCount = 0;
    const std::vector<KTMidiEventList> tracks = readTracks(path, &trackCount);
    EXPECT_EQ(trackCount, 8);
    ASSERT_EQ(tracks.size(), 8u);
    expectSameBytes(tracks[0], headerEvents());
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank) {
        SCOPED_TRACE("bank " + std::to_string(bank));
        const KTMidiEventList& track = tracks[static_cast<std::size_t>(bank) + 1];
        expectSameBytes(track, bankEvents(bank));
        ASSERT_EQ(track.size(), 5u);
        EXPECT_EQ(track[4][2], 0x40 | bank);
        EXPECT_EQ(track[4][4], 0x20);
    }
}

TEST_F(SavingWorkflow, ACancelledPanelWritesNothing)
{
    mApp.mPanelAnswers.push_back(std::nullopt);
    mController->save(nullptr);
    EXPECT_EQ(mApp.mPanels.size(), 1u);
    EXPECT_TRUE(filesIn(mFolder.path("")).empty());
    EXPECT_EQ(mController->mMidiFileWriter, nullptr);
    EXPECT_TRUE(mApp.mAlerts.empty());
}

TEST_F(SavingWorkflow, NothingIsAskedWhileTransmitting)
{
    mController->mIdleState = false;
    mApp.mPanelAnswers.push_back(mFolder.path("x.mid"));
    mController->save(nullptr);
    EXPECT_TRUE(mApp.mPanels.empty());
    EXPECT_TRUE(filesIn(mFolder.path("")).empty());
}

TEST_F(SavingWorkflow, SavingOverAnOldDiskReplacesItAndKeepsItsPermissions)
{
    const std::string path = mFolder.write("disk.mid", Bytes(10, 0x55));
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    saveTo("disk.mid", kOneBank, 1);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(readTracks(path).size(), 1u);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(filesIn(mFolder.path("")), std::vector<std::string>{"disk.mid"});
}

TEST_F(SavingWorkflow, SavingThroughALinkWritesTheLinkedFile)
{
    const std::string linked = mFolder.write("real.mid", Bytes(4, 1));
    fs::create_symlink(linked, mFolder.path("link.mid"));
    saveTo("link.mid", kOneBank, 0);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_TRUE(fs::is_symlink(mFolder.path("link.mid")));
    EXPECT_EQ(readTracks(linked).size(), 1u);
}

// Failures that happen even for root: a missing folder, a name the file
// system cannot take a temporary name beside, a directory in the way, and a
// disk that fills up in the middle of the dump.
TEST_F(SavingWorkflow, AFolderThatDoesNotExistGivesTheAlertAndNoFile)
{
    saveTo("missing/disk.mid", kAllBanks, 0);
    expectSaveFailedAlert();
    EXPECT_TRUE(filesIn(mFolder.path("")).empty());
}

TEST_F(SavingWorkflow, AnOldDiskWithANameTooLongForATemporaryNameStaysUntouched)
{
    const std::string name = std::string(240, 'd') + ".mid";
    const Bytes old(1000, 0x42);
    const std::string path = mFolder.write(name, old);
    saveTo(name, kOneBank, 2);
    expectSaveFailedAlert();
    EXPECT_EQ(AudioTestFolder::read(path), old);
    EXPECT_EQ(filesIn(mFolder.path("")), std::vector<std::string>{name});
}

TEST_F(SavingWorkflow, ADirectoryInTheWayStaysAndNoTemporaryFileIsLeft)
{
    fs::create_directory(mFolder.path("taken.mid"));
    const std::string inside = mFolder.write("taken.mid/keep", Bytes(3, 7));
    saveTo("taken.mid", kOneBank, 2);
    expectSaveFailedAlert();
    EXPECT_TRUE(fs::is_directory(mFolder.path("taken.mid")));
    EXPECT_EQ(AudioTestFolder::read(inside), Bytes(3, 7));
    EXPECT_EQ(filesIn(mFolder.path("")), std::vector<std::string>{"taken.mid"});
}

// Limits the size of files this process may write, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &mOld);
        mOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = mOld;
        limited.rlim_cur = bytes;
        mActive = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &mOld);
        std::signal(SIGXFSZ, mOldHandler);
    }
    bool mActive = false;

private:
    rlimit mOld{};
    void (*mOldHandler)(int) = nullptr;
};

TEST_F(SavingWorkflow, ADiskThatFillsUpLeavesTheOldDiskAndNoTemporaryFile)
{
    const Bytes old(5000, 0x24);
    const std::string path = mFolder.write("full.mid", old);
    {
        FileSizeLimit limit(300000);
        ASSERT_TRUE(limit.mActive);
        saveTo("full.mid", kAllBanks, 0);
    }
    expectSaveFailedAlert();
    EXPECT_EQ(AudioTestFolder::read(path), old);
    EXPECT_EQ(filesIn(mFolder.path("")), std::vector<std::string>{"full.mid"});

    // The same save succeeds once there is room again.
    mApp.mAlerts.clear();
    saveTo("full.mid", kAllBanks, 0);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(readTracks(path).size(), 8u);
}

} // namespace
