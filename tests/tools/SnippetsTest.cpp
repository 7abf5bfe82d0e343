#include "TestSupport.h"

#include "editor/MemoryTextModel.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "tools/Snippets.h"

using testing_support::IsolatedTest;

namespace {

class SnippetsTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        ResetOptions();
        Opt_SelectFile(opt::Macros);
    }
    static QStringList names()
    {
        Opt_SelectFile(opt::Macros);
        QStringList result;
        for (int i = 0; i < Opt_Count(); ++i)
            result << Opt_NameAt(i);
        return result;
    }
};

TEST_F(SnippetsTest, MenuEntriesFollowStoredOrder)
{
    EXPECT_TRUE(SnippetMenuEntries().isEmpty());
    Opt_Write(QStringLiteral("b"), QStringLiteral("B text"));
    Opt_Write(QStringLiteral("a"), QStringLiteral("A1\r\nA2"));
    Opt_Write(QStringLiteral("c"), QStringLiteral("C"));
    const QList<SnippetEntry> entries = SnippetMenuEntries();
    ASSERT_EQ(entries.size(), 3);
    const QStringList expectedCaptions{"b", "a", "c"};
    const QStringList expectedHints{"B text", "A1\r\nA2", "C"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(entries[i].name, QStringLiteral("MACROS_ITEM_%1").arg(i));
        EXPECT_EQ(entries[i].caption, expectedCaptions[i]);
        EXPECT_EQ(entries[i].hint, expectedHints[i]);
    }
}

TEST_F(SnippetsTest, InsertSplitsLineAndKeepsCaret)
{
    Opt_Write(QStringLiteral("one"), QStringLiteral("X"));
    Opt_Write(QStringLiteral("two"), QStringLiteral("<b>\r\n</b>"));
    MemoryTextModel model(QStringLiteral("first\r\nabcdef\r\nlast"));
    const int caret = model.lineStart(1) + 3;
    model.setSelStart(caret);

    InsertSnippet(model, SnippetItemPrefix + QStringLiteral("1"));
    EXPECT_EQ(model.text(), QStringLiteral("first\r\nabc<b>\r\n</b>def\r\nlast"));
    EXPECT_EQ(model.selStart(), caret);
    EXPECT_EQ(model.selLength(), 0);
    EXPECT_EQ((model.caretPos()), (CaretPos{3, 1}));

    InsertSnippet(model, SnippetItemPrefix + QStringLiteral("0"));
    EXPECT_EQ(model.text(), QStringLiteral("first\r\nabcX<b>\r\n</b>def\r\nlast"));

    // Bad names and indices change nothing.
    const QString before = model.text();
    for (const QString& bad : {SnippetItemPrefix + "2", SnippetItemPrefix + "-1", SnippetItemPrefix,
                               SnippetItemPrefix + "x", QStringLiteral("MACROS_ACTITEM")})
        InsertSnippet(model, bad);
    EXPECT_EQ(model.text(), before);

    MemoryTextModel empty;
    InsertSnippet(empty, SnippetItemPrefix + QStringLiteral("1"));
    EXPECT_EQ(empty.text(), QStringLiteral("<b>\r\n</b>"));
    EXPECT_EQ(empty.selStart(), 0);
}

TEST_F(SnippetsTest, SaveCreatesReplacesAndEdits)
{
    EXPECT_FALSE(SaveSnippet(QString(), QStringLiteral("t"), false, QString(), 0));
    EXPECT_FALSE(SaveSnippet(QStringLiteral("n"), QString(), false, QString(), 0));
    EXPECT_EQ(Opt_Count(), 0);

    ASSERT_TRUE(SaveSnippet(QStringLiteral("a"), QStringLiteral("A\r\n"), false, QString(), 0));
    ASSERT_TRUE(SaveSnippet(QStringLiteral("b"), QStringLiteral("B1\r\nB2\r\n"), false, QString(), 0));
    ASSERT_TRUE(SaveSnippet(QStringLiteral("c"), QStringLiteral("C"), false, QString(), 0));
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("a")), QStringLiteral("A"));
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("b")), QStringLiteral("B1\r\nB2"));

    // Same name in create mode: replaced in place.
    ASSERT_TRUE(SaveSnippet(QStringLiteral("a"), QStringLiteral("A new"), false, QString(), 0));
    EXPECT_EQ(names(), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("a")), QStringLiteral("A new"));

    // Edit without renaming keeps the position; renaming too.
    ASSERT_TRUE(SaveSnippet(QStringLiteral("b"), QStringLiteral("B edited"), true, QStringLiteral("b"), 1));
    EXPECT_EQ(names(), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("b")), QStringLiteral("B edited"));
    ASSERT_TRUE(SaveSnippet(QStringLiteral("z"), QStringLiteral("Z"), true, QStringLiteral("a"), 0));
    EXPECT_EQ(names(), (QStringList{"z", "b", "c"}));

    // Renamed onto an existing name: that snippet gets the text in its place
    // and no other snippet moves.
    ASSERT_TRUE(SaveSnippet(QStringLiteral("d"), QStringLiteral("D"), false, QString(), 0));
    ASSERT_TRUE(SaveSnippet(QStringLiteral("c"), QStringLiteral("from z"), true, QStringLiteral("z"), 0));
    EXPECT_EQ(names(), (QStringList{"b", "c", "d"}));
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("c")), QStringLiteral("from z"));
}

TEST_F(SnippetsTest, HintShowsLineBreaks)
{
    EXPECT_EQ(SnippetHintText(QStringLiteral("a#nstrb#nstr")), QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(SnippetHintText(QStringLiteral("#nst r")), QStringLiteral("#nst r"));
}

} // namespace
