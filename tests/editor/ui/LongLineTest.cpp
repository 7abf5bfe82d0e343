// A long line of plain characters edited without Qt laying it out again:
// its geometry against Qt's layout of the same text, and the editor typing
// on such a line, drawn and measured as Qt would.
#include "PaintedEdit.h"
#include "editor/Colouring.h"
#include "editor/ui/EditorDocumentLayout.h"
#include "editor/ui/KRichEdit.h"
#include "editor/ui/LongLineGeometry.h"

#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

// Qt's unshaped layout of a text, as a long line is laid out.
struct QtLine {
    QTextLayout layout;
    QTextLine line;
    QtLine(const QString& text, const QFont& font)
        : layout(text, font)
    {
        QTextCharFormat unshaped;
        unshaped.setFontStyleStrategy(QFont::PreferNoShaping);
        layout.setFormats({{0, int(text.size()), unshaped}});
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        line = layout.createLine();
        line.setLeadingIncluded(true);
        line.setLineWidth(0);
        layout.endLayout();
    }
};

TLongLineGeometry::Reader readerOf(const QString& text)
{
    return [&text](int from, int n) { return text.mid(from, n); };
}

QList<QFont> fonts() { return {QApplication::font(), QFontDatabase::systemFont(QFontDatabase::FixedFont)}; }

TEST(LongLineGeometry, PlacesEveryCharacterWhereQtDoes)
{
    const char16_t* texts[] = {
        u"var a=1,b=\"x\";if(a<b&&b>0){s=\"</div>\";n=42;}function f(c){return c*2;}",
        u"Съешь же ещё этих мягких французских булок, да выпей чаю. ЁЖ ёж",
        u"café naïve Größe € £ ¥ © ® ° ± × ÷ — – … “quotes” ‘single’ № ™ → ←",
        u"  spaces   at\u00A0no-break and   ends  ",
    };
    for (const QFont& font : fonts()) {
        for (const char16_t* t : texts) {
            const QString text = QString::fromUtf16(t);
            SCOPED_TRACE(text.toStdString() + " / " + font.family().toStdString());
            TLongLineGeometry g(font, nullptr);
            ASSERT_TRUE(g.isPlain(text));
            ASSERT_TRUE(g.measure(int(text.size()), readerOf(text)));
            const QtLine qt(text, font);
            EXPECT_EQ(g.height(), qt.line.height());
            EXPECT_EQ(g.ascent(), qt.line.ascent());
            for (int i = 0; i <= text.size(); ++i) {
                const qreal x = qt.line.cursorToX(i);
                ASSERT_EQ(g.xOf(i, readerOf(text)), x) << i;
                ASSERT_EQ(g.positionAt(x + 0.25, readerOf(text)), i) << i;
            }
        }
    }
}

TEST(LongLineGeometry, LeavesToQtWhatItCannotPlace)
{
    TLongLineGeometry g(QApplication::font(), nullptr);
    const char16_t* texts[] = {
        u"a\tb",          // tab stops
        u"shalom \u05E9", // right to left
        u"e\u0301",       // a combining accent
        u"soft\u00ADhyphen",
        u"zero\u200Bwidth",
        u"bidi\u202Emark",
        u"emoji \U0001F600",
        u"line\u2028separator",
        u"control\u0001",
    };
    for (const char16_t* t : texts) {
        const QString text = QString::fromUtf16(t);
        EXPECT_FALSE(g.isPlain(text)) << text.toStdString();
        EXPECT_FALSE(g.measure(int(text.size()), readerOf(text))) << text.toStdString();
    }
}

TEST(LongLineGeometry, EditsKeepTheGeometryOfTheWholeText)
{
    const QFont font = QApplication::font();
    QString text;
    while (text.size() < 20000)
        text += QStringLiteral("function f(c){return \"Ёж\"+c*2;} ");
    TLongLineGeometry g(font, nullptr);
    ASSERT_TRUE(g.measure(int(text.size()), readerOf(text)));
    struct Edit {
        int from, removed; // from -1: at the end
        QString added;
    };
    const QString many(9000, u'm');
    const Edit edits[] = {
        {0, 0, QStringLiteral("x")},      // at the start
        {4095, 3, QStringLiteral("abc")}, // across a piece's end
        {-1, 0, QStringLiteral("WWWW")},  // at the end
        {5000, 9000, QString()},          // several pieces away
        {100, 1, QStringLiteral("жжжжжжжжж")}, // wider
        {3, 0, many},                     // pieces more
    };
    for (Edit e : edits) {
        const QString& added = e.added;
        if (e.from < 0)
            e.from = int(text.size());
        text.replace(e.from, e.removed, added);
        ASSERT_TRUE(g.edit(e.from, e.removed, int(added.size()), int(text.size()), readerOf(text)));
        // Only the pieces the edit touched are read again.
        EXPECT_LE(g.lastRead(), 2 * 4096 + added.size());
        TLongLineGeometry fresh(font, nullptr);
        ASSERT_TRUE(fresh.measure(int(text.size()), readerOf(text)));
        EXPECT_EQ(g.length(), text.size());
        EXPECT_DOUBLE_EQ(g.width(), fresh.width());
        for (int i : {0, 1, e.from, e.from + int(added.size()), 4096, 8191, int(text.size()) / 2, int(text.size())})
            EXPECT_EQ(g.xOf(i, readerOf(text)), fresh.xOf(i, readerOf(text))) << i;
    }
    // A character that cannot be placed ends the following.
    text.insert(10, u'\t');
    EXPECT_FALSE(g.edit(10, 0, 1, int(text.size()), readerOf(text)));
}

