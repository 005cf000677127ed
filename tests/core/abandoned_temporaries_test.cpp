// Which temporary files the next run in a folder removes: only abandoned ones (this user's,
// unlocked, not written for a while), never a link, another user's file or a living run's.

#include "abandoned_temporaries.h"
#include "hostile_support.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using velkaro::AbandonedTemporaries;
using velkaro::test::TempDir;

void age(const std::string &path, std::time_t seconds) {
    const timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

TEST(AbandonedTemporaries, RemovesOnlyWhatNoLivingRunHolds) {
    TempDir dir;
    const auto file = [&](const char *tag) {
        return dir.file(std::string(".velkaro-") + tag + ".tmp");
    };
    const std::string abandoned = file("000000000000000a"), fresh = file("000000000000000b"),
                      living = file("000000000000000c"), link = file("000000000000000d"),
                      foreign = file("000000000000000e"), other = dir.file("keep.tmp");
    for (const std::string &path : {abandoned, fresh, living, foreign, other}) {
        velkaro::test::writeBytes(path, "x");
    }
    fs::create_symlink(other, link);
    const std::string fifo = file("000000000000000f");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const bool chowned =
        velkaro::test::runningAsRoot() && chown(foreign.c_str(), 65534, 65534) == 0;
    const int holder = open(living.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_TRUE(AbandonedTemporaries::markAlive(holder));
    for (const std::string &path : {abandoned, living, link, foreign, other, fifo}) {
        age(path, 60);
    }
    age(fresh, 2);
    EXPECT_FALSE(AbandonedTemporaries::isTemporaryName(".velkaro-0123456789ABCDEF.tmp"));
    AbandonedTemporaries::removeIn(dir.folder());
    close(holder);
    EXPECT_FALSE(fs::exists(abandoned));
    EXPECT_TRUE(fs::exists(fresh));
    EXPECT_TRUE(fs::exists(living));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(fs::exists(foreign), chowned);
}

} // namespace
