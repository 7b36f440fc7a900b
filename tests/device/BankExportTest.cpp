// A bank's summary and its export as WAV, read back by sox.

#include "device/TLBankSummary.h"
#include "device/TLOrvane.h"
#include "device/TLWaveExport.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using Samples = std::vector<std::int16_t>;

TEST(BankSummary, LengthToTheLastSoundAndPeak)
{
    const struct {
        Samples samples;
        std::size_t length;
        int peak;
        double dbfs;
    } cases[] = {
        {Samples(10, 0), 0, 0, -INFINITY},
        {Samples{0, 3, 0, -32768, 0, 0}, 4, 32768, 0.0},
        {Samples{16384, 0, 0, 1}, 4, 16384, -6.0206},
        {Samples{0, 0, -1}, 3, 1, -90.309},
    };
    for (const auto& c : cases) {
        const TLBankSummary summary = TLBankSummary::of(c.samples);
        EXPECT_EQ(summary.length, c.length);
        EXPECT_EQ(summary.peak, c.peak);
        if (std::isinf(c.dbfs))
            EXPECT_EQ(summary.peakDbfs(), c.dbfs);
        else
            EXPECT_NEAR(summary.peakDbfs(), c.dbfs, 1e-3);
    }
    EXPECT_DOUBLE_EQ((TLBankSummary{88200, 1}.seconds()), 2.0);
}

TEST(BankExport, SoxReadsTheBankBackSampleForSample)
{
    TestFolder folder;
    Samples bank(TLOrvane::kSamplesPerBank);
    for (std::size_t i = 0; i < bank.size(); ++i)
        bank[i] = static_cast<std::int16_t>(i * 7919);
    const std::string path = folder.path("bank.wav");
    ASSERT_TRUE(TLWaveExport::write(path, bank));
    EXPECT_EQ(TestFolder::read(path).size(), 44 + 2 * bank.size());

    ASSERT_TRUE(folder.sox(path + " -t raw -e signed -b 16 -L " + folder.path("bank.raw")));
    const Bytes raw = TestFolder::read(folder.path("bank.raw"));
    ASSERT_EQ(raw.size(), 2 * bank.size());
    for (std::size_t i = 0; i < bank.size(); ++i)
        ASSERT_EQ(static_cast<std::int16_t>(raw[2 * i] | raw[2 * i + 1] << 8), bank[i]) << i;

    EXPECT_FALSE(TLWaveExport::write(folder.path("no/such.wav"), bank));
}
