#include "cli/OrvaneSendProgress.h"

#include "cli/OrvaneArgumentText.h"

#include <cstdio>

OrvaneSendProgress::OrvaneSendProgress(bool enabled) : mEnabled(enabled) {}

void OrvaneSendProgress::show(const TLSendProgress& progress, const std::string& bankName)
{
    if (!mEnabled)
        return;
    if (progress.bank != mBank)
        finish();
    mBank = progress.bank;
    const int secondsLeft = static_cast<int>(progress.secondsLeft + 0.5);
    std::fprintf(stderr, "\rbank %d \"%s\": %3d%%  %zu/%zu bytes  %d:%02d left ", progress.bank + 1,
                 OrvaneArgumentText::escaped(bankName).c_str(), static_cast<int>(progress.fraction * 100),
                 static_cast<std::size_t>(progress.fraction * static_cast<double>(progress.bytes)), progress.bytes,
                 secondsLeft / 60, secondsLeft % 60);
    mLineOpen = true;
}

void OrvaneSendProgress::finish()
{
    if (mLineOpen)
        std::fputc('\n', stderr);
    mLineOpen = false;
}
