#pragma once

#include "audio/KTSample.h"
#include "midi/KTFileReader.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

// An AIFF or WAV file opened for import. The subclasses read the header when
// constructed and the PCM data on request. Also holds the reading primitives
// both formats share: fields cut short by the end of the file read as zero,
// skips never pass the end, and a failed read leaves the stream usable.
class KTAudioFileReader : public KTFileReader {
public:
    explicit KTAudioFileReader(const char* path);
    ~KTAudioFileReader() override;
    // The reader of the file's format: AIFF when its header says so, else WAV
    // (whose isValid() tells whether it is either).
    static std::unique_ptr<KTAudioFileReader> open(const char* path);

    virtual bool isValid() const = 0;
    virtual bool isSupported() const = 0;
    // Reads the format and at most `limit` bytes of sound data (0: all of it).
    virtual KTSample readSample(std::uint64_t limit) = 0;

    // The format fields readSample would give, without the sound data; lets a
    // caller size the byte limit before reading.
    KTSample readFormat();
    // Bytes of sound data the file holds, whatever limit the last read had:
    // the size its header declares, cut to what the file still holds. Float
    // data counts as the 16-bit samples readSample makes of it.
    std::uint64_t soundBytes() const { return mSoundBytes; }
    // Makes readSample start this many frames into the sound data, so that a
    // part late in a long file costs no more to read than its start.
    void setStartFrame(std::uint64_t frame) { mStartFrame = frame; }
    // Float samples the last readSample found beyond full scale and clipped.
    std::uint64_t clippedSamples() const { return mClipped; }

protected:
    enum class ByteOrder { BigEndian, LittleEndian };

    // Size of the whole file, not the size its header declares; measured once.
    std::uint64_t fileSize() const { return mFileSize; }
    std::uint64_t position();
    void seekTo(std::uint64_t offset);
    // Reads n bytes into a zeroed buffer of n bytes; missing bytes stay zero.
    KTBuffer readField(std::size_t n);
    // An unsigned field of n bytes (at most 8); missing bytes read as zero.
    std::uint64_t readUnsigned(std::size_t n, ByteOrder order);
    std::uint32_t readCode();
    // Moves forward n bytes unless that passes the end of the file. Short
    // moves read through the stream's buffer instead of seeking, which would
    // throw the buffer away: reading stays one pass over the file.
    void skip(std::uint64_t n);
    // Whether `count` whole bytes are left to read.
    bool hasBytes(std::uint64_t count);

    // The chunks a format reads, searched for after the 12-byte container
    // header in one pass over the file (done on the first search).
    void setWantedChunks(std::initializer_list<std::uint32_t> ids, ByteOrder order);
    // findChunk stops just after the identifier; findChunkWithSize reads the
    // size too and returns it. Odd-sized chunks are followed by a pad byte.
    bool findChunk(std::uint32_t wanted);
    std::optional<std::uint32_t> findChunkWithSize(std::uint32_t wanted);

    // Reads a data block of at most `length` bytes, from the start frame on
    // (frames of frameBytes), cut to `limit` when that is not 0 and to what
    // the file still holds.
    KTBuffer readBlock(std::uint64_t length, std::uint64_t limit, std::uint64_t frameBytes);
    // The same for float samples of `width` bytes (4 or 8) in the given byte
    // order, turned into 16-bit PCM: scaled by 32,768, rounded to nearest
    // (halves away from zero) and clipped to full scale; NaN becomes 0. The
    // limit counts 16-bit bytes, as readSample's does.
    KTBuffer readFloatBlock(std::uint64_t length, std::uint64_t limit, std::uint16_t channels, std::size_t width,
                            ByteOrder order);

private:
    // Where a wanted chunk's identifier ends, and its size when the file
    // holds it.
    struct ChunkPlace {
        std::uint32_t id = 0;
        std::uint64_t afterId = 0;
        std::optional<std::uint32_t> size;
    };

    void indexChunks();
    // Moves forward n bytes from `here`, which the caller knows to be the position.
    void moveForward(std::uint64_t here, std::uint64_t n);
    const ChunkPlace* place(std::uint32_t wanted);

    std::uint64_t mFileSize = 0;
    std::uint64_t mSoundBytes = 0;
    std::uint64_t mStartFrame = 0;
    std::uint64_t mClipped = 0;
    ByteOrder mChunkOrder = ByteOrder::BigEndian;
    std::vector<std::uint32_t> mWantedChunks;
    std::vector<ChunkPlace> mChunks;
    bool mIndexed = false;
};
