#pragma once

#include "device/TLWriteResult.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// The one rule every file the program writes goes through. A file is replaced
// only by a complete new one: the bytes go to a new file beside the target,
// are synced, and the new file is renamed over the target; then the folder is
// synced. A symbolic link is followed and the file it names replaced, so the
// link stays a link; the replaced file's permission bits are kept. An existing
// target that is not a regular file (device, pipe, socket, folder) is refused,
// and so is a target that is one of the same command's inputs. On failure the
// target is untouched, no temporary file is left, and the system's reason is
// returned. SIGINT, SIGTERM and SIGHUP during a write remove the temporary
// file before they end the program.
//
// Writes are made from one thread at a time.
class TLSafeWrite {
public:
    static constexpr char kNotRegular[] = "not a regular file";
    static constexpr char kIsAnInput[] = "it is also an input of this command";

    // Why target cannot be written as the output of a command that reads
    // `inputs`: empty when it can. Compares the files the paths name after
    // following links, so a link to an input is refused too.
    static std::string refusal(const std::filesystem::path& target,
                               const std::vector<std::filesystem::path>& inputs = {});
    // Replaces target with the bytes.
    static TLWriteResult replace(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);
    // Writes the bytes to an open descriptor (standard output), all of them.
    static TLWriteResult writeAll(int descriptor, std::span<const std::uint8_t> bytes);
    // The file a path names after following every symbolic link, including a
    // dangling last one; the path itself when it is no link.
    static std::filesystem::path resolvedTarget(const std::filesystem::path& target);
};
