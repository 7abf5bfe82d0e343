#include "editor/MemoryTextModel.h"
#include "html/FindReplace.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

// Counts the changes made to the text, so a replace can be seen to be one.
class CountingModel : public MemoryTextModel {
public:
    using MemoryTextModel::MemoryTextModel;
    void setText(const QString& text) override
    {
        ++changes;
        MemoryTextModel::setText(text);
    }
    void setSelText(const QString& text) override
    {
        ++changes;
        MemoryTextModel::setSelText(text);
    }
    void setLine(int i, const QString& text) override
    {
        ++changes;
        MemoryTextModel::setLine(i, text);
    }
    int changes = 0;
};

TEST(FindReplaceCodes, ExpandLineBreaksAndTabs)
{
    EXPECT_EQ(ExpandSearchCodes(QStringLiteral("x[/]y[/]")), QStringLiteral("x\r\ny\r\n"));
    EXPECT_EQ(ExpandSearchCodes(QStringLiteral("[-]a[-][-]")), QStringLiteral("\ta\t\t"));
    EXPECT_EQ(ExpandSearchCodes(QStringLiteral("[[/]]")), QStringLiteral("[\r\n]"));
    EXPECT_EQ(ExpandSearchCodes(QStringLiteral("[/ ] [ - ] []")), QStringLiteral("[/ ] [ - ] []"));
    EXPECT_EQ(ExpandSearchCodes(QString()), QString());
    const QString note = SearchCodesNote();
    EXPECT_EQ(note.split(u'\n').size(), 3);
    EXPECT_TRUE(note.startsWith(S("Спецсимволы действуют как для нахождения, так и для замены:")));
    EXPECT_TRUE(note.contains(S("переход на новую строку\t\t[/]")));
    EXPECT_TRUE(note.endsWith(S("отступ tab\t\t\t[-]")));
}

TEST(FindReplaceFind, WalksThroughBanana)
{
    MemoryTextModel m(QStringLiteral("banana"));
    FindState s;
    FindResult r = s.search(m, QStringLiteral("a"), false, false);
    ASSERT_TRUE(r.found);
    EXPECT_TRUE(r.message.isEmpty());
    EXPECT_EQ(m.selStart(), 1);
    EXPECT_EQ(m.selLength(), 1);
    EXPECT_EQ(s.searchStart(), 3);
    r = s.findNext(m, QStringLiteral("a"), false, false);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(m.selStart(), 3);
    r = s.findNext(m, QStringLiteral("a"), false, false);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.selStart, 5);
    EXPECT_EQ(m.selStart(), 5);
    r = s.findNext(m, QStringLiteral("a"), false, false);
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.message, kNothingFoundMessage);
    EXPECT_EQ(m.selStart(), 5);
    EXPECT_EQ(m.selLength(), 1);
    EXPECT_EQ(s.searchStart(), 7) << "the search start stays after a miss";
    // "Найти" starts over from the beginning.
    r = s.search(m, QStringLiteral("a"), false, false);
    EXPECT_EQ(m.selStart(), 1);
}

TEST(FindReplaceFind, LetterCaseAndCodes)
{
    MemoryTextModel m(S("xx ABC Ёж"));
    FindState s;
    ASSERT_TRUE(s.search(m, QStringLiteral("abc"), false, false).found);
    EXPECT_EQ(m.selText(), QStringLiteral("ABC")) << "the selection covers the document's own letters";
    EXPECT_FALSE(s.search(m, QStringLiteral("abc"), true, false).found);
    EXPECT_EQ(m.selText(), QStringLiteral("ABC"));
    ASSERT_TRUE(s.search(m, S("ёЖ"), false, false).found);
    EXPECT_EQ(m.selStart(), 7);

    MemoryTextModel lines(QStringLiteral("ax\r\nx\r\ny\tz"));
    ASSERT_TRUE(s.search(lines, QStringLiteral("x[/]y[-]"), true, false).found);
    EXPECT_EQ(lines.selStart(), 4);
    EXPECT_EQ(lines.selLength(), 5);
    EXPECT_EQ(lines.selText(), QStringLiteral("x\r\ny\t"));
    EXPECT_EQ(s.searchStart(), 10);
}

TEST(FindReplaceFind, EmptyFieldsAndShortenedText)
{
    MemoryTextModel m(QStringLiteral("abc"));
    m.setSelStart(1);
    FindState s;
    // "Найти" with an empty field does nothing at all.
    FindResult r = s.search(m, QString(), false, false);
    EXPECT_FALSE(r.found);
    EXPECT_TRUE(r.message.isEmpty());
    EXPECT_EQ(s.searchStart(), 0);
    // Find-next with an empty field is a miss.
    r = s.findNext(m, QString(), false, false);
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.message, kNothingFoundMessage);
    EXPECT_EQ(m.selStart(), 1);
    // A search start past the end of a shortened text finds nothing.
    s.setSearchStart(50);
    EXPECT_FALSE(s.findNext(m, QStringLiteral("a"), false, false).found);
    EXPECT_EQ(s.searchStart(), 50);
    s.setSearchStart(4);
    EXPECT_FALSE(s.findNext(m, QStringLiteral("c"), false, false).found);
    s.setSearchStart(3);
    EXPECT_TRUE(s.findNext(m, QStringLiteral("c"), false, false).found);
    EXPECT_EQ(m.selStart(), 2);
}

