#include "app/platform/qt/KTQtProgressIndicator.h"

#include <QProgressBar>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int toMilliseconds(double seconds)
{
    const double ms = std::round(seconds * 1000.0);
    if (!(ms > 0.0))
        return 0;
    return static_cast<int>(std::min(ms, double(std::numeric_limits<int>::max())));
}

} // namespace

void KTQtProgressIndicator::setIndeterminate(bool indeterminate)
{
    mIndeterminate = indeterminate;
    apply();
}

void KTQtProgressIndicator::setDoubleValue(double value)
{
    mValue = value;
    apply();
}

void KTQtProgressIndicator::setMaxValue(double maximum)
{
    mMax = maximum;
    apply();
}

void KTQtProgressIndicator::display()
{
    mBar->repaint();
}

void KTQtProgressIndicator::apply()
{
    if (mIndeterminate) {
        mBar->setRange(0, 0);
        return;
    }
    const int maximum = toMilliseconds(mMax);
    mBar->setRange(0, maximum);
    mBar->setValue(std::clamp(toMilliseconds(mValue), 0, maximum));
}
