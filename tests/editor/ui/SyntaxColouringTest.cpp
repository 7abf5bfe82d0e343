#include "FormTest.h"

#include "app/Globals.h"
#include "editor/Colouring.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "editor/ui/LineNumbers.h"
#include "editor/ui/SyntaxColouring.h"

#include <QAction>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextLayout>

using testing_support::FormTest;
using testing_support::IsolatedTest;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

// The colour painted at a line's column, invalid for the plain colour.
QColor ColourAt(TKRichEdit* m, int line, int column)
{
    const QTextBlock b = m->document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange& r : b.layout()->formats())
        if (column >= r.start && column < r.start + r.length)
            return r.format.foreground().color();
    return {};
}

void Paint(TKRichEdit* m)
{
    m->viewport()->repaint();
    m->lineNumbers()->repaint();
}

class SyntaxColouringTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        editor_ = std::make_unique<TKRichEdit>();
        editor_->resize(600, 400);
        editor_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor_.get()));
    }
    QColor colour(Token t) const { return editor_->colouring()->colourOf(t); }
    std::unique_ptr<TKRichEdit> editor_;
};

TEST_F(SyntaxColouringTest, PaintingColoursTheViewWithoutTouchingTheText)
{
    TKRichEdit* m = editor_.get();
    const QString text = QStringLiteral("<p class=\"a\">x &amp; y</p>\r\n<script>var s = \"</div>\";</script>\r\n");
    m->setText(text);
    QSignalSpy changed(m, &QPlainTextEdit::textChanged);
    QSignalSpy contents(m->document(), &QTextDocument::contentsChange);
    Paint(m);
    EXPECT_EQ(m->text(), text);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(contents.count(), 0);
    EXPECT_FALSE(m->document()->isModified());
    EXPECT_EQ(ColourAt(m, 0, 1), colour(Token::Tag));
    EXPECT_EQ(ColourAt(m, 0, 3), colour(Token::Attribute));
    EXPECT_EQ(ColourAt(m, 0, 15), colour(Token::Entity));
    EXPECT_EQ(ColourAt(m, 1, 17), colour(Token::String)); // inside "</div>"
    EXPECT_FALSE(ColourAt(m, 0, 13).isValid());          // "x"
    // A text file is not coloured.
    m->setColouringKind(ColouringKind::Plain);
    Paint(m);
    EXPECT_FALSE(ColourAt(m, 0, 1).isValid());
    EXPECT_EQ(m->text(), text);
}

TEST_F(SyntaxColouringTest, AnEditRecoloursTheLinesItChanges)
{
    TKRichEdit* m = editor_.get();
    QStringList lines;
    for (int i = 0; i < 100; ++i)
        lines << QStringLiteral("<b>%1</b>").arg(i);
    m->setText(lines.join(QStringLiteral("\r\n")));
    Paint(m);
    ASSERT_EQ(ColourAt(m, 5, 1), colour(Token::Tag));
    // Opening a comment on the first line turns the lines after it into it...
    m->setSelStart(0);
    m->setSelText(QStringLiteral("<!--"));
    Paint(m);
    EXPECT_EQ(ColourAt(m, 5, 1), colour(Token::Comment));
    // ...closing it on line 3 gives the lines after that their tags back.
    m->setSelStart(m->lineStart(3));
    m->setSelText(QStringLiteral("-->"));
    Paint(m);
    EXPECT_EQ(ColourAt(m, 2, 1), colour(Token::Comment));
    EXPECT_EQ(ColourAt(m, 5, 1), colour(Token::Tag));
    // A line put in and taken out again.
    m->setSelStart(m->lineStart(4));
    m->setSelText(QStringLiteral("<i\r\n"));
    Paint(m);
    EXPECT_EQ(ColourAt(m, 5, 0), colour(Token::Attribute)); // "<b" inside the open tag
    m->setSelStart(m->lineStart(4));
    m->setSelLength(4);
    m->setSelText(QString());
    Paint(m);
    EXPECT_EQ(ColourAt(m, 5, 1), colour(Token::Tag));
}

