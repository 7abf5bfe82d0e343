#include "editor/MessageLog.h"

#include <gtest/gtest.h>

namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

const QString kNotice = S("Код отредактирован после красного сообщения");
const QString kCommand = S("[CHANGES_AFTER_ERROR]");

TEST(MessageLogLines, NewestFirstWithStampAndTab)
{
    MessageLog log;
    EXPECT_EQ(log.count(), 0);
    log.write(S("первое"), false, QTime(9, 5, 7));
    log.write(S("Ошибка"), true, QTime(13, 45, 0));
    ASSERT_EQ(log.count(), 2);
    EXPECT_EQ(log.line(0).message, S("Ошибка"));
    EXPECT_TRUE(log.line(0).error);
    EXPECT_EQ(log.line(0).stamp, S("13 : 45 . 00"));
    EXPECT_EQ(log.lineText(1), S("09 : 05 . 07\tпервое"));
    EXPECT_FALSE(log.line(1).error);
    // Out of range reads as an empty line.
    EXPECT_TRUE(log.line(2).message.isEmpty());
    EXPECT_TRUE(log.line(-1).message.isEmpty());
}

TEST(MessageLogRepeat, SameMessageReplacesTheNewestOnlyBeyondOneLine)
{
    MessageLog log;
    log.write(S("a"), false, QTime(10, 0, 0));
    log.write(S("a"), false, QTime(10, 0, 1));
    // With one line in the log the copy is a new line.
    ASSERT_EQ(log.count(), 2);
    log.write(S("a"), true, QTime(10, 0, 2));
    ASSERT_EQ(log.count(), 2);
    EXPECT_EQ(log.line(0).stamp, S("10 : 00 . 02"));
    EXPECT_TRUE(log.line(0).error);
    EXPECT_EQ(log.line(1).stamp, S("10 : 00 . 00"));
    // Only line 0 is compared, exactly.
    log.write(S("b"), false, QTime(10, 0, 3));
    log.write(S("a"), false, QTime(10, 0, 4));
    EXPECT_EQ(log.count(), 4);
    log.write(S("A"), false, QTime(10, 0, 5));
    EXPECT_EQ(log.count(), 5);
}

TEST(MessageLogRepeat, ComparedAsTheLogReadsItsFirstLineBack)
{
    MessageLog log;
    log.write(S("x"), false, QTime(1, 0, 0));
    log.write(S("a\tb"), false, QTime(1, 0, 1));
    // The first line is split at tabs, so only "a" is read back.
    log.write(S("a\tb"), false, QTime(1, 0, 2));
    EXPECT_EQ(log.count(), 3);
    log.write(S("a"), false, QTime(1, 0, 3));
    EXPECT_EQ(log.count(), 3);
    EXPECT_EQ(log.line(0).message, S("a"));
    // A message on two lines makes the log hold more than one line.
    MessageLog two;
    two.write(S("m\r\nmore"), false, QTime(1, 0, 0));
    two.write(S("m"), false, QTime(1, 0, 1));
    EXPECT_EQ(two.count(), 1);
}

TEST(MessageLogCommand, NoticeOnceAfterARedLine)
{
    MessageLog log;
    log.write(kCommand, false, QTime(8, 0, 0));
    EXPECT_EQ(log.count(), 0);
    log.write(S("hint"), false, QTime(8, 0, 1));
    log.write(kCommand, false, QTime(8, 0, 2));
    EXPECT_EQ(log.count(), 1);
    log.write(S("Ошибка"), true, QTime(8, 0, 3));
    log.write(kCommand, false, QTime(8, 0, 4));
    ASSERT_EQ(log.count(), 3);
    EXPECT_EQ(log.line(0).message, kNotice);
    EXPECT_FALSE(log.line(0).error);
    EXPECT_EQ(log.line(0).stamp, S("08 : 00 . 04"));
    log.write(kCommand, false, QTime(8, 0, 5));
    log.write(kCommand, true, QTime(8, 0, 6));
    EXPECT_EQ(log.count(), 3);
    for (int i = 0; i < log.count(); ++i)
        EXPECT_NE(log.line(i).message, kCommand);
}

TEST(MessageLogCommand, NoticeFollowsTheRepeatRule)
{
    // A red line that itself reads like the notice is replaced by it.
    MessageLog log;
    log.write(S("x"), false, QTime(8, 0, 0));
    log.write(kNotice, true, QTime(8, 0, 1));
    log.write(kCommand, false, QTime(8, 0, 2));
    ASSERT_EQ(log.count(), 2);
    EXPECT_FALSE(log.line(0).error);
}

TEST(MessageLogRevision, ChangesOnlyWithTheLines)
{
    MessageLog log;
    int r = log.revision();
    log.write(kCommand, false, QTime(8, 0, 0));
    EXPECT_EQ(log.revision(), r);
    log.write(S("a"), false, QTime(8, 0, 0));
    EXPECT_NE(log.revision(), r);
    r = log.revision();
    log.write(S("b"), false, QTime(8, 0, 0));
    EXPECT_NE(log.revision(), r);
    r = log.revision();
    // A repeat replaces line 0: still a change, for the fresh stamp.
    log.write(S("b"), false, QTime(8, 0, 1));
    EXPECT_NE(log.revision(), r);
    r = log.revision();
    log.write(kCommand, false, QTime(8, 0, 2));
    EXPECT_EQ(log.revision(), r);
}

TEST(MessageLogLines, InvalidTimeStillStamps)
{
    MessageLog log;
    log.write(S("a"), false, QTime());
    EXPECT_EQ(log.line(0).stamp, S("00 : 00 . 00"));
}

} // namespace
