#include "cli/OrvaneDiskInput.h"

#include "cli/OrvaneCliError.h"
#include "device/TLDiskLoader.h"

OrvaneDiskInput OrvaneDiskInput::load(const std::string& path, TLOrvane& orvane)
{
    const TLDiskReport report = TLDiskLoader::examine(path, orvane);
    if (!report.loadable())
        throw OrvaneCliError::failure(path, report.reason);
    TLDiskLoader::load(report, orvane);
    return {report.shape, report.banks};
}

void OrvaneDiskInput::require(int bank, const std::string& path) const
{
    if (std::find(banks.begin(), banks.end(), bank) == banks.end())
        throw OrvaneCliError::failure(path, "holds no bank " + std::to_string(bank + 1));
}