TEST(FindReplaceFind, FromTheCaret)
{
    MemoryTextModel m(QStringLiteral("banana"));
    FindState s;
    m.setSelStart(2);
    ASSERT_TRUE(s.search(m, QStringLiteral("a"), false, true).found);
    EXPECT_EQ(m.selStart(), 3);
    // Find-next goes on after the current find, not to the same one again.
    ASSERT_TRUE(s.findNext(m, QStringLiteral("a"), false, true).found);
    EXPECT_EQ(m.selStart(), 5);
    // When the user has moved the caret, find-next continues from there.
    m.setSelStart(0);
    ASSERT_TRUE(s.findNext(m, QStringLiteral("a"), false, true).found);
    EXPECT_EQ(m.selStart(), 1);
    // The caret at the very end: nothing further.
    m.setSelStart(6);
    EXPECT_FALSE(s.search(m, QStringLiteral("a"), false, true).found);
    EXPECT_EQ(m.selStart(), 6);

    // A find the editor cannot select exactly (a lone LF inside a line
    // break) still moves on, so find-next comes to an end.
    MemoryTextModel lines(QStringLiteral("a\r\nb\r\nc"));
    FindResult r = s.search(lines, QStringLiteral("\n"), true, true);
    int finds = 0;
    for (; r.found && finds < 10; ++finds)
        r = s.findNext(lines, QStringLiteral("\n"), true, true);
    EXPECT_EQ(finds, 2);
}

TEST(FindReplaceReplace, WholeDocumentInOneChange)
{
    CountingModel m(QStringLiteral("one\r\ntwo\r\nthree"));
    EXPECT_EQ(ReplaceInEditor(m, QStringLiteral("[/]"), QString(), false, ReplaceScope::WholeDocument),
              ReplaceResult::Replaced);
    EXPECT_EQ(m.text(), QStringLiteral("onetwothree"));
    EXPECT_EQ(m.changes, 1);

    CountingModel t(QStringLiteral("a b A"));
    EXPECT_EQ(ReplaceInEditor(t, QStringLiteral("a"), QStringLiteral("[-]a[/]"), true, ReplaceScope::WholeDocument),
              ReplaceResult::Replaced);
    EXPECT_EQ(t.text(), QStringLiteral("\ta\r\n b A"));
    EXPECT_EQ(ReplaceInEditor(t, QStringLiteral("A"), QStringLiteral("aa"), false, ReplaceScope::WholeDocument),
              ReplaceResult::Replaced);
    EXPECT_EQ(t.text(), QStringLiteral("\taa\r\n b aa")) << "inserted text is not searched again";
    EXPECT_EQ(t.changes, 2);
}

TEST(FindReplaceReplace, SelectionOnly)
{
    CountingModel m(QStringLiteral("one two one\r\none two"));
    m.setSelStart(4);
    m.setSelLength(7); // "two one"
    ASSERT_EQ(m.selText(), QStringLiteral("two one"));
    EXPECT_EQ(ReplaceInEditor(m, QStringLiteral("one"), QStringLiteral("1"), false, ReplaceScope::Selection),
              ReplaceResult::Replaced);
    EXPECT_EQ(m.text(), QStringLiteral("one two 1\r\none two"));
    EXPECT_EQ(m.changes, 1);
    // A selection across lines, joined.
    m.setSelStart(8);
    m.setSelLength(6);
    EXPECT_EQ(ReplaceInEditor(m, QStringLiteral("[/]"), QStringLiteral(" "), false, ReplaceScope::Selection),
              ReplaceResult::Replaced);
    EXPECT_EQ(m.text(), QStringLiteral("one two 1 one two"));
}

TEST(FindReplaceReplace, NothingToDo)
{
    CountingModel m(QStringLiteral("abc"));
    m.setSelStart(1);
    m.setSelLength(1);
    EXPECT_EQ(ReplaceInEditor(m, QString(), QStringLiteral("x"), false, ReplaceScope::WholeDocument),
              ReplaceResult::NothingToFind);
    EXPECT_EQ(ReplaceInEditor(m, QStringLiteral("z"), QStringLiteral("x"), false, ReplaceScope::WholeDocument),
              ReplaceResult::Unchanged);
    // The match lies outside the selection.
    EXPECT_EQ(ReplaceInEditor(m, QStringLiteral("a"), QStringLiteral("x"), false, ReplaceScope::Selection),
              ReplaceResult::Unchanged);
    // Nothing selected.
    m.setSelStart(0);
    EXPECT_EQ(ReplaceInEditor(m, QStringLiteral("a"), QStringLiteral("x"), false, ReplaceScope::Selection),
              ReplaceResult::Unchanged);
    EXPECT_EQ(ReplaceInEditor(m, QStringLiteral("B"), QStringLiteral("x"), true, ReplaceScope::WholeDocument),
              ReplaceResult::Unchanged);
    EXPECT_EQ(m.text(), QStringLiteral("abc"));
    EXPECT_EQ(m.changes, 0);
}

} // namespace