// The editor, with what it follows of a line.
class Edit : public PaintedEdit {
public:
    const TLongLineGeometry* geometry(const QTextBlock& b) const
    {
        return static_cast<TEditorDocumentLayout*>(document()->documentLayout())->geometry(b);
    }
    bool followed(const QTextBlock& b) const { return geometry(b) != nullptr; }
};

class LongLineEditing : public testing::Test {
protected:
    void SetUp() override
    {
        QGuiApplication::styleHints()->setCursorFlashTime(0);
        QString line;
        while (line.size() < 30000)
            line += QStringLiteral("var a=1,b=\"x\";if(a<b&&b>0){s=\"</div>\";n=42;}function f(c){return \"Ёж\"+c*2;}");
        QString page;
        for (int i = 0; i < 40; ++i)
            page += QStringLiteral("<p>line %1</p>\r\n").arg(i);
        e.resize(500, 300);
        e.setColouringKind(ColouringKind::Html);
        e.setText(page + QStringLiteral("<script>") + line + QStringLiteral("</script>\r\nend"));
        e.show();
        e.activateWindow();
        e.setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&e));
        longBlock = e.document()->findBlockByNumber(40);
        original = longBlock.text();
        // The caret far into the long line, the line in view.
        e.setSelStart(e.lineStart(40) + 15000);
        e.verticalScrollBar()->setValue(35);
        QApplication::processEvents();
    }
    void TearDown() override { QGuiApplication::styleHints()->setCursorFlashTime(flashTime); }

    bool caretSeen() const
    {
        const QRect r = e.cursorRect();
        return r.left() >= 0 && r.right() <= e.viewport()->width() && r.top() >= 0 && r.bottom() <= e.viewport()->height();
    }

    const int flashTime = QGuiApplication::styleHints()->cursorFlashTime();
    Edit e;
    QTextBlock longBlock;
    QString original;
};

TEST_F(LongLineEditing, TypedWithoutLayingTheLineOutAndDrawnAsQtDraws)
{
    // The same keys on a short line, which the control handles.
    TKRichEdit shortLine;
    shortLine.setPlainText(QStringLiteral("a short line"));
    shortLine.setSelStart(3);
    QSignalSpy shortMoved(&shortLine, &QPlainTextEdit::cursorPositionChanged);
    QSignalSpy shortChanged(&shortLine, &QPlainTextEdit::textChanged);
    QSignalSpy moved(&e, &QPlainTextEdit::cursorPositionChanged);
    QSignalSpy changed(&e, &QPlainTextEdit::textChanged);
    for (TKRichEdit* edit : {static_cast<TKRichEdit*>(&e), &shortLine}) {
        QTest::keyClicks(edit, QStringLiteral("ab"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Delete);
    }
    QApplication::processEvents();
    const int column = e.textCursor().positionInBlock();
    EXPECT_EQ(column, 15001);
    // Reported as the control reports its keys (Delete once more: the
    // caret stays, but is told of the edit at its place).
    EXPECT_GE(moved.count(), shortMoved.count());
    EXPECT_LE(moved.count(), shortMoved.count() + 1);
    EXPECT_EQ(changed.count(), shortChanged.count());
    EXPECT_EQ(longBlock.text(), original.left(15000) + u'a' + original.mid(15001));
    ASSERT_TRUE(e.followed(longBlock));
    EXPECT_EQ(longBlock.layout()->lineCount(), 0);
    // The coloured start of the line gets new formats at each key; the
    // geometry still reads only around the edit.
    EXPECT_LE(e.geometry(longBlock)->lastRead(), 2 * 4096 + 1);
    EXPECT_TRUE(caretSeen());
    const QRect caret = e.cursorRect();
    const QImage followed = e.render(false);
    const int scrolled = e.horizontalScrollBar()->value();

    // Qt's own layout and paint of the same view.
    e.ensureCursorVisible();
    ASSERT_FALSE(e.followed(longBlock));
    ASSERT_EQ(longBlock.layout()->lineCount(), 1);
    EXPECT_EQ(e.horizontalScrollBar()->value(), scrolled);
    EXPECT_EQ(e.cursorRect(), caret);
    const QImage qt = e.render(true);
    ASSERT_EQ(qt.size(), followed.size());
    int differing = 0;
    for (int y = 0; y < qt.height(); ++y)
        for (int x = 0; x < qt.width(); ++x)
            differing += qt.pixel(x, y) != followed.pixel(x, y);
    EXPECT_EQ(differing, 0);
}

TEST_F(LongLineEditing, CaretMovesAndClicksPlaceTheCaretAsOnALaidOutLine)
{
    QTest::keyClick(&e, Qt::Key_X);
    ASSERT_TRUE(e.followed(longBlock));
    // A point on the line finds its character.
    const QRect r = e.cursorRect();
    const QTextCursor hit = e.cursorForPosition(QPoint(r.left() + 1, r.center().y()));
    EXPECT_EQ(hit.position(), e.textCursor().position());
    // Keys that move the caret move it by the line's characters.
    QTest::keyClick(&e, Qt::Key_Left);
    EXPECT_EQ(e.textCursor().positionInBlock(), 15000);
    QTest::keyClick(&e, Qt::Key_X);
    QTest::keyClick(&e, Qt::Key_Right);
    EXPECT_EQ(e.textCursor().positionInBlock(), 15002);
    QTest::keyClick(&e, Qt::Key_X);
    QTest::keyClick(&e, Qt::Key_Up);
    EXPECT_EQ(e.textCursor().blockNumber(), 39);
    EXPECT_TRUE(caretSeen());
    // A click on the followed line puts the caret under the pointer.
    QTest::keyClick(&e, Qt::Key_Down);
    QTest::keyClick(&e, Qt::Key_X);
    ASSERT_TRUE(e.followed(longBlock));
    const QRect typed = e.cursorRect();
    QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, QPoint(typed.left() - 40, typed.center().y()));
    EXPECT_EQ(e.textCursor().blockNumber(), 40);
    EXPECT_NEAR(e.cursorRect().left(), typed.left() - 40, 8);
}

