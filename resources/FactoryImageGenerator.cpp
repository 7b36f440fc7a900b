// Writes the factory sample image: 7 banks of 65,536 signed 16-bit little-endian samples.
//
//   factory-image-generator <output file>
//
// Every bank is a ready-to-play sound at 44,100 samples per second. The output is fully
// deterministic: noise comes from std::minstd_rand through a fixed integer-to-float mapping, and
// the arithmetic is plain double precision, so the same source always gives the same bytes.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Signal = std::vector<double>;  // full scale is 1.0
using Head = std::array<std::int16_t, 4>;

constexpr std::size_t kBanks = 7;
constexpr std::size_t kSamplesPerBank = 65536;
constexpr std::size_t kSilentTail = 1024;
constexpr std::size_t kTailStart = kSamplesPerBank - kSilentTail;
constexpr std::size_t kReleaseEnd = 64000;  // every sound is silent from here on
constexpr std::size_t kCycleLength = 256;   // the opening sine cycle of banks 0 to 2
constexpr double kRate = 44100.0;
constexpr double kFullScale = 32767.0;
constexpr double kPi = std::numbers::pi;
constexpr double kCycleStep = 2.0 * kPi / static_cast<double>(kCycleLength);

// The first four samples of every bank are fixed.
constexpr std::array<Head, kBanks> kHeads = {{
    {0, 804, 1607, 2410},
    {0, 804, 1607, 2410},
    {0, 804, 1607, 2410},
    {0, 12002, 17650, 18984},
    {-1597, 4840, 11827, 18628},
    {-450, 3161, 5872, 7135},
    {380, -1711, 267, 1446},
}};

// ---------------------------------------------------------------------------------------------
// Small building blocks

std::size_t samplesFor(double seconds) { return static_cast<std::size_t>(seconds * kRate); }

double secondsAt(std::size_t index, std::size_t origin)
{
    return index < origin ? 0.0 : static_cast<double>(index - origin) / kRate;
}

// 1 at x = 0 falling smoothly to 0 at x = 1, with zero slope at both ends.
double smoothFall(double x)
{
    const double clamped = std::clamp(x, 0.0, 1.0);
    return 0.5 * (1.0 + std::cos(kPi * clamped));
}

double smoothRise(double x) { return 1.0 - smoothFall(x); }

// Uniform noise in [-1, 1] from the generator's raw integer output.
double noiseValue(std::minstd_rand& random)
{
    const double span = static_cast<double>(std::minstd_rand::max() - std::minstd_rand::min());
    const double unit = static_cast<double>(random() - std::minstd_rand::min()) / span;
    return 2.0 * unit - 1.0;
}

Signal whiteNoise(std::uint32_t seed, std::size_t length)
{
    std::minstd_rand random(seed);
    Signal noise(length);
    for (double& value : noise) {
        value = noiseValue(random);
    }
    return noise;
}

// sin(2 pi i / 256) for every index: the opening cycle repeated.
Signal cycleSine()
{
    Signal sine(kSamplesPerBank);
    for (std::size_t i = 0; i < sine.size(); ++i) {
        sine[i] = std::sin(kCycleStep * static_cast<double>(i % kCycleLength));
    }
    return sine;
}

double peakOf(const Signal& signal, std::size_t from)
{
    double peak = 0.0;
    for (std::size_t i = from; i < signal.size(); ++i) {
        peak = std::max(peak, std::abs(signal[i]));
    }
    return peak;
}

void scaleToPeak(Signal& signal, double peak, std::size_t from)
{
    const double current = peakOf(signal, from);
    if (current <= 0.0) {
        return;
    }
    for (double& value : signal) {
        value *= peak / current;
    }
}

// Fades the sound smoothly to nothing between begin and end; everything after end is silence.
void applyRelease(Signal& signal, std::size_t begin, std::size_t end)
{
    const double length = static_cast<double>(end - begin);
    for (std::size_t i = begin; i < signal.size(); ++i) {
        signal[i] *= i >= end ? 0.0 : smoothFall(static_cast<double>(i - begin) / length);
    }
}

