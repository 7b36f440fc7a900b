#include "cli/OrvaneDiskOutput.h"

#include "cli/OrvaneCliError.h"

#include <system_error>

#include <unistd.h>

void OrvaneDiskOutput::fail(const std::filesystem::path& path)
{
    std::error_code error;
    const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    std::string reason = "cannot be written";
    if (!std::filesystem::is_directory(folder, error))
        reason += ": no such folder";
    else if (::access(folder.c_str(), W_OK) != 0)
        reason += ": the folder is not writable";
    else if (std::filesystem::is_directory(path, error))
        reason += ": it is a folder";
    throw OrvaneCliError::failure(path.string(), reason);
}
