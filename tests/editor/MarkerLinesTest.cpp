#include "editor/MarkerLines.h"

#include <gtest/gtest.h>

namespace {

TEST(MarkerLines, MarkTogglesAndKeepsOrder)
{
    MarkerLines m;
    m.Mark(10, 20);
    m.Mark(3, 20);
    m.Mark(20, 20); // the line after a final break
    m.Mark(21, 20); // beyond: nothing
    m.Mark(-1, 20);
    EXPECT_EQ(m.lines(), QList<int>({3, 10, 20}));
    m.Mark(10, 20);
    EXPECT_EQ(m.lines(), QList<int>({3, 20}));
}

TEST(MarkerLines, LinesAddedBelowTheCaretMoveTheMarkers)
{
    // Markers on 3 and 10, caret on 5, Enter twice.
    MarkerLines m;
    m.Mark(3, 20);
    m.Mark(10, 20);
    EXPECT_FALSE(m.MarkersRemake(false, 20, 20, 5));
    EXPECT_TRUE(m.MarkersRemake(false, 22, 20, 5));
    EXPECT_EQ(m.lines(), QList<int>({3, 12}));
}

TEST(MarkerLines, TheCaretLineMarkerGoesWhenItsLineIsDeleted)
{
    MarkerLines m;
    for (int l : {3, 5, 10})
        m.Mark(l, 20);
    m.MarkersRemake(false, 19, 20, 5);
    EXPECT_EQ(m.lines(), QList<int>({3, 9}));
    // Markers pushed beyond the text are dropped.
    m.MarkersRemake(false, 2, 19, 0);
    EXPECT_TRUE(m.lines().isEmpty());
}

TEST(MarkerLines, ForcedRemakeKeepsEverything)
{
    MarkerLines m;
    m.Mark(4, 9);
    m.Mark(7, 9);
    EXPECT_TRUE(m.MarkersRemake(true, 9, 9, 4));
    EXPECT_EQ(m.lines(), QList<int>({4, 7}));
}

TEST(MarkerLines, MarkersFollowAReplacedText)
{
    const struct {
        const char* before;
        const char* after;
        QList<int> marked;
        QList<int> followed;
    } cases[] = {
        // Two new lines under the title taken away: the marker on a new line goes.
        {"a\r\ntitle\r\n\r\nx\r\nb\r\nc", "a\r\ntitle\r\nb\r\nc", {1, 3, 4, 5}, {1, 2, 3}},
        // Lines put back push the markers below them down.
        {"a\r\nb\r\nc", "a\r\nnew\r\nnew\r\nb\r\nc", {0, 1, 2}, {0, 3, 4}},
        // A line changed in place keeps its marker, the line after a final break too.
        {"a\r\nb\r\nc\r\n", "a\r\nB\r\nc\r\n", {1, 3}, {1, 3}},
        // Everything removed: only a marker on the one empty line could stay.
        {"a\r\nb", "", {0, 1, 2}, {0}},
    };
    for (const auto& c : cases) {
        MarkerLines m;
        for (int l : c.marked)
            m.Mark(l, 10);
        m.FollowText(QString::fromUtf8(c.before), QString::fromUtf8(c.after));
        EXPECT_EQ(m.lines(), c.followed) << c.before;
    }
}

TEST(MarkerLines, PositionsAndCaptions)
{
    EXPECT_EQ(MarkerTop(5, 2, 16, 4), 4 + 3 * 16 + 8 - 3);
    EXPECT_EQ(GotoMarkCaption(12, QStringLiteral("<a>Tom & Jerry</a>")), QStringLiteral("12  <a>Tom .. Jerry</a>"));
    EXPECT_EQ(GotoMarkCaption(1, QString(150, u'x')).size(), 3 + 100);
    EXPECT_EQ(GotoMarkLine(QStringLiteral("1&2  text")), 12);
    EXPECT_EQ(GotoMarkLine(QStringLiteral("x  text")), -1);
}

} // namespace