// Blends from `from` into `to` over `length` samples starting at `begin`.
Signal crossfade(const Signal& from, const Signal& to, std::size_t begin, std::size_t length)
{
    Signal mixed(from.size());
    for (std::size_t i = 0; i < mixed.size(); ++i) {
        const double weight =
            i < begin ? 0.0 : smoothRise(static_cast<double>(i - begin) / static_cast<double>(length));
        mixed[i] = (1.0 - weight) * from[i] + weight * to[i];
    }
    return mixed;
}

// Second-order biquad (direct form I) with normalised coefficients.
struct Biquad {
    double b0, b1, b2, a1, a2;
};

Biquad highpassBiquad(double cutoffHz, double q)
{
    const double w = 2.0 * kPi * cutoffHz / kRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double a0 = 1.0 + alpha;
    const double c = std::cos(w);
    return {(1.0 + c) / 2.0 / a0, -(1.0 + c) / a0, (1.0 + c) / 2.0 / a0, -2.0 * c / a0,
            (1.0 - alpha) / a0};
}

Biquad lowpassBiquad(double cutoffHz, double q)
{
    const double w = 2.0 * kPi * cutoffHz / kRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double a0 = 1.0 + alpha;
    const double c = std::cos(w);
    return {(1.0 - c) / 2.0 / a0, (1.0 - c) / a0, (1.0 - c) / 2.0 / a0, -2.0 * c / a0,
            (1.0 - alpha) / a0};
}

Signal filtered(const Signal& input, const Biquad& f)
{
    Signal output(input.size());
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
    for (std::size_t i = 0; i < input.size(); ++i) {
        const double y = f.b0 * input[i] + f.b1 * x1 + f.b2 * x2 - f.a1 * y1 - f.a2 * y2;
        x2 = x1;
        x1 = input[i];
        y2 = y1;
        y1 = y;
        output[i] = y;
    }
    return output;
}

// ---------------------------------------------------------------------------------------------
// The fixed opening of the percussive banks

// Reads the four fixed samples as the start of a ringing strike: the second-order resonance that
// runs through them exactly (s[n] = a1 s[n-1] + a2 s[n-2]) carries them on, and a smooth window
// lets that ring die away within `ringLength` samples while the body of the sound takes over.
Signal strikeTransient(const Head& head, std::size_t ringLength)
{
    Signal ring(kSamplesPerBank, 0.0);
    for (std::size_t i = 0; i < head.size(); ++i) {
        ring[i] = head[i] / kFullScale;
    }
    const double s0 = ring[0], s1 = ring[1], s2 = ring[2], s3 = ring[3];
    const double determinant = s1 * s1 - s0 * s2;
    if (std::abs(determinant) < 1e-12) {
        return ring;
    }
    const double a1 = (s2 * s1 - s3 * s0) / determinant;
    const double a2 = (s3 * s1 - s2 * s2) / determinant;
    double previous = s2, current = s3;
    for (std::size_t i = head.size(); i < head.size() + ringLength; ++i) {
        const double next = a1 * current + a2 * previous;
        previous = current;
        current = next;
        const double age = static_cast<double>(i - (head.size() - 1));
        ring[i] = next * smoothFall(age / static_cast<double>(ringLength));
    }
    return ring;
}

// Silent through the fixed opening, then a smooth onset over `length` samples.
double bodyOnset(std::size_t index, std::size_t length)
{
    constexpr std::size_t start = 3;
    if (index <= start) {
        return 0.0;
    }
    return smoothRise(static_cast<double>(index - start) / static_cast<double>(length));
}

Signal struckWithGain(const Signal& ring, const Signal& body, std::size_t onset, double gain)
{
    Signal sound = ring;
    for (std::size_t i = 0; i < sound.size(); ++i) {
        sound[i] += gain * body[i] * bodyOnset(i, onset);
    }
    return sound;
}

