#include "fc/FCString.h"

#include "TestText.h"
#include "fc/CannotOpenException.h"
#include "fc/CannotReadException.h"
#include "fc/CannotWriteException.h"
#include "fc/FCStringRep.h"
#include "fc/NotEnoughMemoryException.h"
#include "fc/OutOfBoundException.h"
#include "platform/FileSystem.h"
#include "platform/ScriptedPrompt.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

const std::string kMemoryMessage = sj("メモリが足りません！");

std::string repeated(char c, int n)
{
    return std::string(size_t(n), c);
}

} // namespace

TEST(FCStringRepTest, CapacityFollowsTheUnitRule)
{
    struct Case {
        int64_t length;
        int32_t unit;
        int64_t capacity;
    } cases[] = {
        {0, 256, 256},   {254, 256, 256}, {255, 256, 512},   {256, 256, 512},
        {510, 256, 512}, {511, 256, 768}, {0, 32, 32},       {31, 32, 64},
        {5, 4, 16},      {15, 1, 32},     {0, 65536, 65536}, {65535, 65536, 131072},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FCStringRep::capacityFor(c.length, c.unit), c.capacity)
            << "length " << c.length << " unit " << c.unit;
        FCStringRep rep(c.unit, repeated('x', int(c.length)).c_str(), int32_t(c.length), nullptr,
                        0);
        EXPECT_EQ(rep.capacity, c.capacity);
        EXPECT_GE(rep.unit, 16);
        EXPECT_EQ(rep.text[rep.length], '\0');
    }
}

TEST(FCStringRepTest, JoinsBothTextsAndRaisesOnOversizedText)
{
    FCStringRep joined(256, "ab", 2, "cd", 2);
    EXPECT_EQ(std::string(joined.text), "abcd");
    EXPECT_EQ(joined.references.load(), 0);

    // The lengths alone exceed what a storage can hold: refused before any
    // byte is read.
    const char big[] = "x";
    try {
        FCStringRep rep(256, big, std::numeric_limits<int32_t>::max() - 1, big, 1,
                        "FCString - append");
        FAIL() << "no exception";
    } catch (const NotEnoughMemoryException& e) {
        EXPECT_EQ(e.caption(), "FCString - append");
        EXPECT_EQ(e.message(), kMemoryMessage);
    }
}

TEST(FCStringTest, ConstructionUsesUnit256AndStartsAtTheBeginning)
{
    FCString empty;
    EXPECT_EQ(empty.length(), 0);
    EXPECT_STREQ(empty.text(), "");
    EXPECT_EQ(empty.unit(), 256);
    EXPECT_EQ(empty.capacity(), 256);

    FCString fromNull(static_cast<const char*>(nullptr));
    EXPECT_TRUE(fromNull.isEmpty());

    const std::string withNul("a\0b", 3);
    FCString s(withNul);
    EXPECT_EQ(s.length(), 3);
    EXPECT_EQ(s.view(), withNul);
    EXPECT_EQ(s.text()[3], '\0');
}

TEST(FCStringTest, CopiesShareStorageUntilOneIsWritten)
{
    FCString original("shared text");
    original.setCursor(4);
    FCString copy(original);
    EXPECT_TRUE(copy.sharesStorageWith(original));
    EXPECT_EQ(original.references(), 2);
    EXPECT_EQ(copy.cursor(), 4);

    copy.append("!");
    EXPECT_FALSE(copy.sharesStorageWith(original));
    EXPECT_EQ(original.view(), "shared text");
    EXPECT_EQ(copy.view(), "shared text!");
    EXPECT_EQ(original.references(), 1);
    EXPECT_EQ(copy.references(), 1);
}

TEST(FCStringTest, WritingThroughACopyNeverChangesTheOther)
{
    // Each write that may work in place must first leave the shared storage.
    using Write = void (*)(FCString&);
    const Write writes[] = {
        [](FCString& s) { s.append("x"); },
        [](FCString& s) { s.append("xyz", 2); },
        [](FCString& s) { s.append(std::string_view("x")); },
        [](FCString& s) { s.prepend("x"); },
        [](FCString& s) { s.clear(); },
        [](FCString& s) { s.toUpper(); },
        [](FCString& s) { s.toLower(); },
        [](FCString& s) { s << "x" << 5; },
        [](FCString& s) { s.appendNumber(7); },
        [](FCString& s) { s.replaceAll("b", "zz"); },
    };
    for (Write write : writes) {
        FCString original("aBc");
        FCString copy = original;
        write(copy);
        EXPECT_EQ(original.view(), "aBc");
        FCString other = original;
        write(original);
        EXPECT_EQ(other.view(), "aBc");
    }
}

