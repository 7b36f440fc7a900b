#include "app/platform/qt/KTWaveformViewport.h"

#include <algorithm>
#include <cmath>

void KTWaveformViewport::setSamples(std::size_t samples)
{
    if (samples == mSamples)
        return;
    mSamples = samples;
    showAll();
}

void KTWaveformViewport::setWidth(int width)
{
    const bool wasWhole = whole();
    mWidth = std::max(width, 0);
    if (wasWhole)
        return showAll();
    mVisible = std::max(mVisible, fewestVisible());
    scrollTo(mFirst);
}

std::size_t KTWaveformViewport::sampleAt(int x) const
{
    if (mWidth == 0)
        return mFirst;
    const auto column = static_cast<std::size_t>(std::clamp(x, 0, mWidth - 1));
    return mFirst + column * mVisible / static_cast<std::size_t>(mWidth);
}

std::size_t KTWaveformViewport::boundaryAt(int x) const
{
    if (mWidth == 0)
        return mFirst;
    const std::int64_t width = mWidth;
    // x * visible / width rounded to nearest, for pixels left of the columns as well.
    const std::int64_t halfUp = std::int64_t{x} * static_cast<std::int64_t>(mVisible) + width / 2;
    const std::int64_t offset = halfUp >= 0 ? halfUp / width : -((width - 1 - halfUp) / width);
    const std::int64_t boundary = static_cast<std::int64_t>(mFirst) + offset;
    return static_cast<std::size_t>(std::clamp<std::int64_t>(boundary, 0, static_cast<std::int64_t>(mSamples)));
}

std::int64_t KTWaveformViewport::pixelOf(std::size_t boundary) const
{
    if (mVisible == 0)
        return 0;
    const std::int64_t offset = static_cast<std::int64_t>(boundary) - static_cast<std::int64_t>(mFirst);
    const double pixel = std::ceil(static_cast<double>(offset) * mWidth / static_cast<double>(mVisible));
    return static_cast<std::int64_t>(std::clamp(pixel, -1.0, mWidth + 1.0));
}

std::optional<int> KTWaveformViewport::columnOf(std::size_t sample) const
{
    if (sample < mFirst || sample >= mFirst + mVisible || mVisible == 0)
        return std::nullopt;
    return static_cast<int>((sample - mFirst) * static_cast<std::size_t>(mWidth) / mVisible);
}

std::size_t KTWaveformViewport::columnSamples() const
{
    return mWidth == 0 ? 1 : std::max<std::size_t>(1, mVisible / static_cast<std::size_t>(mWidth));
}

std::size_t KTWaveformViewport::fewestVisible() const
{
    const std::size_t fewest = (static_cast<std::size_t>(mWidth) + kPixelsPerSample - 1) / kPixelsPerSample;
    return std::min(mSamples, std::max<std::size_t>(fewest, 1));
}

void KTWaveformViewport::zoom(double factor, std::size_t sample, int x)
{
    if (mWidth == 0 || mSamples == 0 || !(factor > 0.0))
        return;
    const double wanted = std::round(static_cast<double>(mVisible) / factor);
    const auto visible = static_cast<std::size_t>(
        std::clamp(wanted, static_cast<double>(fewestVisible()), static_cast<double>(mSamples)));
    // At either limit the view stays where it is.
    if (visible == mVisible)
        return;
    mVisible = visible;
    const std::size_t before = static_cast<std::size_t>(std::clamp(x, 0, mWidth - 1)) * mVisible / static_cast<std::size_t>(mWidth);
    scrollTo(sample > before ? sample - before : 0);
}

void KTWaveformViewport::showAll()
{
    mFirst = 0;
    mVisible = mSamples;
}

void KTWaveformViewport::scrollTo(std::size_t first)
{
    mFirst = std::min(first, mSamples - std::min(mVisible, mSamples));
}

void KTWaveformViewport::reveal(std::size_t boundary)
{
    if (boundary < mFirst)
        scrollTo(boundary);
    else if (boundary > mFirst + mVisible)
        scrollTo(boundary - mVisible);
}
