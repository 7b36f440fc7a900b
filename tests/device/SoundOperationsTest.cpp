// Sound operations on small banks (a few samples, silence after them) worked out by hand, and sox as the
// witness on a plucked string.

#include "device/TLSoundOperations.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace {

using Bank = TLSoundOperations::Bank;
using Ops = TLSoundOperations;
using R = TLSampleRange;
constexpr std::size_t E = 65536;

// A bank holding head at its start and tail at its end, silence between.
Bank bank(Bank head, const Bank& tail = {})
{
    head.resize(E - tail.size());
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// An operation that returns nothing, as one that returns 0.
template <void (*operation)(Bank&, R)>
std::size_t edit(Bank& bank, R range)
{
    operation(bank, range);
    return 0;
}

std::size_t packed(R range)
{
    return range.begin << 20 | range.end;
}

} // namespace

TEST(SoundOperations, EditSmallBanks)
{
    const double twice = 20 * std::log10(2.0);
    const auto trim = [](Bank& b, R r) { return Ops::trimLeadingSilence(b, r); };
    const auto snap = [](Bank& b, R r) { return packed(Ops::snapToZeroCrossings(b, r)); };
    const Bank wave = bank({0, 5, 7, -3, 4, 6, 8, 9, 2, -1});
    const struct {
        const char* what;
        Bank before;
        R range;
        std::function<std::size_t(Bank&, R)> op;
        Bank after;
        std::size_t returned = 0;
    } cases[] = {
        {"crop: first sample 0, fade into the cleared tail", Bank(20, 32767), {2, 18}, edit<Ops::crop>,
         bank({0, 16383, 8191, 4095, 2047, 1023, 511, 255, 127, 63, 31, 15, 7, 3, 1, 0})},
        {"crop: an empty range keeps all", bank({4, 7, 1}), {3, 3}, edit<Ops::crop>, bank({4, 7, 1})},
        {"erase: the rest moves up", bank({0, 7, 1, 2, 9, 9}), {2, 4}, edit<Ops::erase>, bank({0, 7, 9, 9})},
        {"erase: the start", bank({4, 7, 1, 2}), {0, 1}, edit<Ops::erase>, bank({0, 1, 2})},
        {"erase: the end", bank({0, 3}, {5, 6, 7}), {E - 2, E}, edit<Ops::erase>, bank({0, 3})},
        {"silence: a bank too short is brought to length", Bank{1, 2, 3}, {1, 2}, edit<Ops::silence>, bank({1, 0, 3})},
        {"gain: clipping counted", bank({0, 100, -16384, 16384, -20000, 20000, 7}), {1, 6},
         [=](Bank& b, R r) { return Ops::gain(b, r, twice); }, bank({0, 200, -32768, 32767, -32768, 32767, 7}), 3},
        {"normalize: a positive peak at 0 dBFS is 32767", bank({0, 400, -300, 100}), R::whole(),
         [](Bank& b, R r) { return Ops::normalize(b, r); }, bank({0, 32767, -24575, 8192})},
        {"normalize: over 0 dBFS clips", bank({0, 400, -300, 100}), R::whole(),
         [=](Bank& b, R r) { return Ops::normalize(b, r, twice); }, bank({0, 32767, -32768, 16384}), 2},
        {"normalize: silence stays", bank({}), R::whole(), [](Bank& b, R r) { return Ops::normalize(b, r); }, bank({})},
        {"fade in: halves away from 0", bank({9, 10, -10, 10, -10, 9}), {1, 5}, edit<Ops::fadeIn>,
         bank({9, 0, -3, 5, -8, 9})},
        {"fade out: at the end, down to 0", bank({}, {400, 400, 400, 400}), {E - 4, E}, edit<Ops::fadeOut>,
         bank({}, {300, 200, 100, 0})},
        {"reverse: a range past the bank", bank({}, {1, 2, 3}), {E - 2, E + 5}, edit<Ops::reverse>,
         bank({}, {1, 3, 2})},
        {"remove DC: the mean rounded, clipped", bank({-32768, 32000, 32000, 32001, 5}), {0, 4}, edit<Ops::removeDc>,
         bank({-32768, 16192, 16192, 16193, 5})},
        {"trim: below -50 dBFS (103.6) goes", bank({0, 50, -103, 104, 7}), R::whole(), trim, bank({0, 7}), 3},
        {"trim: an all-silent bank", bank({}), R::whole(), trim, bank({}), E},
        {"snap: nearest crossing, ties outwards", wave, {2, 7}, snap, wave, packed({1, 9})},
        {"snap: none, or at the bank's start", Bank(E, 1000), {0, 20}, snap, Bank(E, 1000), packed({0, 20})},
    };
    for (const auto& c : cases) {
        Bank edited = c.before;
        EXPECT_EQ(c.op(edited, c.range), c.returned) << c.what;
        ASSERT_EQ(edited.size(), E) << c.what;
        const auto wrong = std::mismatch(edited.begin(), edited.end(), c.after.begin());
        EXPECT_EQ(wrong.first, edited.end()) << c.what << ": sample " << wrong.first - edited.begin();
    }
}

// sox multiplies in 32 bits and rounds halves up, not away from 0; its fade out steps by (n - i) / n, one
// step behind ours, so a fade one sample shorter of the file matches ours but for our last sample (0); its
// norm takes 0 dBFS as 32768 where we take 32767. All of these stay within 1.
TEST(SoundOperations, AgreeWithSoxOnAPluckedString)
{
    TestFolder folder;
    const std::string raw = " -t raw -r 44100 -e signed -b 16 -c 1 -L ";
    ASSERT_TRUE(folder.sox("-r 44100 -n" + raw + folder.path("in.raw") + " synth 65536s pluck A2"));
    Bank sound(E);
    std::memcpy(sound.data(), TestFolder::read(folder.path("in.raw")).data(), 2 * E);
    const struct {
        std::string effect;
        std::function<void(Bank&)> op;
    } cases[] = {
        {"vol -4.5dB", [](Bank& b) { Ops::gain(b, R::whole(), -4.5); }},
        {"gain 5", [](Bank& b) { Ops::gain(b, R::whole(), 5); }},
        {"norm", [](Bank& b) { Ops::normalize(b, R::whole()); }},
        {"norm -3", [](Bank& b) { Ops::normalize(b, R::whole(), -3); }},
        {"reverse", [](Bank& b) { Ops::reverse(b, R::whole()); }},
        {"fade t 4410s", [](Bank& b) { Ops::fadeIn(b, {0, 4410}); }},
        {"fade t 0 65535s 4410s", [](Bank& b) { Ops::fadeOut(b, {E - 4410, E}); }},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(folder.sox("-D" + raw + folder.path("in.raw") + raw + folder.path("out.raw") + " " + c.effect));
        const Bytes witness = TestFolder::read(folder.path("out.raw"));
        Bank edited = sound;
        c.op(edited);
        ASSERT_GE(witness.size(), 2 * (E - 1)) << c.effect;
        for (std::size_t i = 0; i < witness.size() / 2; ++i)
            ASSERT_NEAR(edited[i], std::int16_t(witness[2 * i] | witness[2 * i + 1] << 8), 1) << c.effect << " " << i;
    }
}
