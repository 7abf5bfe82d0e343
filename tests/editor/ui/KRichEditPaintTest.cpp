// The editor's own paint of a view holding a long line, against Qt's paint
// of the same view: pixel for pixel, at several horizontal positions, with
// the colouring, a selection, the caret line and the caret in view.
#include "editor/Colouring.h"
#include "PaintedEdit.h"
#include "editor/ui/KRichEdit.h"

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSet>
#include <QStyleHints>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

struct PaintCase {
    const char* name;
    int column;      // the long line's character at the view's left edge
    bool caretLong;  // the caret on the long line (else on the short one)
    int selection;   // characters selected from the caret on
    bool overwrite;
    bool widerBelow = false; // a wider line after the long one
    bool ascii = false;      // no Cyrillic on the long line
};

void PrintTo(const PaintCase& c, std::ostream* os) { *os << c.name; }

class KRichEditPaint : public testing::TestWithParam<PaintCase> {};

TEST_P(KRichEditPaint, LongLineLooksAsQtPaintsIt)
{
    const PaintCase& c = GetParam();
    // The caret stays on while the views are drawn.
    struct SteadyCaret {
        const int flashTime = QGuiApplication::styleHints()->cursorFlashTime();
        SteadyCaret() { QGuiApplication::styleHints()->setCursorFlashTime(0); }
        ~SteadyCaret() { QGuiApplication::styleHints()->setCursorFlashTime(flashTime); }
    } steadyCaret;
    QString line;
    while (line.size() < 40000)
        line += QStringLiteral("var a=1,b=\"x\";if(a<b&&b>0){s=\"</div>\";n=42;}\tfunction f(c){return \"Ёж\"+c*2;}");
    if (c.ascii)
        line.replace(QStringLiteral("Ёж"), QStringLiteral("ab"));
    PaintedEdit e;
    e.resize(500, 200);
    e.setColouringKind(ColouringKind::Html);
    e.setText(QStringLiteral("<p>a short line</p>\r\n<script>") + line + QStringLiteral("</script>\r\nend")
        + (c.widerBelow ? QStringLiteral("\r\n") + QString(60000, u'w') : QString()));
    e.setOverwriteMode(c.overwrite);
    e.show();
    e.activateWindow();
    e.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&e));

    const QTextBlock longBlock = e.document()->findBlockByNumber(1);
    const int column = std::min(c.column, longBlock.length() - 1);
    const int x = int(longBlock.layout()->lineAt(0).cursorToX(column)) + (c.widerBelow ? 300 : 0);
    const int caretColumn = std::min(longBlock.length() - 1, longBlock.layout()->lineAt(0).xToCursor(x + 200));
    e.setSelStart(c.caretLong ? e.lineStart(1) + caretColumn : 3);
    e.setSelLength(c.selection);
    e.scrollHorizontalTo(x);
    QApplication::processEvents();
    ASSERT_EQ(e.horizontalScrollBar()->value(), std::min(x, e.horizontalScrollBar()->maximum()));
    if (c.caretLong) {
        ASSERT_GE(e.caretInContext(), longBlock.position());
    }

    const QImage qt = e.render(true);
    const QImage ours = e.render(false);
    ASSERT_EQ(ours.size(), qt.size());
    int differing = 0;
    for (int y = 0; y < qt.height(); ++y)
        for (int i = 0; i < qt.width(); ++i)
            differing += ours.pixel(i, y) != qt.pixel(i, y);
    EXPECT_EQ(differing, 0);
    // The long line is there at all: its row holds text, not a plain fill
    // (unless the view is past its end).
    if (c.widerBelow)
        return;
    const QRect row = e.row(longBlock);
    QSet<QRgb> colours;
    for (int i = 0; i < qt.width(); i += 2)
        colours.insert(qt.pixel(i, row.center().y() + 1));
    EXPECT_GT(colours.size(), 3);
}

INSTANTIATE_TEST_SUITE_P(Views, KRichEditPaint,
    testing::Values(PaintCase{"LineStart", 0, true, 0, false}, PaintCase{"Coloured", 2500, true, 30, false},
        PaintCase{"ColouredEnd", 16370, true, 0, false}, PaintCase{"PastColouring", 25000, true, 0, true},
        PaintCase{"LineEnd", 1 << 30, true, 0, false}, PaintCase{"CaretElsewhere", 9000, false, 0, false},
        PaintCase{"SelectionPastLineEnd", 1 << 30, true, 60, false},
        PaintCase{"SelectionThroughLine", 3000, false, 30000, false},
        PaintCase{"PastLineEnd", 1 << 30, true, 0, false, true},
        PaintCase{"AsciiLine", 7000, true, 10, false, false, true}),
    [](const testing::TestParamInfo<PaintCase>& i) { return std::string(i.param.name); });

} // namespace