// The strike followed by the body, the body scaled so that the whole sound peaks at `peak`.
// The peak grows with the body's gain once it exceeds the strike's own, so halving the interval
// finds the gain.
Signal withStrike(const Head& head, std::size_t ringLength, const Signal& body, std::size_t onset,
                  double peak)
{
    const Signal ring = strikeTransient(head, ringLength);
    double low = 0.0, high = 8.0;
    for (int step = 0; step < 60; ++step) {
        const double middle = 0.5 * (low + high);
        if (peakOf(struckWithGain(ring, body, onset, middle), 0) <= peak) {
            low = middle;
        } else {
            high = middle;
        }
    }
    return struckWithGain(ring, body, onset, low);
}

// ---------------------------------------------------------------------------------------------
// Bank 0: a pure sine that keeps the opening cycle's pitch, with a slow gentle vibrato

Signal pureSineWithVibrato()
{
    constexpr double vibratoHz = 5.1;
    constexpr double vibratoDepth = 0.004;  // about seven cents
    const double vibratoFadeIn = static_cast<double>(samplesFor(0.6));
    Signal sound(kSamplesPerBank);
    double phase = 0.0;
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = secondsAt(i, kCycleLength);
        const double depth = vibratoDepth * smoothRise(t * kRate / vibratoFadeIn);
        const double level = 0.78 + 0.22 * std::exp(-t / 0.7);
        sound[i] = level * std::sin(phase);
        phase += kCycleStep * (1.0 + depth * std::sin(2.0 * kPi * vibratoHz * t));
    }
    applyRelease(sound, samplesFor(1.1), kReleaseEnd);
    return sound;
}

// ---------------------------------------------------------------------------------------------
// Bank 1: a warm organ-like pad on the same pitch, a few harmonics with a slow chorus

// One harmonic with two slightly detuned copies: the slow beating gives the pad its movement.
double chorusedPartial(double phase, double harmonic)
{
    constexpr double sharp = 0.0012;
    constexpr double flat = 0.0008;
    return 0.6 * std::sin(harmonic * phase) + 0.2 * std::sin(harmonic * phase * (1.0 + sharp)) +
           0.2 * std::sin(harmonic * phase * (1.0 - flat));
}

Signal warmPad()
{
    constexpr std::array<double, 6> harmonics = {1.0, 2.0, 3.0, 4.0, 6.0, 8.0};
    constexpr std::array<double, 6> levels = {1.0, 0.45, 0.22, 0.16, 0.07, 0.04};
    Signal pad(kSamplesPerBank, 0.0);
    for (std::size_t i = kCycleLength; i < pad.size(); ++i) {
        const double phase = kCycleStep * static_cast<double>(i - kCycleLength);
        for (std::size_t k = 0; k < harmonics.size(); ++k) {
            pad[i] += levels[k] * chorusedPartial(phase, harmonics[k]);
        }
        const double t = secondsAt(i, kCycleLength);
        pad[i] *= 0.8 + 0.2 * std::exp(-t / 0.5);
    }
    scaleToPeak(pad, 0.9, kCycleLength);
    Signal sound = crossfade(cycleSine(), pad, kCycleLength, samplesFor(0.05));
    applyRelease(sound, samplesFor(0.85), kReleaseEnd);
    return sound;
}

// ---------------------------------------------------------------------------------------------
// Bank 2: a plucked string (a Karplus-Strong delay loop excited by the opening cycle plus noise)

Signal pluckExcitation(std::size_t period)
{
    const Signal noise = whiteNoise(20240611u, period);
    Signal excitation(period);
    double smoothed = 0.0;
    for (std::size_t i = 0; i < period; ++i) {
        smoothed += 0.45 * (noise[i] - smoothed);
        excitation[i] = 0.6 * std::sin(kCycleStep * static_cast<double>(i)) + 0.55 * smoothed;
    }
    double mean = 0.0;
    for (double value : excitation) {
        mean += value / static_cast<double>(period);
    }
    for (double& value : excitation) {
        value -= mean;
    }
    return excitation;
}

