#pragma once

#include "audio/KTSample.h"
#include "midi/KTFileReader.h"

#include <cstdint>
#include <optional>

// An AIFF or WAV file opened for import. The subclasses read the header when
// constructed and the PCM data on request. Also holds the reading primitives
// both formats share: fields cut short by the end of the file read as zero,
// skips never pass the end, and a failed read leaves the stream usable.
class KTAudioFileReader : public KTFileReader {
public:
    explicit KTAudioFileReader(const char* path);
    ~KTAudioFileReader() override;

    virtual bool isValid() const = 0;
    virtual bool isSupported() const = 0;
    // Reads the format and at most `limit` bytes of sound data (0: all of it).
    virtual KTSample readSample(std::uint64_t limit) = 0;

    // The format fields readSample would give, without the sound data; lets a
    // caller size the byte limit before reading.
    KTSample readFormat();
    // Bytes of sound data the file holds, whatever limit the last read had:
    // the size its header declares, cut to what the file still holds.
    std::uint64_t soundBytes() const { return mSoundBytes; }

protected:
    enum class ByteOrder { BigEndian, LittleEndian };

    // Size of the whole file, not the size its header declares.
    std::uint64_t fileSize();
    std::uint64_t position();
    void seekTo(std::uint64_t offset);
    // Reads n bytes into a zeroed buffer of n bytes; missing bytes stay zero.
    KTBuffer readField(std::size_t n);
    std::uint64_t readUnsigned(std::size_t n, ByteOrder order);
    std::uint32_t readCode();
    // Moves forward n bytes unless that passes the end of the file.
    void skip(std::uint64_t n);
    // Whether `count` whole bytes are left to read.
    bool hasBytes(std::uint64_t count);

    // Searches the chunks after the 12-byte container header for `wanted`.
    // findChunk stops just after the identifier; findChunkWithSize reads the
    // size too and returns it. Odd-sized chunks are followed by a pad byte.
    bool findChunk(std::uint32_t wanted, ByteOrder order);
    std::optional<std::uint32_t> findChunkWithSize(std::uint32_t wanted, ByteOrder order);

    // Reads a data block of at most `length` bytes, cut to `limit` when that
    // is not 0 and to what the file still holds.
    KTBuffer readBlock(std::uint64_t length, std::uint64_t limit);

private:
    std::uint64_t mSoundBytes = 0;

    std::optional<std::uint32_t> walk(std::uint32_t wanted, ByteOrder order, bool readWantedSize);
};
