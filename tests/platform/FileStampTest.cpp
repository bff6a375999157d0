#include "platform/FileStamp.h"

#include "TempFolder.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

using Link = FileStamp::Link;

TEST(FileStampTest, NothingToStampGivesTheEmptyStamp)
{
    TempFolder folder;
    for (Link link : {Link::Follow, Link::Itself}) {
        EXPECT_EQ(FileStamp::of("", link), FileStamp{});
        EXPECT_EQ(FileStamp::of(folder / "missing", link), FileStamp{});
        EXPECT_FALSE(FileStamp::of(folder / "missing/below", link).exists);
    }
}

TEST(FileStampTest, AWriteThatTouchesTheFileChangesItsStamp)
{
    TempFolder folder;
    const std::string path = folder / "page.bmp";
    folder.write("page.bmp", "four");
    const FileStamp first = FileStamp::of(path, Link::Follow);
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.size, 4);
    EXPECT_EQ(FileStamp::of(path, Link::Follow), first) << "nothing touched it";

    folder.write("page.bmp", "longer");
    const FileStamp rewritten = FileStamp::of(path, Link::Follow);
    EXPECT_NE(rewritten, first);
    EXPECT_EQ(rewritten.size, 6);

    // Another file put in its place, same size: another inode.
    folder.write("other", "longer");
    const ino_t replacing = FileStamp::of(folder / "other", Link::Follow).inode;
    ASSERT_EQ(std::rename((folder / "other").c_str(), path.c_str()), 0);
    EXPECT_EQ(FileStamp::of(path, Link::Follow).inode, replacing);
    EXPECT_NE(FileStamp::of(path, Link::Follow), rewritten);
}

TEST(FileStampTest, ALinkIsFollowedOrStampedItself)
{
    const struct {
        const char* name;
        bool targetThere;
        bool followedExists;
    } cases[] = {
        {"to a file", true, true},
        {"to nothing", false, false},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        if (c.targetThere)
            folder.write("target", "0123456789");
        const std::string link = folder / "link";
        ASSERT_EQ(::symlink((folder / "target").c_str(), link.c_str()), 0) << c.name;

        const FileStamp followed = FileStamp::of(link, Link::Follow);
        EXPECT_EQ(followed.exists, c.followedExists) << c.name;
        EXPECT_EQ(followed, FileStamp::of(folder / "target", Link::Itself)) << c.name;

        const FileStamp itself = FileStamp::of(link, Link::Itself);
        EXPECT_TRUE(itself.exists) << c.name;
        EXPECT_NE(itself.inode, followed.inode) << c.name;
        EXPECT_EQ(itself.size, static_cast<off_t>((folder / "target").size())) << c.name;
    }
}
