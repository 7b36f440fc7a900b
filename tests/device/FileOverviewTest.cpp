// The overview of a whole file against the samples sox was given, a cancel
// part way, and the files the importer would refuse.

#include "tests/support/TestFolder.h"

#include "device/TLFileOverview.h"

#include <algorithm>

namespace {

TEST(FileOverview, ColumnsHoldTheMixedSamplesExtremes)
{
    TestFolder folder;
    const struct {
        int bits, channels;
        const char* type;
    } cases[] = {{16, 2, "-t wav"}, {24, 2, "-t aiff"}, {16, 1, "-t wav"}, {8, 3, "-t wav"}};
    for (const auto& c : cases) {
        // Ramps from full scale down to full scale up, a steeper one in each channel, with low bits at 24:
        // each column's extremes are its first and last frame.
        std::vector<std::int64_t> samples(std::size_t(50021) * c.channels);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const std::size_t frame = i / c.channels, channel = i % c.channels;
            const std::int64_t wide = (std::int64_t(frame * 65535 / 50020) - 32768) * std::int64_t(channel + 1) / c.channels;
            samples[i] = c.bits == 8 ? wide >> 8 : c.bits == 24 ? wide * 256 + std::int64_t(i * 7 % 256) : wide;
        }
        const std::string path = folder.soxFromSamples("in", samples, c.bits, c.channels, 44100, c.type);
        const TLFileOverview overview = TLFileOverview::read(path, 7, std::atomic<bool>(false));
        ASSERT_EQ(overview.columns.size(), 7u) << c.bits;
        for (std::size_t column = 0; column < 7; ++column) {
            TLFileOverview::Column expected{32767, -32768};
            for (std::size_t f = column * 50021 / 7; f < (column + 1) * 50021 / 7; ++f) {
                std::int64_t sum = 0;
                for (int k = 0; k < c.channels; ++k)
                    sum += samples[f * c.channels + k];
                const std::int64_t mixed = sum / c.channels;
                const auto value = static_cast<std::int16_t>(c.bits == 8 ? mixed * 256 : c.bits == 24 ? mixed / 256 : mixed);
                expected = {std::min(expected.min, value), std::max(expected.max, value)};
            }
            EXPECT_EQ(overview.columns[column], expected) << c.bits << " bits, column " << column;
        }
        EXPECT_TRUE(overview.complete());
        EXPECT_EQ(overview.reason, "") << "read to its end";
        EXPECT_EQ(overview.frames, 50021u);
    }
}

TEST(FileOverview, ACancelStopsItAndRefusedFilesSayWhy)
{
    TestFolder folder;
    const std::string path = folder.soxFromSamples("long.wav", std::vector<std::int64_t>(200000, 7), 16, 1, 44100);
    std::atomic<bool> cancel = false;
    int reports = 0;
    const TLFileOverview stopped = TLFileOverview::read(path, 100, cancel, [&](const TLFileOverview&, double fraction) {
        ++reports;
        cancel = fraction > 0.0;
    });
    EXPECT_EQ(reports, 2) << "the format, then one block";
    EXPECT_FALSE(stopped.complete());
    EXPECT_GT(stopped.columnsDone, 0u);

    const TLFileOverview mp3 = TLFileOverview::read(folder.write("a.mp3", {'I', 'D', '3', 4, 0}), 10, cancel);
    EXPECT_EQ(mp3.status, TLFileOverview::Status::Unsupported);
    EXPECT_NE(mp3.reason.find("MP3"), std::string::npos) << mp3.reason;
    const TLFileOverview raw = TLFileOverview::read(folder.write("a.bin", {1, 0, 0xFF, 0xFF, 5}), 10, cancel = false);
    EXPECT_TRUE(raw.raw);
    EXPECT_EQ(raw.columns, (std::vector<TLFileOverview::Column>{{1, 1}, {-1, -1}}));
}

} // namespace
