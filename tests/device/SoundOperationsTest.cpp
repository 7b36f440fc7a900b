// Sound operations on small banks (a few samples, silence after them) worked out by hand, and sox as the
// witness on a plucked string.

#include "device/TLBankPlacement.h"
#include "device/TLSoundOperations.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>

namespace {

using Bank = TLSoundOperations::Bank;
using Ops = TLSoundOperations;
using R = TLSampleRange;
using Op = std::function<std::size_t(Bank&, R)>;
constexpr std::size_t E = 65536;

// A bank holding head at its start and tail at its end, silence between.
Bank bank(Bank head, const Bank& tail = {})
{
    head.resize(E - tail.size());
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// An operation that returns nothing, as one that returns 0.
Op plain(void (*op)(Bank&, R))
{
    return [op](Bank& b, R r) { return op(b, r), std::size_t{0}; };
}

// A whole bank of raw samples from a file; silence where the file runs short.
Bank samplesOf(const std::string& rawFile)
{
    Bank samples(E);
    std::ifstream(rawFile, std::ios::binary).read(reinterpret_cast<char*>(samples.data()), 2 * E);
    return samples;
}

} // namespace

TEST(SoundOperations, EditSmallBanksAndCheckRanges)
{
    const Op normalize = [](Bank& b, R r) { return Ops::normalize(b, r); };
    const Op trim = [](Bank& b, R r) { return Ops::trimLeadingSilence(b, r); };
    const Op snap = [](Bank& b, R r) { const R s = Ops::snapToZeroCrossings(b, r); return s.begin << 20 | s.end; };
    const auto paste = [](Bank sound) { return Op([sound](Bank& b, R r) { return Ops::paste(b, r, sound); }); };
    // A paste places the joined sound as every change does (first sample silenced, the end faded).
    const auto placed = [](Bank joined) {
        Bank b;
        TLBankPlacement::place(b, joined.data(), std::min(joined.size(), E));
        return b;
    };
    Bank twosThenOnes(E + 2, 1);
    twosThenOnes[0] = twosThenOnes[1] = 2;
    Bank tenTwos(E, 1);
    std::fill_n(tenTwos.begin(), 10, 2);
    const Bank wave = bank({0, 1, 1, -3, 4, 6, 8, 9, 2, -1}), nines = bank({9, 9, 9, 9, 9});
    const Bank step = bank(Bank(E - 9, 1000), Bank(9, -1000));
    const std::tuple<const char*, Bank, R, Op, Bank, std::size_t> cases[] = {
        {"crop: sample 0 silenced, a fade into the cleared tail", Bank(20, 32767), {2, 18}, plain(Ops::crop),
         bank({0, 16383, 8191, 4095, 2047, 1023, 511, 255, 127, 63, 31, 15, 7, 3, 1, 0}), 0},
        {"crop: an empty range keeps all", bank({4, 7, 1}), {3, 3}, plain(Ops::crop), bank({4, 7, 1}), 0},
        {"crop: so does the whole bank", bank({4, 7, 1}, {9}), R::whole(), plain(Ops::crop), bank({4, 7, 1}, {9}), 0},
        {"erase: the rest moves up", bank({0, 7, 1, 2, 9, 9}), {2, 4}, plain(Ops::erase), bank({0, 7, 9, 9}), 0},
        {"erase: past the end", bank({}, {32767, 32767, 32767, 32767, 5, 6}), {E - 2, E + 3}, plain(Ops::erase),
         bank({}, {7, 3, 1, 0, 0, 0}), 0},
        {"silence: a short bank made whole", Bank{1, 2, 3}, {1, 2}, plain(Ops::silence), bank({1, 0, 3}), 0},
        {"gain: clips counted", bank({0, 1, -16384, 16384, -20000, 20000, 7}), {1, 6},
         [](Bank& b, R r) { return Ops::gain(b, r, 20 * std::log10(2.0)); },
         bank({0, 2, -32768, 32767, -32768, 32767, 7}), 3},
        {"gain: far beyond full scale", bank({0, 3, -3}), R::whole(), [](Bank& b, R r) { return Ops::gain(b, r, 200); },
         bank({0, 32767, -32768}), 2},
        {"normalize: 0 dBFS is 32767", bank({0, 400, -300, 100}), R::whole(), normalize,
         bank({0, 32767, -24575, 8192}), 0},
        {"normalize: silence stays", bank({}), R::whole(), normalize, bank({}), 0},
        {"fade in: halves away from 0", bank({9, 10, 10, -10, -10, 9}), {1, 5}, plain(Ops::fadeIn),
         bank({9, 0, 3, -5, -8, 9}), 0},
        {"fade out: down to 0", bank({}, {4, 4, 4, 4, 9}), {E - 5, E - 1}, plain(Ops::fadeOut),
         bank({}, {3, 2, 1, 0, 9}), 0},
        {"reverse: past the end", bank({}, {1, 2, 3}), {E - 2, E + 5}, plain(Ops::reverse), bank({}, {1, 3, 2}), 0},
        {"remove DC: the mean rounded, clipped", bank({-32768, 32000, 32000, 32001, 5}), {0, 4}, plain(Ops::removeDc),
         bank({-32768, 16192, 16192, 16193, 5}), 0},
        {"remove DC: past the end", bank({}, {32767, -32000, -32000, -32001}), {E - 4, E + 2}, plain(Ops::removeDc),
         bank({}, {32767, -16191, -16191, -16192}), 0},
        {"trim: below -50 dBFS (103.6) goes", bank({0, 50, -103, 104, 7}), R::whole(), trim, bank({0, 7}), 3},
        {"trim: an all-silent short bank", Bank(3, 0), R::whole(), trim, bank({}), E},
        {"snap: nearest crossing, ties outwards", wave, {2, 6}, snap, wave, 1 << 20 | 4},
        {"snap: on a crossing, or at the bank's end, stays", wave, {3, E}, snap, wave, 3 << 20 | E},
        {"snap: ties outwards at the end too", bank({0, 5, 5, 5, 5}), {2, 3}, snap, bank({0, 5, 5, 5, 5}), 1 << 20 | 5},
        {"snap: past the bank's start, closing up", nines, {1, 3}, snap, nines, 5 << 20 | 5},
        {"snap: on past the bank's end", step, {E - 9, E - 1}, snap, step, (E - 9) << 20 | (E - 9)},
        {"snap: none, or at the bank's start", Bank(E, 1000), {0, 30}, snap, Bank(E, 1000), 30},
        {"paste: over the range, the rest follows", bank({1, 2, 3, 4, 5}), {1, 3}, paste({7, 8, 9}),
         placed({1, 7, 8, 9, 4, 5}), 0},
        {"paste: at the cursor, trailing silence is no loss", bank(Bank(E - 10, 1)), {0, 0}, paste(Bank(10, 2)),
         placed(tenTwos), 0},
        {"paste: what passes the end is cut and counted", Bank(E, 1), {0, 0}, paste({2, 2}), placed(twosThenOnes), 2},
    };
    for (const auto& [what, before, range, op, after, returned] : cases) {
        Bank edited = before;
        EXPECT_EQ(op(edited, range), returned) << what;
        ASSERT_EQ(edited.size(), E) << what;
        EXPECT_EQ(std::mismatch(edited.begin(), edited.end(), after.begin()).first - edited.begin(), E) << what;
    }
    // Ranges a caller names are checked against the bank.
    EXPECT_EQ(R::checked(0, E), R::whole());
    EXPECT_EQ(R::checked(5, 5), (R{5, 5}));
    EXPECT_FALSE(R::checked(-1, 4) || R::checked(5, 4) || R::checked(0, E + 1));
}

// sox multiplies in 32 bits and rounds halves up, not away from 0; its fade out steps by (n - i) / n, one
// step behind ours, so a fade one sample shorter of the file matches ours but for our last sample (0); its
// norm takes 0 dBFS as 32768 where we take 32767. All of these stay within 1. (The shorter fade's file misses
// the last sample, read as silence.)
TEST(SoundOperations, AgreeWithSoxOnAPluckedString)
{
    TestFolder folder;
    const std::string raw = " -t raw -r 44100 -e signed -b 16 -c 1 -L ", in = folder.path("in.raw");
    ASSERT_TRUE(folder.sox("-r 44100 -n" + raw + in + " synth 65536s pluck A2"));
    const Bank sound = samplesOf(in);
    ASSERT_NE(sound[E - 1], 0); // the string still sounds at the bank's end: the whole file was read
    const std::pair<std::string, std::function<void(Bank&)>> cases[] = {
        {"gain 5", [](Bank& b) { Ops::gain(b, R::whole(), 5); }},
        {"norm", [](Bank& b) { Ops::normalize(b, R::whole()); }},
        {"reverse", [](Bank& b) { Ops::reverse(b, R::whole()); }},
        {"fade t 4410s", [](Bank& b) { Ops::fadeIn(b, {0, 4410}); }},
        {"fade t 0 65535s 4410s", [](Bank& b) { Ops::fadeOut(b, {E - 4410, E}); }},
    };
    for (const auto& [effect, op] : cases) {
        ASSERT_TRUE(folder.sox("-D" + raw + in + raw + folder.path("out.raw") + " " + effect));
        const Bank witness = samplesOf(folder.path("out.raw"));
        Bank edited = sound;
        op(edited);
        for (std::size_t i = 0; i < E; ++i)
            ASSERT_NEAR(edited[i], witness[i], 1) << effect << " " << i;
    }
}
