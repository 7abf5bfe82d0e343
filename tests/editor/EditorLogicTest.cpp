#include "editor/EditorLogic.h"
#include "editor/MemoryTextModel.h"

#include <gtest/gtest.h>

namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

MemoryTextModel WithCaret(const QString& text, int start, int length = 0)
{
    MemoryTextModel m(text);
    m.setSelStart(start);
    m.setSelLength(length);
    return m;
}

// Line 2 ("abc", the third line) starts at offset 24.
QString ThreeLines() { return S("0123456789\r\n0123456789\r\nabc"); }

TEST(EditorLogicCaretInfo, CaretBeforeACharacterDescribesIt)
{
    EXPECT_EQ(CARETINFO_Text(WithCaret(ThreeLines(), 25)), S("Строка 3 символ 26, 2 символ в строке: \"b\" (код: 98)"));
    EXPECT_EQ(CARETINFO_Text(WithCaret(ThreeLines(), 24)), S("Строка 3 символ 25, 1 символ в строке: \"a\" (код: 97)"));
    // The last character of a line is described too; past it there is none.
    EXPECT_EQ(CARETINFO_Text(WithCaret(ThreeLines(), 26)), S("Строка 3 символ 27, 3 символ в строке: \"c\" (код: 99)"));
    EXPECT_EQ(CARETINFO_Text(WithCaret(ThreeLines(), 27)), S("Строка 3 символ 28, "));
}

