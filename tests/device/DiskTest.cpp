// Disks through the domain core: the exact bytes of both shapes, round trips
// into a fresh bank store, damaged and foreign files, and the output rule.

#include "device/TLDiskReader.h"
#include "device/TLDiskWriter.h"
#include "device/TLOrvane.h"
#include "device/TLSafeWrite.h"
#include "device/TLTemporaryFileGuard.h"
#include "midi/KTMidiFileWriter.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Kind = TLDiskTrack::Kind;

std::vector<std::int16_t> patternImage()
{
    std::vector<std::int16_t> image(std::size_t(TLOrvane::kBankCount) * TLOrvane::kSamplesPerBank);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::int16_t>(i * 40503u + (i >> 16) * 7);
    return image;
}

// FNV-1a over the file: pins every byte a disk had when its layout was checked
// against midicsv and mido (mido still reads it, in the interop test).
std::uint64_t fingerprint(const Bytes& bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (std::uint8_t byte : bytes)
        hash = (hash ^ byte) * 1099511628211ull;
    return hash;
}

class Disk : public testing::Test {
protected:
    Disk()
    {
        mOrvane.setBankName("Kick <1> 100%", 2);
        mOrvane.setSampleName("snare.wav", 2, 0);
        mOrvane.setSampleName("hat \xff.aif", 6, 0);
        mOrvane.mSamples[6][100] = -32768;
    }

    std::vector<std::int16_t> mImage = patternImage();
    TLOrvane mOrvane{mImage.data()};
    TestFolder mFolder;
};

} // namespace

TEST_F(Disk, BothShapesWriteExactBytesAndReadBackIntoTheirBanks)
{
    const struct {
        TLDiskShape shape;
        int bank;
        std::size_t tracks;
        std::uintmax_t size;
        std::uint64_t fingerprint;
    } cases[] = {
        {TLDiskShape::OneBank, 2, 1, 262285, 18303203476788643666ull},
        {TLDiskShape::AllBanks, 0, 8, 1835675, 4186447341452240508ull},
    };
    for (const auto& c : cases) {
        const std::string path = mFolder.path(c.shape == TLDiskShape::OneBank ? "one.mid" : "all.mid");
        ASSERT_TRUE(TLDiskWriter::save(mOrvane, c.shape, c.bank, path));
        EXPECT_EQ(fs::file_size(path), c.size);
        EXPECT_EQ(fingerprint(TestFolder::read(path)), c.fingerprint);

        std::vector<std::int16_t> otherImage(mImage.size(), 5);
        TLOrvane fresh(otherImage.data());
        const TLDiskContents contents = TLDiskReader::read(path, fresh);
        ASSERT_EQ(contents.status, TLDiskContents::Status::Read);
        EXPECT_EQ(contents.shape(), c.shape);
        ASSERT_EQ(contents.tracks.size(), c.tracks);
        EXPECT_EQ(contents.tracks.front().kind, c.tracks == 1 ? Kind::Bank : Kind::Header);
        for (const TLDiskTrack* track : contents.bankTracks())
            fresh.loadBank(track->events, track->detectedBank);
        const int first = c.shape == TLDiskShape::OneBank ? c.bank : 0;
        const int end = c.shape == TLDiskShape::OneBank ? c.bank + 1 : TLOrvane::kBankCount;
        for (int bank = first; bank < end; ++bank) {
            EXPECT_EQ(fresh.mSamples[bank], mOrvane.mSamples[bank]) << bank;
            EXPECT_EQ(fresh.mBankNames[bank], mOrvane.mBankNames[bank]) << bank;
            // A disk carries the name of a bank's first sample slot only.
            EXPECT_EQ(fresh.mSampleNames[bank][0], mOrvane.mSampleNames[bank][0]) << bank;
        }
    }
}

