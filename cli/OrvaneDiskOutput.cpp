#include "cli/OrvaneDiskOutput.h"

#include "cli/OrvaneCliError.h"

#include <system_error>

#include <unistd.h>

namespace {

// Why the file cannot be written, when that can be seen from outside; empty otherwise.
std::string visibleReason(const std::filesystem::path& path)
{
    std::error_code error;
    const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    if (!std::filesystem::is_directory(folder, error))
        return ": no such folder";
    if (::access(folder.c_str(), W_OK) != 0)
        return ": the folder is not writable";
    if (std::filesystem::is_directory(path, error))
        return ": it is a folder";
    return {};
}

} // namespace

void OrvaneDiskOutput::fail(const std::filesystem::path& path)
{
    throw OrvaneCliError::failure(path.string(), "cannot be written" + visibleReason(path));
}

void OrvaneDiskOutput::check(const std::filesystem::path& path)
{
    const std::string reason = visibleReason(path);
    if (!reason.empty())
        throw OrvaneCliError::failure(path.string(), "cannot be written" + reason);
}
