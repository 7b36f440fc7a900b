#pragma once

#include "device/TLSampleRange.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// Which of a waveform's samples are shown across its pixel columns: all of
// them, or a run of them when zoomed in, down to kPixelsPerSample pixels a
// sample. Column x shows the samples from first + x * visible / width up to
// first + (x + 1) * visible / width, so a zoom that keeps a column's sample
// keeps it exactly. Plain arithmetic, free of the toolkit.
class KTWaveformViewport {
public:
    static constexpr std::size_t kPixelsPerSample = 8;

    // A new length shows everything; the same length keeps the zoom.
    void setSamples(std::size_t samples);
    // A whole view stays whole; a zoomed one keeps its samples a column where it can.
    void setWidth(int width);

    std::size_t samples() const { return mSamples; }
    int width() const { return mWidth; }
    TLSampleRange range() const { return {mFirst, mFirst + mVisible}; }
    bool whole() const { return mVisible >= mSamples; }

    // The first sample column x shows.
    std::size_t sampleAt(int x) const;
    // The boundary between samples nearest pixel x, which may lie outside the
    // columns; 0 to samples().
    std::size_t boundaryAt(int x) const;
    // The pixel where a boundary lies, outside 0..width when it is not shown.
    std::int64_t pixelOf(std::size_t boundary) const;
    // The column that shows the sample; none when it is not shown.
    std::optional<int> columnOf(std::size_t sample) const;
    // The samples one column covers, at least 1: the step of a keyboard move.
    std::size_t columnSamples() const;

    // Shows visible / factor samples, within the limits, with `sample` staying
    // at column x; at a limit nothing moves.
    void zoom(double factor, std::size_t sample, int x);
    void showAll();
    void scrollTo(std::size_t first);
    // Scrolls just far enough to show the boundary.
    void reveal(std::size_t boundary);

private:
    std::size_t fewestVisible() const;

    std::size_t mSamples = 0;
    std::size_t mFirst = 0;
    std::size_t mVisible = 0;
    int mWidth = 0;
};
