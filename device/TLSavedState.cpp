#include "device/TLSavedState.h"

#include "device/TLOrvane.h"

#include <filesystem>
#include <system_error>

TLSavedState::TLSavedState(const TLOrvane& orvane)
    : mDisks(TLOrvane::kBankCount)
{
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank)
        mSaved.push_back(TLBankSnapshot::of(orvane, bank));
}

std::string TLSavedState::fileOf(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path file = std::filesystem::weakly_canonical(path, error);
    return error ? path : file.string();
}

void TLSavedState::markSaved(const TLOrvane& orvane, int bank, const std::string& path)
{
    const auto index = static_cast<std::size_t>(bank);
    mSaved[index] = TLBankSnapshot::of(orvane, bank);
    mDisks[index] = fileOf(path);
}

void TLSavedState::diskReplaced(const std::string& path)
{
    const std::string file = fileOf(path);
    for (std::size_t bank = 0; bank < mDisks.size(); ++bank) {
        if (mDisks[bank] != file)
            continue;
        // No content matches a snapshot without samples: a bank always has them.
        mSaved[bank].samples.clear();
        mDisks[bank].clear();
    }
}

bool TLSavedState::isUnsaved(const TLOrvane& orvane, int bank) const
{
    return !mSaved[static_cast<std::size_t>(bank)].matches(orvane);
}

std::vector<int> TLSavedState::unsavedBanks(const TLOrvane& orvane) const
{
    std::vector<int> banks;
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank)
        if (isUnsaved(orvane, bank))
            banks.push_back(bank);
    return banks;
}