TEST_F(LongLineEditing, UpAndDownAfterTypingKeepTheCaretsNewPlace)
{
    // Two long lines of the same text: a caret moved down keeps its x.
    const QString line = QStringLiteral("abcdefghij").repeated(2000);
    e.setText(line + QStringLiteral("\r\n") + line + QStringLiteral("\r\n") + line);
    e.setSelStart(100);
    QTest::keyClicks(&e, QStringLiteral("WWWWW"));
    ASSERT_TRUE(e.followed(e.document()->firstBlock()));
    const int x = e.cursorRect().left();
    QTest::keyClick(&e, Qt::Key_Down);
    EXPECT_EQ(e.textCursor().blockNumber(), 1);
    EXPECT_NEAR(e.cursorRect().left(), x, 8);
}

TEST_F(LongLineEditing, TextTypedAtTheEndIsPlacedAsQtPlacesIt)
{
    // Kerning pairs past the line's old end: laid out without shaping too.
    QTest::keyClick(&e, Qt::Key_End);
    QTest::keyClicks(&e, QStringLiteral("AVAWToTeYoLTAV"));
    ASSERT_TRUE(e.followed(longBlock));
    const QRect typed = e.cursorRect();
    e.ensureCursorVisible();
    ASSERT_FALSE(e.followed(longBlock));
    EXPECT_EQ(e.cursorRect(), typed);
}

TEST_F(LongLineEditing, ALineWithoutLettersStaysFollowedWhenDrawn)
{
    e.setText(QString(1000, u'\n') + QStringLiteral("1234567890, ").repeated(3000));
    e.setSelStart(e.textLength() - 5);
    QApplication::processEvents();
    QTest::keyClick(&e, Qt::Key_5);
    const QTextBlock line = e.document()->lastBlock();
    ASSERT_TRUE(e.followed(line));
    e.render(false);
    EXPECT_TRUE(e.followed(line));
}

TEST_F(LongLineEditing, TheLineOutOfViewIsLaidOutAgain)
{
    QTest::keyClick(&e, Qt::Key_X);
    ASSERT_TRUE(e.followed(longBlock));
    // Scrolled away: a key typed there brings the caret back into view.
    e.verticalScrollBar()->setValue(0);
    QTest::keyClick(&e, Qt::Key_Y);
    EXPECT_TRUE(caretSeen());
    EXPECT_EQ(longBlock.layout()->lineCount(), 1);
    QTest::keyClick(&e, Qt::Key_Z);
    // The caret placed by the program on the followed line, out of view.
    e.verticalScrollBar()->setValue(0);
    e.setSelStart(e.lineStart(40) + 2000);
    EXPECT_TRUE(caretSeen());
    EXPECT_EQ(e.textPart(e.lineStart(40) + 15000, 3).toStdString(), "xyz");
}

} // namespace