TEST(FCStringTest, AssignmentSharesAndReleasesStorage)
{
    FCString a("first");
    FCString b("second");
    b.setCursor(3);
    a = b;
    EXPECT_TRUE(a.sharesStorageWith(b));
    EXPECT_EQ(a.cursor(), 3);
    EXPECT_EQ(b.references(), 2);

    // Assigning within one storage changes nothing, not even the cursor.
    a.setCursor(1);
    a = b;
    EXPECT_EQ(a.cursor(), 1);
    EXPECT_EQ(b.references(), 2);

    a = a;
    EXPECT_EQ(a.view(), "second");
    {
        FCString c = a;
        EXPECT_EQ(a.references(), 3);
    }
    EXPECT_EQ(a.references(), 2);
}

TEST(FCStringTest, AppendWorksInPlaceWhileTheTextFits)
{
    FCString s;
    s.create(256, repeated('a', 254).c_str());
    s.setCursor(100);
    s.append("b"); // 255 < 256
    EXPECT_EQ(s.capacity(), 256);
    EXPECT_EQ(s.cursor(), 100);
    EXPECT_EQ(s.length(), 255);

    FCString t;
    t.create(256, repeated('a', 254).c_str());
    t.setCursor(100);
    t.append("bc"); // 256 does not fit
    EXPECT_EQ(t.capacity(), 512);
    EXPECT_EQ(t.cursor(), 0);
    EXPECT_EQ(t.view(), repeated('a', 254) + "bc");
    EXPECT_EQ(t.unit(), 256);
}

TEST(FCStringTest, AppendToASharedStorageRebuildsWithTheSameUnit)
{
    FCString s;
    s.create(32, "abc");
    s.setCursor(2);
    FCString copy = s;
    s.append("d");
    EXPECT_EQ(s.unit(), 32);
    EXPECT_EQ(s.capacity(), 32);
    EXPECT_EQ(s.cursor(), 0);
    EXPECT_EQ(copy.cursor(), 2);
}

TEST(FCStringTest, LargeTextsGrowByDoublingAndKeepWholeUnits)
{
    FCString s;
    s.create(256, nullptr);
    int rebuilds = 0;
    int32_t capacity = s.capacity();
    const std::string piece = repeated('p', 100);
    for (int i = 0; i < 20000; ++i) { // 2 MB
        s.append(piece.c_str());
        if (s.capacity() != capacity) {
            ++rebuilds;
            if (s.length() > 64 * 1024) {
                EXPECT_GE(s.capacity(), 2 * int64_t(capacity));
            }
            capacity = s.capacity();
        }
        EXPECT_EQ(s.capacity() % 256, 0);
    }
    EXPECT_EQ(s.length(), 2000000);
    // Unit steps up to 64 KiB (about 256 of them), then doubling.
    EXPECT_LT(rebuilds, 300);

    // Self-append: the source lies in the storage being replaced.
    FCString self("abc");
    self.append(self.text());
    self << self;
    EXPECT_EQ(self.view(), "abcabcabcabc");
}

TEST(FCStringTest, AppendWithCountNeverSplitsACharacter)
{
    const std::string hyou = sj("表"); // 0x95 0x5C
    struct Case {
        std::string text;
        int32_t count;
        std::string appended;
    } cases[] = {
        {"ab" + hyou, 3, "ab"}, {"ab" + hyou, 4, "ab" + hyou}, {"ab" + hyou, 9, "ab" + hyou},
        {hyou + "cd", 1, ""},   {hyou + "cd", 2, hyou},        {"abc", 0, ""},
        {"abc", -4, ""},        {"a\x95", 2, "a\x95"},
    };
    for (const Case& c : cases) {
        FCString s("x");
        s.append(c.text.c_str(), c.count);
        EXPECT_EQ(s.view(), "x" + c.appended) << "count " << c.count;
    }
    FCString s;
    s.append(nullptr, 5);
    s.append(static_cast<const char*>(nullptr));
    s.prepend(nullptr);
    EXPECT_TRUE(s.isEmpty());
}

TEST(FCStringTest, PrependAndClear)
{
    FCString s;
    s.create(64, "world");
    s.setCursor(3);
    s.prepend("hello ");
    EXPECT_EQ(s.view(), "hello world");
    EXPECT_EQ(s.cursor(), 0);
    EXPECT_EQ(s.unit(), 64);

    s.setCursor(5);
    s.clear();
    EXPECT_TRUE(s.isEmpty());
    EXPECT_EQ(s.cursor(), 0);
    EXPECT_EQ(s.capacity(), 64);

    FCString shared("abc");
    FCString copy = shared;
    shared.clear();
    EXPECT_FALSE(shared.sharesStorageWith(copy));
    EXPECT_EQ(copy.view(), "abc");
}

