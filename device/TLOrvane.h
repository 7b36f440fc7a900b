#pragma once

#include "device/TLMidiDevice.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The editor's image of the instrument's sample memory: 7 banks of 65,536 signed
// 16-bit samples, each with a bank name and 256 sample-name slots, reset from a
// factory image that the store refers to but does not own.
class TLOrvane final : public TLMidiDevice {
public:
    static constexpr int kBankCount = 7;
    static constexpr int kSamplesPerBank = 65536;
    static constexpr int kSampleNameSlots = 256;
    // The instrument plays its banks at 44,100 samples a second.
    static constexpr unsigned kSampleRate = 44100;
    static constexpr std::size_t kFactoryImageBytes = std::size_t(kBankCount) * kSamplesPerBank * 2;

    // factoryImage: 7 banks of 65,536 little-endian samples, bank after bank.
    explicit TLOrvane(const std::int16_t* factoryImage);
    ~TLOrvane() = default;

    void resetBank(int bank);
    void setBankName(const char* name, int bank);
    void setSampleName(const char* name, int bank, int slot);

    KTMidiEvent makeMetaEvent(std::uint8_t kind, int bank) override;
    KTMidiEventList makeSampleDump(int bank, int channel) override;
    int detectBank(const KTMidiEventList& events) override;
    bool loadBank(const KTMidiEventList& events, int bank) override;

    const std::int16_t* mFactoryImage;
    std::vector<std::vector<std::int16_t>> mSamples;
    std::vector<std::string> mBankNames;
    std::vector<std::vector<std::string>> mSampleNames;

private:
    void loadSampleNames(const KTMidiEvent& event, int bank);
    void loadSamples(const KTMidiEvent& event, int bank);
};