TEST(EditorLogicCaretInfo, TheLineIsReadAroundTheCaret)
{
    // A last line before a final break, a surrogate pair, a long line.
    const QString text = S("x\r\nab") + QString::fromUtf16(u"\U0001F600") + S("c\r\n");
    const struct {
        QString text;
        int caret;
        const char* expected;
    } rows[] = {
        {text, 5, "Строка 2 символ 6, 3 символ в строке: \"\U0001F600\" (код: 128512)"},
        {text, 6, "Строка 2 символ 7, 4 символ в строке: \"\U0001F600\" (код: 128512)"},
        {text, 7, "Строка 2 символ 8, 5 символ в строке: \"c\" (код: 99)"},
        {text, 8, "Строка 2 символ 9, "},
        {QString(100000, u'a') + S("b"), 100000, "Строка 1 символ 100001, 100001 символ в строке: \"b\" (код: 98)"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(CARETINFO_Text(WithCaret(r.text, r.caret)), S(r.expected)) << r.caret;
}

TEST(EditorLogicCaretInfo, EmptyLineGivesOnlyLineAndOffset)
{
    QString text;
    for (int i = 0; i < 6; ++i)
        text += S("abcdefghijklmnopqr\r\n"); // 18 characters and a break each
    text += S("\r\nlast");
    ASSERT_EQ(MemoryTextModel(text).lineStart(6), 120);
    EXPECT_EQ(CARETINFO_Text(WithCaret(text, 120)), S("Строка 7 символ 121"));
    // The empty line holds the selection's end, so its length does not matter.
    EXPECT_EQ(CARETINFO_Text(WithCaret(text, 100, 20)), S("Строка 7 символ 101"));
    EXPECT_EQ(CARETINFO_Text(WithCaret(QString(), 0)), S("Строка 1 символ 1"));
}

TEST(EditorLogicCaretInfo, Selections)
{
    const QString text = S("<p>twelve chars here</p>");
    EXPECT_EQ(CARETINFO_Text(WithCaret(text, 3, 12)), S("Выделено 12 символов"));
    EXPECT_EQ(CARETINFO_Text(WithCaret(text, 3, 2)), S("Выделено 2 символов"));
    // One selected character is the one before the caret.
    EXPECT_EQ(CARETINFO_Text(WithCaret(ThreeLines(), 25, 1)),
              S("Строка 3 символ 26, 2 символ в строке: \"b\" (код: 98), выделено: 1"));
    EXPECT_EQ(CARETINFO_Text(WithCaret(ThreeLines(), 26, 1)),
              S("Строка 3 символ 27, 3 символ в строке: \"c\" (код: 99), выделено: 1"));
    // A selection ending on the next line reports where it ends.
    EXPECT_EQ(CARETINFO_Text(WithCaret(ThreeLines(), 20, 5)), S("Выделено 5 символов"));
}

TEST(EditorLogicCaretInfo, CharacterCodes)
{
    EXPECT_EQ(CARETINFO_Text(WithCaret(S("a\tb"), 1)), S("Строка 1 символ 2, 2 символ в строке: \"отступ\" (код: 9)"));
    // Windows-1251 bytes, and the Unicode value outside the code page.
    EXPECT_EQ(CARETINFO_Text(WithCaret(S("x€"), 1)), S("Строка 1 символ 2, 2 символ в строке: \"€\" (код: 136)"));
    EXPECT_EQ(CARETINFO_Text(WithCaret(S("Я"), 0)), S("Строка 1 символ 1, 1 символ в строке: \"Я\" (код: 223)"));
    EXPECT_EQ(CARETINFO_Text(WithCaret(S("→"), 0)), S("Строка 1 символ 1, 1 символ в строке: \"→\" (код: 8594)"));
    EXPECT_EQ(CARETINFO_Text(WithCaret(S("😀"), 0)), S("Строка 1 символ 1, 1 символ в строке: \"😀\" (код: 128512)"));
}

TEST(EditorLogicTypingHint, KeywordsBeforeTheCaret)
{
    auto hint = TypingHintAt(S("<TaBlE"), -1);
    ASSERT_TRUE(hint);
    EXPECT_EQ(hint->leadText, S("Для создания заготовки таблицы используйте"));
    EXPECT_EQ(hint->button, S("TABLEBUT"));

    hint = TypingHintAt(S("<a href="), -1);
    ASSERT_TRUE(hint);
    EXPECT_EQ(hint->leadText, S("Для выбора относительного пути через файловый диалог, нажмите Ctrl+Alt+P"));
    EXPECT_TRUE(hint->button.isEmpty());
    EXPECT_EQ(TypingHintAt(S("url("), -1)->leadText, hint->leadText);

    EXPECT_EQ(TypingHintAt(S("<a "), -1)->button, S("ABUT"));
    EXPECT_EQ(TypingHintAt(S("<EMBED"), -1)->button, S("SWFBUT"));
    EXPECT_EQ(TypingHintAt(S("<!--"), -1)->button, S("COMMENTBUT"));
    EXPECT_EQ(TypingHintAt(S("<BR>"), -1)->leadText, S("Для вставки <br> нажмите Ctrl+B"));

    // Only the characters ending at the selection start count.
    EXPECT_EQ(TypingHintAt(S("<img src=x"), 4)->button, S("IMGBUT"));
    EXPECT_FALSE(TypingHintAt(S("<img src=x"), 5));
    EXPECT_FALSE(TypingHintAt(S("<img "), -1));
    EXPECT_FALSE(TypingHintAt(S("img"), -1));
    EXPECT_FALSE(TypingHintAt(QString(), -1));
    EXPECT_FALSE(TypingHintAt(S("<im"), 99));
    EXPECT_TRUE(TypingHintAt(S("<img"), 99));
}

TEST(EditorLogicTypingHint, FirstMatchInTableOrderWins)
{
    // "style=" comes before "src=" and "href=" would; "font" before "URL(".
    EXPECT_EQ(TypingHintAt(S("<p style="), -1)->button, S("STYLEBUT"));
    EXPECT_EQ(TypingHintAt(S("<font"), -1)->button, S("FONTBUT"));
}

TEST(EditorLogicTypingHint, MessagesQuoteTheButtonHint)
{
    const auto hints = ToolButtonHints();
    EXPECT_EQ(hints.size(), 7);
    const auto img = TypingHintAt(S("<img"), -1);
    ASSERT_TRUE(img);
    EXPECT_EQ(TypingHintMessage(*img, hints.value(img->button)),
              S("Для вставки картинки можно использовать \"Вставить картинку, с выбором пути на диске\" на панели "
                "инструментов"));
    const auto font = TypingHintAt(S("font"), -1);
    EXPECT_EQ(TypingHintMessage(*font, hints.value(font->button)),
              S("Для описания шрифта удобно пользоваться инструментом \"Выбрать и вставить стиль шрифта\" на панели "
                "инструментов"));
    const auto br = TypingHintAt(S("<br>"), -1);
    EXPECT_EQ(TypingHintMessage(*br, S("ignored")), S("Для вставки <br> нажмите Ctrl+B"));
    // Every button the table names has a hint.
    for (const char* k : {"<table", "style=", "font", "<A ", "<embed", "<img", "<!--"})
        EXPECT_FALSE(hints.value(TypingHintAt(S(k), -1)->button).isEmpty()) << k;
}

TEST(EditorLogicIntercept, PatternsEndingAtTheCaret)
{
    EXPECT_EQ(InterceptAt(S("<p StYlE="), -1), Intercept::Style);
    EXPECT_EQ(InterceptAt(S("<p class="), -1), Intercept::Class);
    EXPECT_EQ(InterceptAt(S("color:"), -1), Intercept::Color);
    EXPECT_EQ(InterceptAt(S("color:#000;"), 6), Intercept::Color);
    EXPECT_EQ(InterceptAt(S("width="), -1), Intercept::None);
    EXPECT_EQ(InterceptAt(S("style ="), -1), Intercept::None);
    EXPECT_EQ(InterceptAt(S("color="), -1), Intercept::None);
    EXPECT_EQ(InterceptAt(S("style:"), -1), Intercept::None);
    EXPECT_EQ(InterceptAt(S("=style="), 1), Intercept::None);
    EXPECT_EQ(InterceptAt(QString(), -1), Intercept::None);
    EXPECT_EQ(InterceptAt(S("tyle="), -1), Intercept::None);
}

TEST(EditorLogicKeys, WindowsCodesFromQtKeys)
{
    EXPECT_EQ(WindowsKeyCode(Qt::Key_Escape, 0, false), 27);
    EXPECT_EQ(WindowsKeyCode(Qt::Key_Control, 0, false), 17);
    EXPECT_EQ(WindowsKeyCode(Qt::Key_PageDown, 0, false), 34);
    EXPECT_EQ(WindowsKeyCode(Qt::Key_Left, 0, false), 37);
    EXPECT_EQ(WindowsKeyCode(Qt::Key_Down, 0, false), 40);
    EXPECT_EQ(WindowsKeyCode(Qt::Key_Z, 0, false), 90);
    EXPECT_EQ(WindowsKeyCode(Qt::Key_Equal, 0, false), 187);
    EXPECT_EQ(WindowsKeyCode(Qt::Key_Plus, 0, false), 187);
    EXPECT_EQ(WindowsKeyCode(Qt::Key_Semicolon, 0, false), 186);
    EXPECT_EQ(WindowsKeyCode(Qt::Key_Colon, 0, false), 186);
    // A Russian layout: letters give the Latin key they share.
    EXPECT_EQ(WindowsKeyCode(0x042F, 0, false), 90); // Я
    EXPECT_EQ(WindowsKeyCode(0x044F, 0, false), 90); // я
    EXPECT_EQ(WindowsKeyCode(0x0416, 0, false), 186); // Ж
    EXPECT_EQ(WindowsKeyCode(0x0419, 0, false), int('Q')); // Й
    EXPECT_EQ(WindowsKeyCode(0x0424, 0, false), int('A')); // Ф
    EXPECT_EQ(WindowsKeyCode(Qt::Key_F9, 0, false), 0);
    EXPECT_EQ(WindowsKeyCode(-1, 0, false), 0);

    EXPECT_TRUE(InterceptKey(WindowsKeyCode(Qt::Key_Equal)));
    EXPECT_TRUE(InterceptKey(WindowsKeyCode(Qt::Key_Colon)));
    EXPECT_FALSE(InterceptKey(WindowsKeyCode(Qt::Key_Minus, 0, false)));
}

TEST(EditorLogicKeys, NativeCodeOnlyWhereItIsAWindowsCode)
{
    // A Windows code wins over the Qt key: Shift+6 types ":" on a Russian
    // layout but is not the ":" key.
    EXPECT_EQ(WindowsKeyCode(Qt::Key_Colon, 54, true), 54);
    EXPECT_EQ(WindowsKeyCode(0x0416, 186, true), 186);
    EXPECT_EQ(WindowsKeyCode(Qt::Key_Escape, 0, true), 27);
    EXPECT_EQ(WindowsKeyCode(Qt::Key_Escape, 0x1234, true), 27);
    // A key symbol of another window system is no key code: "!" is 33 there.
    EXPECT_EQ(WindowsKeyCode(Qt::Key_Exclam, 33, false), 0);
    EXPECT_EQ(WindowsKeyCode(Qt::Key_Equal, 0x3d, false), 187);
}

TEST(EditorLogicScroll, ThumbSnapsToTheNearestLineTiesToEven)
{
    EXPECT_EQ(SnapThumb(37, 16), 32);
    EXPECT_EQ(SnapThumb(40, 16), 32);
    EXPECT_EQ(SnapThumb(41, 16), 48);
    EXPECT_EQ(SnapThumb(24, 16), 32);
    EXPECT_EQ(SnapThumb(8, 16), 0);
    EXPECT_EQ(SnapThumb(0, 16), 0);
    EXPECT_EQ(SnapThumb(48, 16), 48);
    EXPECT_EQ(SnapThumb(-24, 16), -32);
    EXPECT_EQ(SnapThumb(-8, 16), 0);
    EXPECT_EQ(SnapThumb(50, 15), 45);
    // The thumb position is 16 bits wide and so is the product.
    EXPECT_EQ(SnapThumb(65536 + 37, 16), 32);
    EXPECT_EQ(SnapThumb(32767, 16), -32768);
    EXPECT_EQ(SnapThumb(37, 0), 37);
}

TEST(EditorLogicTxtools, PanelStaysInsideTheWindow)
{
    EXPECT_EQ(TxtoolsPosition(QPoint(500, 300), 315, 1000), QPoint(343, 200));
    EXPECT_EQ(TxtoolsPosition(QPoint(100, 50), 315, 1000), QPoint(0, 0));
    EXPECT_EQ(TxtoolsPosition(QPoint(950, 100), 315, 1000), QPoint(675, 0));
    // Exactly at the right edge is still inside; one pixel more is not.
    EXPECT_EQ(TxtoolsPosition(QPoint(842, 101), 315, 1000), QPoint(685, 1));
    EXPECT_EQ(TxtoolsPosition(QPoint(843, 101), 315, 1000), QPoint(675, 1));
    // Halving the width rounds toward zero.
    EXPECT_EQ(TxtoolsPosition(QPoint(200, 200), 315, 1000).x(), 200 - 157);
}

} // namespace
