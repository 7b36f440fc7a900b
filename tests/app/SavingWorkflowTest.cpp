// Saving disks through the controller: the panel, the exact track and event
// order read back from the file, channel 0 whatever the pop-up shows, and the
// old disk surviving every kind of failed save.

#include "ControllerFixture.h"
#include "midi/KTMidiFileReader.h"
#include "tests/audio/AudioTestFolder.h"

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Alert = ApplicationPlatformDouble::Alert;
using Names = std::vector<std::string>;

constexpr int kOneBank = 0;
constexpr int kAllBanks = 1;

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

Names filesIn(const std::string& folder)
{
    Names names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
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

    static std::vector<KTMidiEvent> headerEvents()
    {
        KTMidiEvent copyright{0xFF, 0x02};
        const std::string text = "Copyright (c) OrvaneEditor";
        copyright.insert(copyright.end(), text.begin(), text.end());
        return {KTMidiEvent{0xFF, 0x51, 0x07, 0xA1, 0x20}, KTMidiEvent{0xFF, 0x58, 0x04, 0x02, 0x18, 0x08}, copyright};
    }

    AudioTestFolder mFolder;
};

TEST_F(SavingWorkflow, OneBankIsOneTrackOfHeaderNameAndDumpEventsForChannelZero)
{
    const std::string path = saveTo("one.mid", kOneBank, 3);

    ASSERT_EQ(mApp.mPanels.size(), 1u);
    EXPECT_TRUE(mApp.mPanels[0].save);
    EXPECT_EQ(mApp.mPanels[0].allowedFileTypes, Names{"mid"});
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(filesIn(mFolder.path("")), Names{"one.mid"});

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

TEST_F(SavingWorkflow, ACancelledPanelOrATransmissionWritesNothing)
{
    mApp.mPanelAnswers.push_back(std::nullopt);
    mController->save(nullptr);
    EXPECT_EQ(mApp.mPanels.size(), 1u);

    mController->mIdleState = false;
    mApp.mPanelAnswers.push_back(mFolder.path("x.mid"));
    mController->save(nullptr);
    EXPECT_EQ(mApp.mPanels.size(), 1u) << "nothing is asked while transmitting";
    EXPECT_TRUE(filesIn(mFolder.path("")).empty());
    EXPECT_TRUE(mApp.mAlerts.empty());
}

TEST_F(SavingWorkflow, SavingOverAnOldDiskOrALinkKeepsPermissionsAndTheLink)
{
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    const std::string path = mFolder.write("disk.mid", Bytes(10, 0x55));
    fs::permissions(path, perms);
    const std::string linked = mFolder.write("real.mid", Bytes(4, 1));
    fs::create_symlink(linked, mFolder.path("link.mid"));

    saveTo("disk.mid", kOneBank, 1);
    saveTo("link.mid", kOneBank, 0);

    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(readTracks(path).size(), 1u);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, perms);
    EXPECT_TRUE(fs::is_symlink(mFolder.path("link.mid")));
    EXPECT_EQ(readTracks(linked).size(), 1u);
    EXPECT_EQ(filesIn(mFolder.path("")), (Names{"disk.mid", "link.mid", "real.mid"}));
}

// Failures that happen even for root: a missing folder, a name the file
// system cannot take a temporary name beside, a directory in the way, and a
// disk that fills up in the middle of the dump.
TEST_F(SavingWorkflow, FailedSavesGiveTheAlertAndKeepTheOldDisk)
{
    const Bytes old(5000, 0x24);
    const std::string longName = std::string(240, 'd') + ".mid";
    fs::create_directory(mFolder.path("taken.mid"));
    for (const std::string& name : {longName, std::string("taken.mid/keep"), std::string("full.mid")})
        mFolder.write(name, old);
    const Names before = filesIn(mFolder.path(""));

    for (const auto& [name, scope] : std::vector<std::pair<std::string, int>>{
             {"missing/disk.mid", kAllBanks}, {longName, kOneBank}, {"taken.mid", kOneBank}, {"full.mid", kAllBanks}}) {
        SCOPED_TRACE(name);
        mApp.mAlerts.clear();
        {
            std::optional<FileSizeLimit> limit;
            if (name == "full.mid") {
                ASSERT_TRUE(limit.emplace(300000).mActive);
            }
            saveTo(name, scope, 2);
        }
        EXPECT_EQ(mApp.mAlerts, (std::vector<Alert>{{ApplicationPlatformDouble::AlertStyle::Critical, "Save Failed",
                                                    "The disk could not be saved.", "OK", "", ""}}));
    }
    EXPECT_EQ(filesIn(mFolder.path("")), before) << "no temporary file is left";
    for (const std::string& name : {longName, std::string("taken.mid/keep"), std::string("full.mid")})
        EXPECT_EQ(AudioTestFolder::read(mFolder.path(name)), old) << name;

    // The same save succeeds once there is room again.
    mApp.mAlerts.clear();
    saveTo("full.mid", kAllBanks, 0);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(readTracks(mFolder.path("full.mid")).size(), 8u);
}

} // namespace
