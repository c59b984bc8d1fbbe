#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "base/atomic_file.h"
#include "support/files_and_commands.h"

using namespace quib;
namespace fs = std::filesystem;

namespace {

class AtomicFileTest : public testing::Test {
protected:
    void SetUp() override { m_umask = ::umask(022); }
    void TearDown() override { ::umask(m_umask); }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    std::set<std::string> names() const {
        std::set<std::string> out;
        for (const auto& entry : fs::directory_iterator(m_dir))
            out.insert(entry.path().filename().string());
        return out;
    }
    static mode_t modeOf(const std::string& file) {
        struct stat info {};
        EXPECT_EQ(::stat(file.c_str(), &info), 0) << file;
        return info.st_mode & 07777;
    }
    static void makeOld(const std::string& file, int minutes) {
        const timespec times[2] = {{::time(nullptr) - minutes * 60, 0}, {::time(nullptr) - minutes * 60, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << file;
    }

    test::TempDir m_temp;
    const fs::path m_dir = m_temp.dir();
    mode_t m_umask = 022;
};

}  // namespace

TEST_F(AtomicFileTest, ReplacesTheContentWhole) {
    struct Case {
        const char* what;
        bool oldFile;
        std::vector<std::string> pieces;  // streamed one by one, then committed
        size_t nameLength = 0;            // 0: file.bin
    };
    const std::string big(200 * 1024 + 7, 'b');  // more than the writer buffers at once
    const Case cases[] = {
        {"new file", false, {"hello"}},
        {"empty content", true, {}},
        {"small pieces", true, {"a", "bc", "", "def"}},
        {"pieces around a big one", true, {"head", big, "tail", big}},
        {"name of 255 bytes, the limit", true, {"new"}, 255},
    };
    for (const Case& c : cases) {
        const std::string name = c.nameLength ? std::string(c.nameLength, 'n') : "file.bin";
        const std::string target = path(name);
        if (c.oldFile)
            test::writeFile(target, std::string(1000, 'o'));
        AtomicFile file;
        ASSERT_TRUE(file.open(target)) << c.what;
        std::string expected;
        for (const std::string& piece : c.pieces) {
            ASSERT_TRUE(file.write(piece)) << c.what;
            expected += piece;
        }
        EXPECT_EQ(file.size(), expected.size()) << c.what;
        ASSERT_TRUE(file.commit()) << c.what;
        EXPECT_EQ(test::readFile(target), expected) << c.what;
        EXPECT_EQ(names(), std::set<std::string>{name}) << c.what;
        fs::remove(target);
    }
}

TEST_F(AtomicFileTest, DroppedOrDiscardedWithoutCommitLeavesNothing) {
    const std::string target = path("doc.txt");
    test::writeFile(target, "old");
    {
        AtomicFile dropped;
        ASSERT_TRUE(dropped.open(target));
        ASSERT_TRUE(dropped.write(std::string("new")));
    }
    AtomicFile discarded;
    ASSERT_TRUE(discarded.open(target));
    discarded.discard();
    EXPECT_FALSE(discarded.commit());
    EXPECT_EQ(test::readFile(target), "old");
    EXPECT_EQ(names(), std::set<std::string>{"doc.txt"});
}

TEST_F(AtomicFileTest, ModeOfTheReplacedFileOrOfANewFile) {
    // Old mode (-1: a new file), executable, the mode expected with umask 022.
    for (const auto& [oldMode, executable, expected] :
         {std::tuple{-1, false, 0644}, {0600, false, 0600}, {0600, true, 0700}}) {
        SCOPED_TRACE(testing::Message() << oldMode << " " << executable);
        const std::string target = path("mode");
        fs::remove(target);
        if (oldMode >= 0) {
            test::writeFile(target, "old");
            ASSERT_EQ(::chmod(target.c_str(), mode_t(oldMode)), 0);
        }
        AtomicFile file;
        file.setExecutable(executable);
        ASSERT_TRUE(file.open(target) && file.commit(std::string("new")));
        EXPECT_EQ(modeOf(target), mode_t(expected));
    }
}

TEST_F(AtomicFileTest, OwnerAndGroupOfTheReplacedFileStay) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can make a file of another owner";
    const std::string target = path("owned");
    test::writeFile(target, "old");
    ASSERT_EQ(::chown(target.c_str(), 4321, 4322), 0);
    ASSERT_TRUE(writeFileAtomically(target, std::string("new")));
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 4322u);
}

