#include "FormTest.h"

#include "app/Globals.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "editor/ui/TagPairHighlight.h"

#include <QAction>
#include <QMenu>
#include <QTest>

using testing_support::WriteBytes;

namespace {

class TagPairCommandsTest : public testing_support::FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[HELPLOG]1\r\n[UNDOCOUNT]999\r\n[LOADLASTFILE]0\r\n");
        TypingCloseTags = true;
    }
    void TearDown() override
    {
        TypingCloseTags = true;
        FormTest::TearDown();
    }
    TForm1& startWith(const QString& text)
    {
        TForm1& f = start();
        LoadingText = false;
        f.Memo1->setText(text);
        UndoReset();
        UndoSnapshot();
        return f;
    }
    void type(const QString& text) { QTest::keyClicks(form_->Memo1, text); }
    void undo() { QTest::keyClick(form_->Memo1, Qt::Key_Z, Qt::ControlModifier); }
    QString text() const { return form_->Memo1->text(); }
    int caret() const { return form_->Memo1->selStart(); }
};

TEST_F(TagPairCommandsTest, TypedStartTagGetsItsEndTag)
{
    struct Case {
        const char* typed;
        const char* expected;
        int caret;
    };
    const Case cases[] = {
        {R"(<section class="a">)", R"(<section class="a"></section>)", 19},
        {"<br>", "<br>", 4},
        {"<!-- <b>", "<!-- <b>", 8},
    };
    for (const Case& c : cases) {
        startWith(QString());
        type(QString::fromUtf8(c.typed));
        EXPECT_EQ(text(), QString::fromUtf8(c.expected)) << c.typed;
        EXPECT_EQ(caret(), c.caret) << c.typed;
    }
    // "</" completes the innermost open element.
    startWith(QStringLiteral("<ul><li>x"));
    form_->Memo1->setSelStart(9);
    type(QStringLiteral("</"));
    EXPECT_EQ(text(), QStringLiteral("<ul><li>x</li>"));
    EXPECT_EQ(caret(), 14);
    // One Ctrl+Z takes back the ">" and the end tag together.
    startWith(QString());
    type(QStringLiteral("<div>"));
    undo();
    EXPECT_EQ(text(), QStringLiteral("<div"));
}

TEST_F(TagPairCommandsTest, SwitchedOffTypesOnlyWhatIsTyped)
{
    startWith(QString());
    TypingCloseTags = false;
    type(QStringLiteral("<div>x</"));
    EXPECT_EQ(text(), QStringLiteral("<div>x</"));
    form_->Memo1->setSelStart(2);
    form_->TAGPAIRS->update();
    EXPECT_FALSE(form_->TAGPAIRS->pair());
}

TEST_F(TagPairCommandsTest, CtrlMJumpsBetweenThePair)
{
    TForm1& f = startWith(QStringLiteral("<div><p>a</p></div>"));
    EXPECT_TRUE(f.EDITOR_POPUP->actions().contains(f.MENU_PAIRTAG));
    f.Memo1->setSelStart(2);
    QTest::keyClick(f.Memo1, Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(caret(), 15);
    QTest::keyClick(f.Memo1, Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(caret(), 1);
}

TEST_F(TagPairCommandsTest, RenamingOneTagRenamesTheOtherInOneStep)
{
    TForm1& f = startWith(QStringLiteral("<div>x</div>"));
    f.Memo1->setSelStart(1);
    f.Memo1->setSelLength(3);
    type(QStringLiteral("nav"));
    EXPECT_EQ(text(), QStringLiteral("<nav>x</nav>"));
    EXPECT_EQ(caret(), 4);
    // Each typed letter renamed both; one Ctrl+Z per letter, both names at once.
    undo();
    EXPECT_EQ(text(), QStringLiteral("<na>x</na>"));
    undo();
    undo();
    EXPECT_EQ(text(), QStringLiteral("<div>x</div>"));
}

TEST_F(TagPairCommandsTest, HighlightLeavesTheDocumentAlone)
{
    TForm1& f = startWith(QStringLiteral("<b>x</b> y"));
    DocModified = false;
    f.Memo1->setSelStart(6);
    QTest::qWait(1); // the highlight follows in the next event-loop turn
    ASSERT_TRUE(f.TAGPAIRS->pair());
    EXPECT_EQ(*f.TAGPAIRS->pair(), (TagPair{1, 1, 6, 1}));
    EXPECT_EQ(f.Memo1->extraSelections().size(), 2);
    EXPECT_EQ(f.Memo1->extraSelections().at(1).cursor.selectedText(), QStringLiteral("b"));
    EXPECT_EQ(text(), QStringLiteral("<b>x</b> y"));
    EXPECT_FALSE(DocModified);
    f.Memo1->setSelStart(9);
    QTest::qWait(1);
    EXPECT_TRUE(f.Memo1->extraSelections().isEmpty());
}

// A letter typed or erased in a tag's name renames its partner, and one undo
// takes both back, on a coloured page as well.
TEST_F(TagPairCommandsTest, ThePartnerRenamedWithTheKeyIsOneUndoStep)
{
    struct C { const char* t; int at; const char* typed; const char* after; const char* undone; };
    const C cases[] = {
        {"<div>x</div>", 4, "x", "<divx>x</divx>", "<div>x</div>"},
        {"<div>x</div>", 11, "x", "<divx>x</divx>", "<div>x</div>"},
        {"<div>x</div>", 4, "\b", "<di>x</di>", "<div>x</div>"},
        {"<div>x</div>", 2, "\x7f", "<dv>x</dv>", "<div>x</div>"},
    };
    for (const C& c : cases) {
        TForm1& f = startWith(QString::fromUtf8(c.t));
        f.Memo1->setSelStart(c.at);
        QTest::qWait(1);
        const QString typed = QString::fromUtf8(c.typed);
        if (typed == "\b") QTest::keyClick(f.Memo1, Qt::Key_Backspace);
        else if (typed == "\x7f") QTest::keyClick(f.Memo1, Qt::Key_Delete);
        else type(typed);
        EXPECT_EQ(text(), QString::fromUtf8(c.after)) << c.t << c.at;
        undo();
        EXPECT_EQ(text(), QString::fromUtf8(c.undone)) << c.t << c.at;
        EXPECT_EQ(Undo().count(), 0) << c.t << c.at;
    }
}

} // namespace