TEST_F(SyntaxColouringTest, OnlyLinesNearTheViewHoldColoursAndLongCatchUpsGoInSteps)
{
    TKRichEdit* m = editor_.get();
    QString text = QStringLiteral("<style>\r\n");
    for (int i = 0; i < 20000; ++i)
        text += QStringLiteral("p.c%1 { color: red }\r\n").arg(i);
    text += QStringLiteral("</style>\r\n<b>end</b>");
    m->setText(text);
    Paint(m);
    const int linesInView = m->viewport()->height() / m->fontMetrics().lineSpacing() + 2;
    EXPECT_GT(m->colouring()->colouredLines(), 0);
    EXPECT_LE(m->colouring()->colouredLines(), linesInView);

    const int budget = TSyntaxColouring::StepBudgetMs;
    TSyntaxColouring::StepBudgetMs = 0; // every step stops after a few hundred lines
    m->verticalScrollBar()->setValue(m->verticalScrollBar()->maximum());
    Paint(m);
    const int last = m->lineCount() - 1;
    EXPECT_TRUE(m->colouring()->statesPending());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ColourAt(m, last, 1) == colour(Token::Tag); }, 10000));
    TSyntaxColouring::StepBudgetMs = budget;
    EXPECT_EQ(ColourAt(m, last - 2, 0), colour(Token::Selector));
    EXPECT_LE(m->colouring()->colouredLines(), linesInView + 130);
    EXPECT_FALSE(ColourAt(m, 3, 0).isValid()); // the first lines gave theirs back
}

// Records the regions the viewport paints.
struct PaintedRegions : QObject {
    QList<QRegion> regions;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            regions << static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

TEST_F(SyntaxColouringTest, AKeyAfterTheViewWasColouredChangesAndRepaintsItsLineAlone)
{
    TKRichEdit* m = editor_.get();
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QStringLiteral("<b class=\"c\">%1</b>").arg(i);
    m->setText(lines.join(QStringLiteral("\r\n")));
    m->setSelStart(m->lineStart(5) + 3);
    Paint(m);
    QCoreApplication::processEvents();
    ASSERT_EQ(ColourAt(m, 20, 1), colour(Token::Tag));

    QSignalSpy contents(m->document(), &QTextDocument::contentsChange);
    PaintedRegions painted;
    m->viewport()->installEventFilter(&painted);
    const int position = m->textCursor().position();
    QTest::keyClick(m, Qt::Key_X);
    QCoreApplication::processEvents();
    m->viewport()->removeEventFilter(&painted);

    // The document reports the typed character, not the lines coloured before.
    ASSERT_EQ(contents.count(), 1);
    EXPECT_EQ(contents.first().at(0).toInt(), position);
    EXPECT_EQ(contents.first().at(1).toInt(), 0);
    EXPECT_EQ(contents.first().at(2).toInt(), 1);
    ASSERT_FALSE(painted.regions.isEmpty());
    const QRect line = m->cursorRect();
    for (const QRegion& r : painted.regions) {
        EXPECT_LE(r.boundingRect().height(), 2 * line.height()) << r.boundingRect().y();
        EXPECT_TRUE(r.intersects(line));
    }
    EXPECT_EQ(ColourAt(m, 5, 1), colour(Token::Tag));
    EXPECT_EQ(ColourAt(m, 20, 1), colour(Token::Tag));
    EXPECT_EQ(m->line(5), QStringLiteral("<b xclass=\"c\">5</b>"));
}

TEST_F(SyntaxColouringTest, AnEditDuringALongCatchUpHoldsForTheLinesAfterIt)
{
    TKRichEdit* m = editor_.get();
    QString text = QStringLiteral("<style>\r\n");
    for (int i = 0; i < 20000; ++i)
        text += QStringLiteral("p.c%1 { color: red }\r\n").arg(i);
    text += QStringLiteral("</style>\r\n<b>end</b>");
    struct Case {
        const char* name;
        int line;        // where the style is closed while states are worked out
        bool stillStyle; // the line before the last still in the style
    };
    for (const Case& c : {Case{"above the view", 5, false}, Case{"in the middle", 10000, false}, Case{"none", -1, true}}) {
        SCOPED_TRACE(c.name);
        // The first paint's step leaves most of the states to work out.
        m->setText(text);
        Paint(m);
        m->verticalScrollBar()->setValue(m->verticalScrollBar()->maximum());
        Paint(m);
        if (c.line >= 0) {
            m->setSelStart(m->lineStart(c.line));
            m->setSelText(QStringLiteral("</style>"));
        }
        const int last = m->lineCount() - 1;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                // The edit brought its line into view: the end again.
                m->verticalScrollBar()->setValue(m->verticalScrollBar()->maximum());
                Paint(m);
                return !m->colouring()->statesPending();
            },
            10000));
        Paint(m);
        EXPECT_EQ(ColourAt(m, last, 1), colour(Token::Tag));
        EXPECT_EQ(ColourAt(m, last - 2, 0), c.stillStyle ? colour(Token::Selector) : QColor());
        EXPECT_EQ(m->colouring()->lineStartState(last - 2), ColourLine(ColouringKind::Html, m->line(last - 3), m->colouring()->lineStartState(last - 3), nullptr));
    }
}