Signal pluckedString()
{
    constexpr double loopGain = 0.989;
    const std::size_t period = kCycleLength;
    Signal string = pluckExcitation(period);
    string.resize(kSamplesPerBank, 0.0);
    for (std::size_t i = period; i < string.size(); ++i) {
        const double older = i > period ? string[i - period - 1] : 0.0;
        string[i] = loopGain * 0.5 * (string[i - period] + older);
    }
    scaleToPeak(string, 0.95, kCycleLength);
    Signal sound = crossfade(cycleSine(), string, kCycleLength, 64);
    applyRelease(sound, samplesFor(1.2), kReleaseEnd);
    return sound;
}

// ---------------------------------------------------------------------------------------------
// Bank 3: a deep kick drum, a sine whose pitch falls quickly from a punchy start to 48 Hz

Signal kickBody()
{
    Signal body(kSamplesPerBank, 0.0);
    double phase = 0.0;
    const double drive = 1.6;
    for (std::size_t i = 3; i < body.size(); ++i) {
        const double t = secondsAt(i, 3);
        const double hz = 48.0 + 150.0 * std::exp(-t / 0.035) + 260.0 * std::exp(-t / 0.004);
        const double level = std::exp(-t / 0.24);
        body[i] = 0.9 * level * std::tanh(drive * std::sin(phase)) / std::tanh(drive);
        phase += 2.0 * kPi * hz / kRate;
    }
    return body;
}

Signal kickDrum()
{
    Signal sound = withStrike(kHeads[3], 40, kickBody(), 28, 0.93);
    applyRelease(sound, samplesFor(0.55), samplesFor(0.8));
    return sound;
}

// ---------------------------------------------------------------------------------------------
// Bank 4: a snare drum, two drum-head tones under a burst of filtered noise (the wires)

Signal snareWires()
{
    const Signal noise = whiteNoise(77u, kSamplesPerBank);
    return filtered(filtered(noise, highpassBiquad(1400.0, 0.7)), lowpassBiquad(9500.0, 0.7));
}

Signal snareBody()
{
    const Signal wires = snareWires();
    Signal body(kSamplesPerBank, 0.0);
    double low = 0.0, high = 0.0;
    for (std::size_t i = 3; i < body.size(); ++i) {
        const double t = secondsAt(i, 3);
        const double bend = 1.0 + 0.18 * std::exp(-t / 0.012);
        body[i] = 0.6 * std::exp(-t / 0.06) * std::sin(low) +
                  0.3 * std::exp(-t / 0.04) * std::sin(high) +
                  1.1 * std::exp(-t / 0.13) * wires[i];
        low += 2.0 * kPi * 185.0 * bend / kRate;
        high += 2.0 * kPi * 330.0 * bend / kRate;
    }
    return body;
}

Signal snareDrum()
{
    Signal sound = withStrike(kHeads[4], 14, snareBody(), 12, 0.95);
    applyRelease(sound, samplesFor(0.32), samplesFor(0.55));
    return sound;
}

// ---------------------------------------------------------------------------------------------
// Bank 5: a soft mallet on a bell-like bar: a few inharmonic partials, the high ones dying first

Signal malletBody()
{
    constexpr double fundamentalHz = 523.25;
    constexpr std::array<double, 5> ratios = {1.0, 2.76, 4.0, 5.4, 8.93};
    constexpr std::array<double, 5> levels = {1.0, 0.2, 0.3, 0.09, 0.05};
    constexpr std::array<double, 5> decays = {0.85, 0.35, 0.45, 0.15, 0.08};
    Signal body(kSamplesPerBank, 0.0);
    for (std::size_t i = 3; i < body.size(); ++i) {
        const double t = secondsAt(i, 3);
        double value = 0.0;
        for (std::size_t k = 0; k < ratios.size(); ++k) {
            value += levels[k] * std::exp(-t / decays[k]) *
                     std::sin(2.0 * kPi * fundamentalHz * ratios[k] * t);
        }
        const double shimmer = 1.0 - 0.12 * (1.0 - std::cos(2.0 * kPi * 5.5 * t));
        body[i] = 0.5 * value * shimmer;
    }
    return body;
}

