#include "device/TLOrvane.h"

#include "device/TLDefaultNames.h"
#include "device/TLDumpCheck.h"
#include "device/TLDumpFormat.h"
#include "midi/KTMidiBytes.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr std::size_t kSequencerSpecificNames = 6;
constexpr char kInstrument[] = "Tavel Orvane";

bool isSampleDataMessage(const KTMidiEvent& event)
{
    return event.size() >= TLDumpFormat::kSampleDataHeader && event[0] == KTMidiBytes::kSysEx
        && event[3] == TLDumpFormat::kSampleDataType && (event[4] & 0xF0) == 0x20;
}

bool isMetaOfType(const KTMidiEvent& event, std::uint8_t type)
{
    return event.size() >= 2 && event[0] == KTMidiBytes::kMeta && event[1] == type;
}

// Splits a byte into the pair (bit 7, bits 0..6) the instrument's protocol uses.
std::uint8_t* putSevenBitPair(std::uint8_t* out, std::uint8_t byte)
{
    out[0] = byte >> 7;
    out[1] = byte & 0x7F;
    return out + 2;
}

std::uint8_t fromSevenBitPair(std::uint8_t high, std::uint8_t low)
{
    return static_cast<std::uint8_t>(((high & 0x01) << 7) | (low & 0x7F));
}

} // namespace

TLOrvane::TLOrvane(const std::int16_t* factoryImage)
    : mFactoryImage(factoryImage)
    , mSamples(kBankCount)
    , mBankNames(kBankCount)
    , mSampleNames(kBankCount)
{
    for (int bank = 0; bank < kBankCount; ++bank) {
        mSamples[bank].resize(kSamplesPerBank);
        mSampleNames[bank].resize(kSampleNameSlots);
        resetBank(bank);
    }
}

void TLOrvane::resetBank(int bank)
{
    std::vector<std::int16_t>& samples = mSamples[bank];
    samples.resize(kSamplesPerBank);
    const std::int16_t* source = mFactoryImage + std::size_t(bank) * kSamplesPerBank;
    static_assert(std::endian::native == std::endian::little, "the factory image is little-endian");
    std::memcpy(samples.data(), source, kSamplesPerBank * sizeof(std::int16_t));
    samples.back() = 0;

    mBankNames[bank] = TLDefaultNames::bankName(bank);
    for (int slot = 0; slot < kSampleNameSlots; ++slot)
        mSampleNames[bank][slot] = TLDefaultNames::sampleName(bank, slot);
}

void TLOrvane::setBankName(const char* name, int bank)
{
    mBankNames[bank] = name;
}

void TLOrvane::setSampleName(const char* name, int bank, int slot)
{
    mSampleNames[bank][slot] = name;
}

KTMidiEvent TLOrvane::makeMetaEvent(std::uint8_t kind, int bank)
{
    KTMidiEvent event;
    auto append = [&event](std::string_view bytes) { event.insert(event.end(), bytes.begin(), bytes.end()); };
    switch (kind) {
    case KTMidiBytes::kTrackName:
        event = {KTMidiBytes::kMeta, KTMidiBytes::kTrackName};
        append(mBankNames[bank]);
        break;
    case KTMidiBytes::kInstrumentName:
        event = {KTMidiBytes::kMeta, KTMidiBytes::kInstrumentName};
        append(kInstrument);
        break;
    case KTMidiBytes::kSequencerSpecific:
        event = {KTMidiBytes::kMeta, KTMidiBytes::kSequencerSpecific, TLDumpFormat::kManufacturer, 0x00,
                 TLDumpFormat::kSampleDataType, 0x00};
        append(mSampleNames[bank][0]);
        event.push_back(0x00);
        break;
    default:
        break;
    }
    return event;
}

