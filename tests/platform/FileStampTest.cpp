#include "platform/FileStamp.h"

#include "TempFolder.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

using Link = FileStamp::Link;

TEST(FileStampTest, AWriteThatTouchesTheFileChangesItsStamp)
{
    TempFolder folder;
    const std::string path = folder / "page.bmp";
    EXPECT_EQ(FileStamp::of("", Link::Follow), FileStamp{});
    EXPECT_EQ(FileStamp::of(path, Link::Itself), FileStamp{}) << "no file yet";

    folder.write("page.bmp", "four");
    const FileStamp first = FileStamp::of(path, Link::Follow);
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.size, 4);
    EXPECT_EQ(FileStamp::of(path, Link::Follow), first) << "nothing touched it";
    folder.write("page.bmp", "longer");
    EXPECT_NE(FileStamp::of(path, Link::Follow), first) << "rewritten";

    // Another file put in its place: another inode.
    folder.write("other", "four");
    ASSERT_EQ(std::rename((folder / "other").c_str(), path.c_str()), 0);
    EXPECT_NE(FileStamp::of(path, Link::Follow).inode, first.inode);
}

TEST(FileStampTest, ALinkIsFollowedOrStampedItself)
{
    for (const bool targetThere : {true, false}) {
        TempFolder folder;
        if (targetThere)
            folder.write("target", "0123456789");
        const std::string link = folder / "link";
        ASSERT_EQ(::symlink((folder / "target").c_str(), link.c_str()), 0);

        const FileStamp followed = FileStamp::of(link, Link::Follow);
        EXPECT_EQ(followed.exists, targetThere);
        EXPECT_EQ(followed, FileStamp::of(folder / "target", Link::Itself)) << targetThere;
        const FileStamp itself = FileStamp::of(link, Link::Itself);
        EXPECT_TRUE(itself.exists) << targetThere;
        EXPECT_EQ(itself.size, static_cast<off_t>((folder / "target").size())) << targetThere;
    }
}