TEST_F(Disk, WhatIsNoDiskOrHoldsNoBankIsToldApart)
{
    ::mkfifo(mFolder.path("pipe").c_str(), 0600);
    const std::string text = mFolder.write("notes.mid", Bytes{'h', 'e', 'l', 'l', 'o'});
    // A lone track without a dump, a dump for an eighth bank, and an
    // all-banks disk whose third track is foreign.
    auto disk = [this](const std::string& name, const std::vector<KTMidiEventList>& tracks) {
        EXPECT_TRUE(TLDiskWriter::write(mFolder.path(name), tracks));
        return mFolder.path(name);
    };
    KTMidiEventList bank8 = mOrvane.makeSampleDump(1, 0);
    for (KTMidiEvent& event : bank8)
        if (event.size() > 6 && event[3] == 0x66)
            event[2] = static_cast<std::uint8_t>(event[2] + 6);
    const KTMidiEventList names{mOrvane.makeMetaEvent(3, 0)};
    const KTMidiEventList bank1 = mOrvane.makeSampleDump(0, 0);
    KTMidiEventList damaged = mOrvane.makeSampleDump(2, 0);
    damaged[1][500] = 0x90;

    const struct {
        std::string path;
        TLDiskContents::Status status;
        std::vector<Kind> kinds;
    } cases[] = {
        {mFolder.path("missing.mid"), TLDiskContents::Status::NotAFile, {}},
        {mFolder.path(""), TLDiskContents::Status::NotAFile, {}},
        {mFolder.path("pipe"), TLDiskContents::Status::NotAFile, {}},
        {text, TLDiskContents::Status::NotMidiFile, {}},
        {disk("names.mid", {names}), TLDiskContents::Status::Read, {Kind::Foreign}},
        {disk("bank8.mid", {bank8}), TLDiskContents::Status::Read, {Kind::Foreign}},
        {disk("mixed.mid", {names, bank1, bank8, bank1}), TLDiskContents::Status::Read,
         {Kind::Header, Kind::Bank, Kind::Foreign}},
        {disk("damaged.mid", {names, bank1, damaged, bank1}), TLDiskContents::Status::Read,
         {Kind::Header, Kind::Bank, Kind::Damaged}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const TLDiskContents contents = TLDiskReader::read(c.path, mOrvane);
        EXPECT_EQ(contents.status, c.status);
        std::vector<Kind> kinds;
        for (const TLDiskTrack& track : contents.tracks)
            kinds.push_back(track.kind);
        EXPECT_EQ(kinds, c.kinds);
        EXPECT_EQ(contents.hasForeignTrack(), !c.kinds.empty() && c.kinds.back() == Kind::Foreign);
        const bool isDamaged = !c.kinds.empty() && c.kinds.back() == Kind::Damaged;
        ASSERT_EQ(contents.damagedTrack() != nullptr, isDamaged);
        if (isDamaged) {
            EXPECT_EQ(contents.damagedTrack()->detectedBank, 2);
        }
    }
}

// Every write goes through one rule: the old file stays byte for byte on any
// failure, no temporary file is left, and the system's reason comes back.
TEST_F(Disk, TheOutputRuleReplacesOnlyRegularFilesWhole)
{
    const std::string keep = mFolder.write("keep.mid", Bytes{1, 2, 3});
    ::chmod(keep.c_str(), 0640);
    fs::create_symlink("keep.mid", mFolder.path("link.mid"));
    ::mkfifo(mFolder.path("pipe").c_str(), 0600);
    fs::create_directory(mFolder.path("locked"));
    const Bytes big(100000, 7);
    const struct {
        std::string target;
        Bytes bytes;
        std::string failure;
        std::uintmax_t sizeLimit = RLIM_INFINITY;
    } cases[] = {
        {mFolder.path("link.mid"), {4, 5}, ""}, // through the link, keeping the mode
        {mFolder.path("pipe"), {9}, "not a regular file"},
        {mFolder.path("locked"), {9}, "not a regular file"},
        {mFolder.path("no/such/folder.mid"), {9}, "No such file or directory"},
        {keep, big, "File too large", 4096}, // fails part way, as a full disk does
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        rlimit old = {};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit limit = old;
        limit.rlim_cur = c.sizeLimit;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const TLWriteResult result = TLSafeWrite::replace(c.target, c.bytes);
        ::setrlimit(RLIMIT_FSIZE, &old);
        EXPECT_EQ(result.failure, c.failure);
        EXPECT_EQ(TestFolder::read(keep), c.failure.empty() ? c.bytes : Bytes({4, 5}));
    }
    EXPECT_TRUE(fs::is_symlink(mFolder.path("link.mid")));
    EXPECT_TRUE(fs::is_fifo(mFolder.path("pipe")));
    EXPECT_EQ(fs::status(keep).permissions(), fs::perms(0640));
    EXPECT_EQ(std::distance(fs::directory_iterator(mFolder.path("")), fs::directory_iterator()), 4);

    // The same file by another name is one of the command's inputs.
    EXPECT_EQ(TLSafeWrite::refusal(mFolder.path("link.mid"), {keep}), TLSafeWrite::kIsAnInput);
    EXPECT_EQ(TLSafeWrite::refusal(keep, {mFolder.path("pipe"), mFolder.path("link.mid")}), TLSafeWrite::kIsAnInput);
    EXPECT_EQ(TLSafeWrite::refusal(mFolder.path("new.mid"), {keep}), "");
}

// A signal during a write removes the temporary file and ends the program as
// the signal would; a signal the program ignores stays ignored.
TEST_F(Disk, ASignalDuringAWriteLeavesNoTemporaryFile)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, -SIGHUP}) {
        const std::string temporary = mFolder.write(".disk.mid.1.tmp", Bytes{1});
        const pid_t child = ::fork();
        if (child == 0) {
            if (signal < 0)
                std::signal(-signal, SIG_IGN);
            const TLTemporaryFileGuard guard(temporary);
            ::raise(std::abs(signal));
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (signal < 0) {
            EXPECT_TRUE(WIFEXITED(status) && fs::exists(temporary)) << "an ignored " << -signal;
            continue;
        }
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_FALSE(fs::exists(temporary)) << signal;
    }
}