KTMidiEventList TLOrvane::makeSampleDump(int bank, int channel)
{
    const std::vector<std::int16_t>& samples = mSamples[bank];
    const auto bankByte = static_cast<std::uint8_t>(bank);

    KTMidiEventList dump(2);
    dump[0] = {KTMidiBytes::kSysEx,           TLDumpFormat::kManufacturer, 0x0D,
               TLDumpFormat::kBankHeaderType, bankByte,                    KTMidiBytes::kEndOfSysEx};

    KTMidiEvent& data = dump[1];
    data.resize(TLDumpFormat::kSampleDataHeader + 4 * samples.size() + 1);
    data[0] = KTMidiBytes::kSysEx;
    data[1] = TLDumpFormat::kManufacturer;
    data[2] = static_cast<std::uint8_t>(0x40 | bankByte);
    data[3] = TLDumpFormat::kSampleDataType;
    data[4] = static_cast<std::uint8_t>(0x20 | (channel & 0x0F));
    std::uint8_t* out = data.data() + TLDumpFormat::kSampleDataHeader;
    for (std::int16_t sample : samples) {
        const auto value = static_cast<std::uint16_t>(sample);
        out = putSevenBitPair(out, static_cast<std::uint8_t>(value & 0xFF));
        out = putSevenBitPair(out, static_cast<std::uint8_t>(value >> 8));
    }
    *out = KTMidiBytes::kEndOfSysEx;
    data.mDelay = TLDumpFormat::kSampleDataPause;
    return dump;
}

int TLOrvane::detectBank(const KTMidiEventList& events)
{
    const auto header = std::find_if(events.begin(), events.end(),
                                     [](const KTMidiEvent& event) { return event.isSysEx(); });
    if (header == events.end())
        return -1;
    if (header->size() < 4 || (*header)[3] != TLDumpFormat::kBankHeaderType)
        return -2;
    const auto next = header + 1;
    if (next == events.end() || !isSampleDataMessage(*next))
        return -3;
    return (*next)[2] & 0x3F;
}

bool TLOrvane::loadBank(const KTMidiEventList& events, int bank)
{
    const int detected = detectBank(events);
    if (detected == -1)
        return true;
    // A damaged dump would leave noise or a bank of the wrong length.
    if (detected < 0 || !TLDumpCheck::damage(events).empty())
        return false;
    for (const KTMidiEvent& event : events) {
        if (isMetaOfType(event, KTMidiBytes::kTrackName))
            setBankName(std::string(event.begin() + 2, event.end()).c_str(), bank);
        else if (isMetaOfType(event, KTMidiBytes::kSequencerSpecific))
            loadSampleNames(event, bank);
        else if (isSampleDataMessage(event))
            loadSamples(event, bank);
    }
    return true;
}

// Walks the name area of a sequencer-specific event: names separated by 00 go to
// slots 0, 1, 2 ...; names beyond the last slot are ignored.
void TLOrvane::loadSampleNames(const KTMidiEvent& event, int bank)
{
    auto name = event.begin() + std::min(event.size(), kSequencerSpecificNames);
    for (int slot = 0; name != event.end(); ++slot) {
        const auto end = std::find(name, event.end(), std::uint8_t{0x00});
        if (slot < kSampleNameSlots)
            setSampleName(std::string(name, end).c_str(), bank, slot);
        name = end == event.end() ? end : end + 1;
    }
}

// Replaces the bank's samples with the groups of four data bytes between the
// five-byte header and the message's last byte.
void TLOrvane::loadSamples(const KTMidiEvent& event, int bank)
{
    // A bank always holds a whole bank's samples: data of another length is
    // no sample data of this instrument.
    if (event.size() != TLDumpFormat::kSampleDataSize)
        return;
    std::vector<std::int16_t>& samples = mSamples[bank];
    samples.resize(kSamplesPerBank);
    const std::uint8_t* in = event.data() + TLDumpFormat::kSampleDataHeader;
    for (std::int16_t& sample : samples) {
        const std::uint8_t low = fromSevenBitPair(in[0], in[1]);
        const std::uint8_t high = fromSevenBitPair(in[2], in[3]);
        sample = static_cast<std::int16_t>(static_cast<std::uint16_t>(high << 8 | low));
        in += 4;
    }
}
