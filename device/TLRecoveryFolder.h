#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Where the recovery files live ($XDG_STATE_HOME/OrvaneEditor, by default
// ~/.local/state/OrvaneEditor), one for each running editor. Each file has a
// lock file beside it, held (flock) by its editor while it runs, so that
// editors running side by side never take each other's file, and a file
// whose lock is free was left by an editor that ended without cleaning up.
class TLRecoveryFolder {
public:
    explicit TLRecoveryFolder(std::filesystem::path folder);
    ~TLRecoveryFolder();
    TLRecoveryFolder(const TLRecoveryFolder&) = delete;
    TLRecoveryFolder& operator=(const TLRecoveryFolder&) = delete;

    // The folder the environment names.
    static std::filesystem::path defaultFolder();

    // Makes the folder and takes this editor's lock; the reason on failure,
    // empty when this editor has its own file to write.
    std::string claim();
    const std::filesystem::path& ownFile() const { return mOwnFile; }
    // Recovery files whose editor no longer runs, newest first. Their locks
    // are taken, so no other editor offers them meanwhile.
    std::vector<std::filesystem::path> orphans();
    // Removes a recovery file; an orphan's lock goes with it. This editor's
    // own lock stays while it runs, so no other editor takes its next file.
    void remove(const std::filesystem::path& file);
    // A clean end: this editor's file and lock go.
    void release();

private:
    static std::filesystem::path lockOf(const std::filesystem::path& file);
    // Takes the lock of a file; its descriptor, or -1 when another editor has it.
    static int lock(const std::filesystem::path& file);

    std::filesystem::path mFolder;
    std::filesystem::path mOwnFile;
    // Locks held: this editor's own and those of the orphans it is offering.
    std::vector<std::pair<std::filesystem::path, int>> mLocks;
};