Signal malletBell()
{
    Signal sound = withStrike(kHeads[5], 160, malletBody(), 60, 0.72);
    applyRelease(sound, samplesFor(1.15), kReleaseEnd);
    return sound;
}

// ---------------------------------------------------------------------------------------------
// Bank 6: a hi-hat, bright noise with a metallic ring, half open

Signal hatMetal()
{
    constexpr std::array<double, 6> frequencies = {3527.0, 4711.0, 5973.0, 7349.0, 8402.0, 10119.0};
    Signal metal(kSamplesPerBank, 0.0);
    for (std::size_t i = 0; i < metal.size(); ++i) {
        const double t = secondsAt(i, 3);
        for (double hz : frequencies) {
            metal[i] += std::sin(2.0 * kPi * hz * t);
        }
    }
    return filtered(metal, highpassBiquad(6000.0, 0.7));
}

Signal hatBody()
{
    const Signal noise = filtered(whiteNoise(4242u, kSamplesPerBank), highpassBiquad(7000.0, 0.8));
    const Signal metal = hatMetal();
    Signal body(kSamplesPerBank, 0.0);
    for (std::size_t i = 3; i < body.size(); ++i) {
        const double t = secondsAt(i, 3);
        body[i] = std::exp(-t / 0.09) * (0.75 * noise[i] + 0.06 * metal[i]);
    }
    return body;
}

Signal hiHat()
{
    Signal sound = withStrike(kHeads[6], 10, hatBody(), 6, 0.6);
    applyRelease(sound, samplesFor(0.3), samplesFor(0.5));
    return sound;
}

// ---------------------------------------------------------------------------------------------
// Turning the sounds into samples

std::int16_t toSample(double value, std::size_t bank, std::size_t index)
{
    const long rounded = std::lround(value * kFullScale);
    if (rounded < -32767 || rounded > 32767) {
        throw std::runtime_error("bank " + std::to_string(bank) + " exceeds full scale at sample " +
                                 std::to_string(index));
    }
    return static_cast<std::int16_t>(rounded);
}

std::vector<std::int16_t> quantized(const Signal& sound, std::size_t bank)
{
    std::vector<std::int16_t> samples(kSamplesPerBank, 0);
    for (std::size_t i = 0; i < kTailStart; ++i) {
        samples[i] = toSample(sound[i], bank, i);
    }
    if (bank < 3) {
        for (std::size_t i = 0; i < kCycleLength; ++i) {
            samples[i] = static_cast<std::int16_t>(
                std::trunc(kFullScale * std::sin(kCycleStep * static_cast<double>(i))));
        }
    }
    std::copy(kHeads[bank].begin(), kHeads[bank].end(), samples.begin());
    return samples;
}

Signal bankSound(std::size_t bank)
{
    switch (bank) {
    case 0: return pureSineWithVibrato();
    case 1: return warmPad();
    case 2: return pluckedString();
    case 3: return kickDrum();
    case 4: return snareDrum();
    case 5: return malletBell();
    default: return hiHat();
    }
}

void appendLittleEndian(std::vector<char>& bytes, const std::vector<std::int16_t>& samples)
{
    for (std::int16_t sample : samples) {
        const auto bits = static_cast<std::uint16_t>(sample);
        bytes.push_back(static_cast<char>(bits & 0xFFu));
        bytes.push_back(static_cast<char>(bits >> 8));
    }
}

std::vector<char> imageBytes()
{
    std::vector<char> bytes;
    bytes.reserve(kBanks * kSamplesPerBank * 2);
    for (std::size_t bank = 0; bank < kBanks; ++bank) {
        appendLittleEndian(bytes, quantized(bankSound(bank), bank));
    }
    return bytes;
}

bool writeFile(const char* path, const std::vector<char>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output file>\n", argc > 0 ? argv[0] : "factory-image-generator");
        return 2;
    }
    try {
        if (!writeFile(argv[1], imageBytes())) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "factory image not written: %s\n", error.what());
        return 1;
    }
    return 0;
}