TEST_F(AtomicFileTest, SavingThroughSymbolicLinksReplacesTheFinalTargetAndALoopFails) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links;  // name, what it points at
        bool oldTarget;
    };
    fs::create_directory(m_dir / "real");
    const Case cases[] = {
        {"absolute link", {{"link", path("real/data.txt")}}, true},
        {"chain of links", {{"link", "middle"}, {"middle", "real/data.txt"}}, true},
        {"link into a folder, relative there", {{"link", "real/inner"}, {"real/inner", "data.txt"}}, true},
        {"dangling link", {{"link", "real/data.txt"}}, false},
    };
    for (const Case& c : cases) {
        fs::remove(path("real/data.txt"));
        for (const auto& link : c.links) {
            fs::remove(path(link.first));
            fs::create_symlink(link.second, path(link.first));
        }
        if (c.oldTarget)
            test::writeFile(path("real/data.txt"), "old");
        AtomicFile file;
        ASSERT_TRUE(file.open(path("link"))) << c.what;
        EXPECT_EQ(file.target().substr(file.target().size() - 13), "real/data.txt") << c.what;
        ASSERT_TRUE(file.commit(std::string("new"))) << c.what;
        EXPECT_EQ(test::readFile(path("real/data.txt")), "new") << c.what;
        for (const auto& link : c.links)
            EXPECT_TRUE(fs::is_symlink(path(link.first))) << c.what << ": " << link.first;
        for (const auto& link : c.links)
            fs::remove(path(link.first));
    }
    // A loop of links fails without writing.
    fs::create_symlink("b", path("a"));
    fs::create_symlink("a", path("b"));
    EXPECT_FALSE(writeFileAtomically(path("a"), std::string("x")));
    EXPECT_TRUE(fs::is_symlink(path("a")));
    EXPECT_EQ(names(), (std::set<std::string>{"a", "b", "real"}));
}

TEST_F(AtomicFileTest, TargetsThatCannotBeWrittenFailAtOpen) {
    test::writeFile(path("plain"), "a file");
    fs::create_directory(m_dir / "folder");
    AtomicFile missing;
    EXPECT_FALSE(missing.open(path("plain/x.txt")));
    EXPECT_FALSE(missing.commit(std::string("x")));
    // A folder in the target's place is found at commit; it stays as it was.
    AtomicFile file;
    ASSERT_TRUE(file.open(path("folder")));
    EXPECT_FALSE(file.commit(std::string("x")));
    EXPECT_TRUE(fs::is_directory(m_dir / "folder"));
    EXPECT_EQ(names(), (std::set<std::string>{"plain", "folder"}));
}

TEST_F(AtomicFileTest, OpenRemovesOnlyStaleTemporariesOfItsOwn) {
    struct Case {
        std::string name;
        int minutesOld;
        bool removed;
    };
    const Case cases[] = {
        {".qb-Ab3dE9", 60, true},      // a killed save
        {".qb-Ab3dE8.png", 60, true},  // a killed save with an extension
        {".qb-Ab3dE7", 1, false},      // perhaps another save at work
        {".qb-Ab3d", 60, false},       // not our pattern
        {".qb-Ab3dE6x", 60, false},    // not our pattern
    };
    for (const Case& c : cases) {
        test::writeFile(path(c.name), "left over");
        makeOld(path(c.name), c.minutesOld);
    }
    fs::create_directory(m_dir / ".qb-Folder");
    makeOld(path(".qb-Folder"), 60);
    if (::geteuid() == 0) {
        test::writeFile(path(".qb-Other1"), "another user's");
        ASSERT_EQ(::chown(path(".qb-Other1").c_str(), 4321, 4321), 0);
        makeOld(path(".qb-Other1"), 60);
    }
    ASSERT_TRUE(writeFileAtomically(path("saved"), std::string("x")));
    for (const Case& c : cases)
        EXPECT_EQ(fs::exists(path(c.name)), !c.removed) << c.name;
    EXPECT_TRUE(fs::exists(path(".qb-Folder")));
    if (::geteuid() == 0) {
        EXPECT_TRUE(fs::exists(path(".qb-Other1")));
    }
}

TEST_F(AtomicFileTest, TemporaryKeepsTheExtensionAndIsKeptForAWriterLongAtWork) {
    AtomicFile slow;
    ASSERT_TRUE(slow.open(path("export.htm"), ".htm"));
    EXPECT_EQ(fs::path(slow.temporaryPath()).extension(), ".htm");
    makeOld(slow.temporaryPath(), 60);
    ASSERT_TRUE(writeFileAtomically(path("image.png"), std::string("img")));
    EXPECT_TRUE(fs::exists(slow.temporaryPath()));
    EXPECT_TRUE(slow.commit(std::string("page")));
    EXPECT_EQ(test::readFile(path("export.htm")), "page");
}
