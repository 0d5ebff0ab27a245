// The directory walk behind -r: which entries reach the caller, in which
// order and under which names, and which are reported instead.
#include "Walk.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace charsetkit {
namespace test {
namespace {

namespace fs = std::filesystem;

class WalkTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "charsetkit-walk-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(m_root / "locked", fs::perms::owner_all, ignored);
        fs::remove_all(m_root, ignored);
    }

    void file(const std::string& name) {
        fs::create_directories((m_root / name).parent_path());
        std::ofstream(m_root / name) << "abc";
    }

    using Errors = std::vector<std::pair<std::string, std::string>>;
    struct Walked {
        std::vector<std::string> files;
        Errors errors;
    };

    Walked walk(const std::string& start) const {
        Walked walked;
        tool::walkTree(
            start, [&](const std::string& path) { walked.files.push_back(path); },
            [&](const std::string& path, const std::string& why) {
                walked.errors.emplace_back(path, why);
            });
        return walked;
    }

    std::string root() const { return m_root.string(); }

    fs::path m_root;
};

TEST_F(WalkTest, DepthFirstInByteOrderOfTheNames) {
    for (const char* name : {"b/c/z", "b/k", "a/e", "B", "a0", "b/c0", "\xc3\xa9"}) {
        file(name);
    }
    const Walked walked = walk(root());
    const std::string r = root() + "/";
    EXPECT_EQ(walked.files, (std::vector<std::string>{r + "B", r + "a/e", r + "a0", r + "b/c/z",
                                                      r + "b/c0", r + "b/k", r + "\xc3\xa9"}));
    EXPECT_TRUE(walked.errors.empty());
}

TEST_F(WalkTest, NamesJoinTheStartAsGiven) {
    file("d/f");
    EXPECT_EQ(walk(root() + "/d/").files, std::vector<std::string>{root() + "/d/f"});
    EXPECT_EQ(walk(root() + "//d").files, std::vector<std::string>{root() + "//d/f"});
}

TEST_F(WalkTest, LinksToFilesAreFollowedLinksToDirectoriesAndSpecialFilesAreNot) {
    file("d/f");
    fs::create_directory_symlink(m_root, m_root / "d/loop");
    fs::create_symlink(m_root / "d/f", m_root / "d/link");
    ASSERT_EQ(mkfifo((m_root / "d/fifo").c_str(), 0600), 0);
    const Walked walked = walk(root());
    EXPECT_EQ(walked.files, (std::vector<std::string>{root() + "/d/f", root() + "/d/link"}));
    EXPECT_TRUE(walked.errors.empty());
}

TEST_F(WalkTest, ALinkToNothingIsReportedAndTheWalkGoesOn) {
    file("z");
    fs::create_symlink(m_root / "missing", m_root / "dangling");
    const Walked walked = walk(root());
    EXPECT_EQ(walked.files, std::vector<std::string>{root() + "/z"});
    EXPECT_EQ(walked.errors, (Errors{{root() + "/dangling", "No such file or directory"}}));
}

TEST_F(WalkTest, AnUnreadableDirectoryIsReportedAndTheWalkGoesOn) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not apply to root";
    }
    file("locked/f");
    file("z");
    fs::permissions(m_root / "locked", fs::perms::none);
    const Walked walked = walk(root());
    EXPECT_EQ(walked.files, std::vector<std::string>{root() + "/z"});
    EXPECT_EQ(walked.errors, (Errors{{root() + "/locked", "Permission denied"}}));
}

TEST_F(WalkTest, AMissingStartIsReported) {
    const Walked walked = walk(root() + "/missing");
    EXPECT_TRUE(walked.files.empty());
    EXPECT_EQ(walked.errors, (Errors{{root() + "/missing", "No such file or directory"}}));
}

TEST(IsDirectoryTest, FollowsLinksAndNeverTakesStandardInput) {
    EXPECT_TRUE(tool::isDirectory("."));
    EXPECT_FALSE(tool::isDirectory("-"));
    EXPECT_FALSE(tool::isDirectory(""));
    EXPECT_FALSE(tool::isDirectory("/dev/null"));
}

} // namespace
} // namespace test
} // namespace charsetkit
