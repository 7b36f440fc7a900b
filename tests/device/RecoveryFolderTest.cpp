// The recovery folder: where the environment puts it, and its locks between
// editors running side by side (each folder object stands for one editor).

#include "device/TLRecoveryFolder.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

TEST(RecoveryFolder, FollowsXdgStateHomeWhenItIsAbsolute)
{
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const struct {
        const char* state;
        const char* expected;
    } cases[] = {
        {"/var/state", "/var/state/OrvaneEditor"},
        {"relative/state", "/home/u/.local/state/OrvaneEditor"},
        {"", "/home/u/.local/state/OrvaneEditor"},
        {nullptr, "/home/u/.local/state/OrvaneEditor"},
    };
    setenv("HOME", "/home/u", 1);
    for (const auto& c : cases) {
        c.state ? setenv("XDG_STATE_HOME", c.state, 1) : unsetenv("XDG_STATE_HOME");
        EXPECT_EQ(TLRecoveryFolder::defaultFolder(), fs::path(c.expected)) << (c.state ? c.state : "unset");
    }
    setenv("HOME", savedHome.c_str(), 1);
}

TEST(RecoveryFolder, AFileIsAnOrphanOnlyOnceItsEditorIsGone)
{
    TestFolder folder;
    const fs::path where = folder.path("recovery");
    // A file is named by the process and the millisecond its editor started:
    // the editors here share the process, so they start a few milliseconds apart.
    const auto started = [](TLRecoveryFolder& editor) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return editor.claim();
    };
    auto first = std::make_unique<TLRecoveryFolder>(where);
    TLRecoveryFolder second(where);
    ASSERT_EQ(started(*first), "");
    ASSERT_EQ(started(second), "");
    EXPECT_NE(first->ownFile(), second.ownFile());
    std::ofstream(first->ownFile()) << "banks";
    EXPECT_TRUE(second.orphans().empty()) << "its editor still runs";

    const fs::path left = first->ownFile();
    first.reset(); // ended without a clean end
    EXPECT_EQ(second.orphans(), std::vector<fs::path>{left});
    TLRecoveryFolder third(where);
    ASSERT_EQ(started(third), "");
    EXPECT_TRUE(third.orphans().empty()) << "the second editor is offering it";
    second.remove(left);
    EXPECT_FALSE(fs::exists(left));
    EXPECT_TRUE(third.orphans().empty());

    second.release(); // a clean end takes its own file and lock
    EXPECT_FALSE(fs::exists(second.ownFile()));
}