TEST(FCStringTest, CreateReplacesTextUnitAndCursor)
{
    FCString s("old");
    s.setCursor(2);
    s.create(10, "new text");
    EXPECT_EQ(s.view(), "new text");
    EXPECT_EQ(s.unit(), 16);
    EXPECT_EQ(s.capacity(), 16);
    EXPECT_EQ(s.cursor(), 0);
    s.create(256, static_cast<const char*>(nullptr));
    EXPECT_TRUE(s.isEmpty());
    s.create(256, std::string_view("x\0y", 3));
    EXPECT_EQ(s.length(), 3);
}

TEST(FCStringTest, CaseMappingTouchesAsciiLettersOnly)
{
    // The trail bytes of "ａ" (0x82 0x81) and "ソ" (0x83 0x5C) must survive.
    const std::string mixed = "ab" + sj("ａソ") + "Yz\xB1";
    FCString s(mixed);
    s.toUpper();
    EXPECT_EQ(s.view(), "AB" + sj("ａソ") + "YZ\xB1");
    s.toLower();
    EXPECT_EQ(s.view(), "ab" + sj("ａソ") + "yz\xB1");

    FCString in("ab");
    in.setCursor(1);
    in.toUpper(); // private storage: in place, cursor kept
    EXPECT_EQ(in.cursor(), 1);
}

TEST(FCStringTest, MapFullWidthReplacesTheTextWithUnit256)
{
    FCString s;
    s.create(32, "A1 ");
    s.setCursor(2);
    s.mapString(FCString::MapFullWidth);
    EXPECT_EQ(s.view(), sj("Ａ１　"));
    EXPECT_EQ(s.unit(), 256);
    EXPECT_EQ(s.cursor(), 0);

    FCString other("A1");
    other.mapString(0);
    EXPECT_EQ(other.view(), "A1");
}

TEST(FCStringTest, EqualityIsByteIdentity)
{
    FCString a("Abc");
    FCString b("Abc");
    FCString c("abc");
    EXPECT_TRUE(a.equals(b));
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a.equals(c));
    EXPECT_TRUE(a.equals("Abc"));
    EXPECT_FALSE(a.equals("Abcd"));
    EXPECT_TRUE(FCString().equals(static_cast<const char*>(nullptr)));
    EXPECT_FALSE(FCString(std::string_view("a\0b", 3)).equals(FCString("a")));
    EXPECT_EQ(a.compare(b), 0);
    EXPECT_NE(a.compare(c), 0);
    EXPECT_EQ(a.compare(c), -c.compare(a));
}

TEST(FCStringTest, CopyToNeedsRoomForTheNul)
{
    FCString s("abc");
    char buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), 'z');
    EXPECT_EQ(s.copyTo(buffer, 3), FCString::none);
    EXPECT_EQ(buffer[0], 'z');
    EXPECT_EQ(s.copyTo(buffer, 4), 3);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(s.copyTo(nullptr, 8), FCString::none);
}

TEST(FCStringTest, ShowLastErrorNamesTheErrorCode)
{
    ScriptedPrompt prompt;
    Prompt::Scope scope(prompt);
    FileSystem::setLastError(3);
    FCString::showLastError("FCPathName - create()");
    ASSERT_EQ(prompt.questions().size(), 1u);
    EXPECT_EQ(prompt.questions()[0].title, "FCString class");
    EXPECT_EQ(prompt.questions()[0].text,
              "FCPathName - create()" + sj("でエラーが発生しました\nエラーコードは、3です"));
    EXPECT_EQ(prompt.questions()[0].buttons, Prompt::Buttons::Ok);
}

TEST(DiagnosticFamilyTest, CaptionsAndMessages)
{
    NotEnoughMemoryException memory("FCString - prepend");
    EXPECT_EQ(memory.caption(), "FCString - prepend");
    EXPECT_EQ(memory.message(), kMemoryMessage);

    OutOfBoundException bound;
    EXPECT_EQ(bound.caption(), "FCBit");
    EXPECT_EQ(bound.message(), sj("添え字が適正な範囲を超えています"));

    EXPECT_EQ(CannotOpenException("/a/b").caption(), "cannot open");
    EXPECT_EQ(CannotOpenException("/a/b").message(), "/a/b");
    EXPECT_EQ(CannotReadException("b").caption(), "cannot read");
    EXPECT_EQ(CannotWriteException("b").caption(), "cannot write");

    // Copies are independent.
    NotEnoughMemoryException copy = memory;
    copy.appendMessage("x");
    EXPECT_EQ(memory.message(), kMemoryMessage);
    EXPECT_EQ(copy.message(), kMemoryMessage + "x");

    ScriptedPrompt prompt;
    Prompt::Scope scope(prompt);
    memory.show();
    ASSERT_EQ(prompt.questions().size(), 1u);
    EXPECT_EQ(prompt.questions()[0].title, "FCString - prepend");
    EXPECT_EQ(prompt.questions()[0].text, kMemoryMessage);
}