TEST_F(SyntaxColouringTest, AVeryLongLineIsColouredInItsBeginningOnly)
{
    TKRichEdit* m = editor_.get();
    m->setText(QStringLiteral("<b>").repeated(20000) + QStringLiteral("<!--\r\n-->x<i>"));
    Paint(m);
    const QList<QTextLayout::FormatRange> formats = m->document()->firstBlock().layout()->formats();
    ASSERT_FALSE(formats.isEmpty());
    EXPECT_LE(formats.last().start + formats.last().length, 16384);
    // The next line still starts in the state the whole line ends in.
    EXPECT_EQ(ColourAt(m, 1, 0), colour(Token::Comment));
    EXPECT_EQ(ColourAt(m, 1, 5), colour(Token::Tag));
}

TEST_F(SyntaxColouringTest, LineNumbersStandBesideTheirLinesAndFollowTheFont)
{
    TKRichEdit* m = editor_.get();
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("line %1").arg(i);
    m->setText(lines.join(QStringLiteral("\r\n")));
    m->verticalScrollBar()->setValue(37);
    Paint(m);
    TLineNumbers* numbers = m->lineNumbers();
    const QList<TLineNumbers::Shown> shown = numbers->shownNumbers();
    ASSERT_GT(shown.size(), 5);
    EXPECT_EQ(shown.first().number, m->firstVisibleLine() + 1);
    for (const TLineNumbers::Shown& s : shown) {
        const QTextCursor c(m->document()->findBlockByNumber(s.number - 1));
        EXPECT_EQ(numbers->mapTo(m, QPoint(0, s.top)).y(), m->viewport()->mapTo(m, m->cursorRect(c).topLeft()).y()) << s.number;
    }
    // Between the frame and the text.
    EXPECT_EQ(numbers->geometry().right() + 1, m->viewport()->geometry().left());
    const int width = numbers->width();
    QFont f = m->font();
    f.setPointSize(f.pointSize() * 2);
    m->setFont(f);
    EXPECT_GT(numbers->width(), width);
    EXPECT_EQ(numbers->geometry().right() + 1, m->viewport()->geometry().left());
}

TEST_F(SyntaxColouringTest, ColoursFollowTheBackground)
{
    TKRichEdit* m = editor_.get();
    const QColor onLight = colour(Token::Tag);
    QPalette p = m->palette();
    p.setColor(QPalette::Base, QColor(20, 24, 28));
    m->setPalette(p);
    EXPECT_GT(colour(Token::Tag).lightness(), 128);
    EXPECT_LT(onLight.lightness(), 128);
}

class ColouringRoundTrip : public FormTest {};

TEST_F(ColouringRoundTrip, SavedPagesStayByteForByteAsRead)
{
    const struct {
        const char* name;
        QByteArray bytes;
        ColouringKind kind;
    } pages[] = {
        {"page.html", "<!DOCTYPE html>\r\n<style>p { color: red }</style>\r\n<script>if (a < b) x = \"</div>\";</script>\r\n<!-- <b> -->\r\n", ColouringKind::Html},
        {"site.css", "@media print {\n  .menu { display: none } /* hide */\n}\n", ColouringKind::Css},
        {"app.js", "// a < b\r\nvar re = /\"/g; s = `two\r\nlines`;\r\n", ColouringKind::Js},
    };
    for (const auto& [name, bytes, kind] : pages) {
        const QString path = programFolder() + QString::fromUtf8(name);
        WriteBytes(path, bytes);
        TForm1& f = start({path});
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        ASSERT_TRUE(f.Memo1->text().startsWith(QString::fromUtf8(bytes.left(8))));
        EXPECT_EQ(int(f.Memo1->colouring()->kind()), int(kind)) << name;
        const int undoEntries = Undo().count();
        Paint(f.Memo1);
        f.Memo1->verticalScrollBar()->setValue(1);
        Paint(f.Memo1);
        EXPECT_EQ(Undo().count(), undoEntries);
        EXPECT_NE(f.Memo1->colouring()->colouredLines(), 0) << name;
        LoadingText = false;
        WriteBytes(path, "overwritten"); // so the save has to write it all
        f.findChild<QAction*>(QStringLiteral("N16"))->trigger();
        EXPECT_EQ(ReadBytes(path), bytes) << name;
        form_.reset();
    }
}

} // namespace
