#pragma once
// Behaviour every TextModel must share. Instantiate with a factory:
//
//   struct Factory {
//       using Model = ...;                            // derives from TextModel
//       static std::unique_ptr<Model> make();
//       static void scrollTo(Model& model, int line); // puts line at the top
//   };
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, TextModelConformance, ::testing::Types<Factory>);
#include "editor/TextModel.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <memory>
#include <ostream>
#include <vector>

inline void PrintTo(const CaretPos& p, std::ostream* os)
{
    *os << "(column " << p.column << ", line " << p.line << ")";
}

namespace text_model_testing {

inline std::string Show(const QString& s)
{
    QString shown = s;
    shown.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
    return shown.toStdString();
}

// Checks the line queries against the whole text, split the plain way.
inline void ExpectLinesMatchText(const TextModel& m)
{
    const QString text = m.text();
    ASSERT_FALSE(text.contains(QRegularExpression(QStringLiteral("\r(?!\n)|(?<!\r)\n"))))
        << "stray line break in " << Show(text);
    const QStringList pieces = text.split(QStringLiteral("\r\n"));
    const int expectedCount = pieces.back().isEmpty() ? int(pieces.size()) - 1 : int(pieces.size());
    ASSERT_EQ(m.lineCount(), expectedCount) << Show(text);
    int start = 0;
    for (int i = 0; i < int(pieces.size()); ++i) {
        const int len = int(pieces[i].size());
        ASSERT_EQ(m.lineStart(i), start) << "line " << i << " of " << Show(text);
        ASSERT_EQ(m.line(i), i < expectedCount ? pieces[i] : QString()) << "line " << i;
        ASSERT_EQ(m.lineAt(start), i);
        ASSERT_EQ(m.lineAt(start + len), i);
        if (i + 1 < int(pieces.size())) {
            ASSERT_EQ(m.lineAt(start + len + 1), i) << "between CR and LF of line " << i;
        }
        start += len + 2;
    }
    ASSERT_EQ(m.lineStart(int(pieces.size())), -1);
}

// Offset the way a plain string sees it: inside the text and never between
// CR and LF.
inline int ClampOffset(const QString& text, qint64 offset)
{
    const int o = int(std::clamp<qint64>(offset, 0, text.size()));
    if (o > 0 && o < text.size() && text[o - 1] == u'\r' && text[o] == u'\n')
        return o - 1;
    return o;
}

} // namespace text_model_testing

template <typename Factory>
class TextModelConformance : public ::testing::Test {
protected:
    void SetUp() override { model_ = Factory::make(); }

    TextModel& m() { return *model_; }
    void set(const QString& text) { model_->setText(text); }
    void select(int start, int length)
    {
        model_->setSelStart(start);
        model_->setSelLength(length);
    }
    void scrollTo(int line) { Factory::scrollTo(*model_, line); }

    std::unique_ptr<typename Factory::Model> model_;
};

TYPED_TEST_SUITE_P(TextModelConformance);

TYPED_TEST_P(TextModelConformance, TextRoundTripsWithAnyLineBreak)
{
    struct Case {
        QString in;
        QString out;
    };
    const std::vector<Case> cases = {
        {QStringLiteral(""), QStringLiteral("")},
        {QStringLiteral("abc"), QStringLiteral("abc")},
        {QStringLiteral("a\r\nb"), QStringLiteral("a\r\nb")},
        {QStringLiteral("a\rb"), QStringLiteral("a\r\nb")},
        {QStringLiteral("a\nb"), QStringLiteral("a\r\nb")},
        {QStringLiteral("a\r\n"), QStringLiteral("a\r\n")},
        {QStringLiteral("a\n"), QStringLiteral("a\r\n")},
        {QStringLiteral("\r"), QStringLiteral("\r\n")},
        {QStringLiteral("\n\n"), QStringLiteral("\r\n\r\n")},
        // LF before CR is two breaks; CR CR LF is a lone CR and a pair.
        {QStringLiteral("a\n\rb"), QStringLiteral("a\r\n\r\nb")},
        {QStringLiteral("a\r\r\nb"), QStringLiteral("a\r\n\r\nb")},
        {QStringLiteral("x\r\ny\rz\nw\r\n"), QStringLiteral("x\r\ny\r\nz\r\nw\r\n")},
        {QStringLiteral("\ttab\t\r\n  lead"), QStringLiteral("\ttab\t\r\n  lead")},
    };
    for (const Case& c : cases) {
        this->set(c.in);
        EXPECT_EQ(this->m().text(), c.out) << text_model_testing::Show(c.in);
        text_model_testing::ExpectLinesMatchText(this->m());
    }
    // A second setText replaces everything.
    this->set(QStringLiteral("one\r\ntwo\r\nthree"));
    this->set(QStringLiteral("x"));
    EXPECT_EQ(this->m().text(), QStringLiteral("x"));
    EXPECT_EQ(this->m().lineCount(), 1);
}

TYPED_TEST_P(TextModelConformance, LineCountFollowsMemoRule)
{
    struct Case {
        QString text;
        int count;
    };
    const std::vector<Case> cases = {
        {QStringLiteral(""), 0},
        {QStringLiteral("a"), 1},
        {QStringLiteral("a\r\n"), 1},
        {QStringLiteral("a\r\n\r\n"), 2},
        {QStringLiteral("\r\n"), 1},
        {QStringLiteral("\r\n\r\n\r\n"), 3},
        {QStringLiteral("a\r\nb"), 2},
        {QStringLiteral("a\r\n\r\nb"), 3},
    };
    for (const Case& c : cases) {
        this->set(c.text);
        EXPECT_EQ(this->m().lineCount(), c.count) << text_model_testing::Show(c.text);
    }
}

TYPED_TEST_P(TextModelConformance, LinesAreReadWithoutBreaks)
{
    this->set(QStringLiteral("first\r\nsecond\r\n\r\nlast"));
    EXPECT_EQ(this->m().line(0), QStringLiteral("first"));
    EXPECT_EQ(this->m().line(1), QStringLiteral("second"));
    EXPECT_EQ(this->m().line(2), QString());
    EXPECT_EQ(this->m().line(3), QStringLiteral("last"));
    EXPECT_EQ(this->m().line(4), QString());
    EXPECT_EQ(this->m().line(-1), QString());

    this->set(QString());
    EXPECT_EQ(this->m().line(0), QString());
}

TYPED_TEST_P(TextModelConformance, SetLineReplacesOneLineAndKeepsItsBreak)
{
    this->set(QStringLiteral("aa\r\nbb\r\ncc"));
    this->m().setLine(1, QStringLiteral("middle"));
    EXPECT_EQ(this->m().text(), QStringLiteral("aa\r\nmiddle\r\ncc"));
    // The caret ends after the new text.
    EXPECT_EQ(this->m().selStart(), 4 + 6);
    EXPECT_EQ(this->m().selLength(), 0);

    this->m().setLine(2, QStringLiteral("end"));
    EXPECT_EQ(this->m().text(), QStringLiteral("aa\r\nmiddle\r\nend"));
    this->m().setLine(0, QString());
    EXPECT_EQ(this->m().text(), QStringLiteral("\r\nmiddle\r\nend"));
    EXPECT_EQ(this->m().lineCount(), 3);

    // The break after the last line stays where it is.
    this->set(QStringLiteral("x\r\ny\r\n"));
    this->m().setLine(1, QStringLiteral("why"));
    EXPECT_EQ(this->m().text(), QStringLiteral("x\r\nwhy\r\n"));

    // Breaks in the new text become lines of their own.
    this->m().setLine(0, QStringLiteral("p\nq\rr"));
    EXPECT_EQ(this->m().text(), QStringLiteral("p\r\nq\r\nr\r\nwhy\r\n"));
    text_model_testing::ExpectLinesMatchText(this->m());
}

TYPED_TEST_P(TextModelConformance, SetLineOutOfRangeIsIgnored)
{
    const QString text = QStringLiteral("aa\r\nbb\r\n");
    this->set(text);
    this->select(1, 3);
    for (int i : {-1, 2, 3, 1000}) {
        this->m().setLine(i, QStringLiteral("zz"));
        EXPECT_EQ(this->m().text(), text) << "line " << i;
    }
    EXPECT_EQ(this->m().selStart(), 1);
    EXPECT_EQ(this->m().selLength(), 3);

    this->set(QString());
    this->m().setLine(0, QStringLiteral("zz"));
    EXPECT_EQ(this->m().text(), QString());
}

TYPED_TEST_P(TextModelConformance, LineStartAndLineAt)
{
    // Lines start at 0, 4, 8 and 10.
    this->set(QStringLiteral("ab\r\ncd\r\n\r\nef"));
    EXPECT_EQ(this->m().lineStart(0), 0);
    EXPECT_EQ(this->m().lineStart(1), 4);
    EXPECT_EQ(this->m().lineStart(2), 8);
    EXPECT_EQ(this->m().lineStart(3), 10);
    EXPECT_EQ(this->m().lineStart(4), -1);
    EXPECT_EQ(this->m().lineStart(-1), -1);

    const int expectedLine[] = {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 3, 3, 3};
    for (int o = 0; o <= 12; ++o)
        EXPECT_EQ(this->m().lineAt(o), expectedLine[o]) << "offset " << o;
    EXPECT_EQ(this->m().lineAt(-7), 0);
    EXPECT_EQ(this->m().lineAt(13), 3);
    EXPECT_EQ(this->m().lineAt(1 << 30), 3);

    // After a final break the caret can stand on the empty line that the
    // count leaves out.
    this->set(QStringLiteral("a\r\n"));
    EXPECT_EQ(this->m().lineStart(1), 3);
    EXPECT_EQ(this->m().lineAt(3), 1);
    EXPECT_EQ(this->m().lineStart(2), -1);

    this->set(QString());
    EXPECT_EQ(this->m().lineStart(0), 0);
    EXPECT_EQ(this->m().lineStart(1), -1);
    EXPECT_EQ(this->m().lineAt(0), 0);
    EXPECT_EQ(this->m().lineAt(5), 0);
}

TYPED_TEST_P(TextModelConformance, SelectionCountsBreaksAsTwo)
{
    this->set(QStringLiteral("ab\r\ncd\r\nef"));
    this->select(1, 5);
    EXPECT_EQ(this->m().selStart(), 1);
    EXPECT_EQ(this->m().selLength(), 5);
    EXPECT_EQ(this->m().selText(), QStringLiteral("b\r\ncd"));
    EXPECT_EQ(this->m().caretPos(), (CaretPos{2, 1}));

    // The selected text is the same slice of text().
    this->select(2, 8);
    EXPECT_EQ(this->m().selText(), this->m().text().mid(2, 8));
    EXPECT_EQ(this->m().selText(), QStringLiteral("\r\ncd\r\nef"));
    EXPECT_EQ(this->m().caretPos(), (CaretPos{2, 2}));

    // setSelStart collapses an existing selection.
    this->m().setSelStart(8);
    EXPECT_EQ(this->m().selLength(), 0);
    EXPECT_EQ(this->m().selText(), QString());
    EXPECT_EQ(this->m().caretPos(), (CaretPos{0, 2}));
}

TYPED_TEST_P(TextModelConformance, OffsetBetweenCrAndLfLandsAtLineEnd)
{
    this->set(QStringLiteral("ab\r\ncd"));
    this->m().setSelStart(3);
    EXPECT_EQ(this->m().selStart(), 2);
    EXPECT_EQ(this->m().caretPos(), (CaretPos{2, 0}));

    // The end of a selection too: only "b" is left selected.
    this->select(1, 2);
    EXPECT_EQ(this->m().selStart(), 1);
    EXPECT_EQ(this->m().selLength(), 1);
    EXPECT_EQ(this->m().selText(), QStringLiteral("b"));

    this->select(2, 1);
    EXPECT_EQ(this->m().selLength(), 0);
    this->select(2, 2);
    EXPECT_EQ(this->m().selText(), QStringLiteral("\r\n"));
    EXPECT_EQ(this->m().caretPos(), (CaretPos{0, 1}));
}

TYPED_TEST_P(TextModelConformance, OutOfRangeOffsetsAreClamped)
{
    this->set(QStringLiteral("abc\r\nde"));
    this->m().setSelStart(-3);
    EXPECT_EQ(this->m().selStart(), 0);
    this->m().setSelStart(1000);
    EXPECT_EQ(this->m().selStart(), 7);
    EXPECT_EQ(this->m().caretPos(), (CaretPos{2, 1}));

    this->select(2, 1000);
    EXPECT_EQ(this->m().selStart(), 2);
    EXPECT_EQ(this->m().selLength(), 5);
    EXPECT_EQ(this->m().selText(), QStringLiteral("c\r\nde"));

    this->select(2, std::numeric_limits<int>::max());
    EXPECT_EQ(this->m().selLength(), 5);
    this->select(2, -4);
    EXPECT_EQ(this->m().selStart(), 2);
    EXPECT_EQ(this->m().selLength(), 0);
    this->select(std::numeric_limits<int>::min(), 1);
    EXPECT_EQ(this->m().selStart(), 0);
    EXPECT_EQ(this->m().selText(), QStringLiteral("a"));

    this->set(QString());
    this->select(5, 5);
    EXPECT_EQ(this->m().selStart(), 0);
    EXPECT_EQ(this->m().selLength(), 0);
    EXPECT_EQ(this->m().caretPos(), (CaretPos{0, 0}));
}

TYPED_TEST_P(TextModelConformance, SetSelTextAcrossLinesLeavesCaretAfterIt)
{
    this->set(QStringLiteral("ab\r\ncd\r\nef"));
    this->select(1, 5);  // "b\r\ncd"
    this->m().setSelText(QStringLiteral("X\nY"));
    EXPECT_EQ(this->m().text(), QStringLiteral("aX\r\nY\r\nef"));
    EXPECT_EQ(this->m().selStart(), 5);
    EXPECT_EQ(this->m().selLength(), 0);
    EXPECT_EQ(this->m().caretPos(), (CaretPos{1, 1}));
    text_model_testing::ExpectLinesMatchText(this->m());

    // Joining lines: replace a break by nothing.
    this->select(5, 2);
    this->m().setSelText(QString());
    EXPECT_EQ(this->m().text(), QStringLiteral("aX\r\nYef"));
    EXPECT_EQ(this->m().selStart(), 5);
    EXPECT_EQ(this->m().lineCount(), 2);

    // Inserting at a plain caret keeps the text after it.
    this->m().setSelStart(4);
    this->m().setSelText(QStringLiteral("\r\n\r"));
    EXPECT_EQ(this->m().text(), QStringLiteral("aX\r\n\r\n\r\nYef"));
    EXPECT_EQ(this->m().selStart(), 8);
    EXPECT_EQ(this->m().caretPos(), (CaretPos{0, 3}));
    text_model_testing::ExpectLinesMatchText(this->m());

    // Into an empty text, and at the very end.
    this->set(QString());
    this->m().setSelText(QStringLiteral("new"));
    this->m().setSelText(QStringLiteral("\n"));
    EXPECT_EQ(this->m().text(), QStringLiteral("new\r\n"));
    EXPECT_EQ(this->m().caretPos(), (CaretPos{0, 1}));
    EXPECT_EQ(this->m().lineCount(), 1);
}

TYPED_TEST_P(TextModelConformance, CaretIsAtSelectionEnd)
{
    // Line 3 of the status text ("abc") starts at offset 24.
    this->set(QStringLiteral("0123456789\r\n0123456789\r\nabc\r\nlast"));
    ASSERT_EQ(this->m().lineStart(2), 24);
    this->m().setSelStart(25);
    const CaretPos beforeB = this->m().caretPos();
    EXPECT_EQ(beforeB, (CaretPos{1, 2}));
    EXPECT_EQ(this->m().line(beforeB.line)[beforeB.column], u'b');

    // One character selected: the caret is after it.
    this->select(24, 1);
    EXPECT_EQ(this->m().caretPos(), (CaretPos{1, 2}));
    // A selection that runs into the next line.
    this->select(20, 6);
    EXPECT_EQ(this->m().caretPos(), (CaretPos{2, 2}));
    this->select(26, 3);
    EXPECT_EQ(this->m().caretPos(), (CaretPos{0, 3}));
}

TYPED_TEST_P(TextModelConformance, SetTextPutsCaretAtStart)
{
    this->set(QStringLiteral("abc\r\ndef"));
    this->select(2, 4);
    this->set(QStringLiteral("xyz\r\nuvw"));
    EXPECT_EQ(this->m().selStart(), 0);
    EXPECT_EQ(this->m().selLength(), 0);
    EXPECT_EQ(this->m().caretPos(), (CaretPos{0, 0}));
}

TYPED_TEST_P(TextModelConformance, CharactersOutsideCp1251Survive)
{
    const QString text = QStringLiteral("Съешь же ещё этих булок € → 😀\r\n"
                                        "\u00A0nbsp\u00A0\t\u2026 \u4E2D\r\n"
                                        "𝄞");
    this->set(text);
    EXPECT_EQ(this->m().text(), text);
    EXPECT_EQ(this->m().line(0), QStringLiteral("Съешь же ещё этих булок € → 😀"));
    EXPECT_EQ(this->m().line(1), QStringLiteral("\u00A0nbsp\u00A0\t\u2026 \u4E2D"));
    text_model_testing::ExpectLinesMatchText(this->m());

    // Offsets are UTF-16 units: the emoji takes two.
    const int emoji = int(text.indexOf(QStringLiteral("😀")));
    this->select(emoji, 2);
    EXPECT_EQ(this->m().selText(), QStringLiteral("😀"));
    EXPECT_EQ(this->m().caretPos(), (CaretPos{emoji + 2, 0}));
    this->m().setSelText(QStringLiteral("→€"));
    this->m().setSelText(QStringLiteral("𝄞"));
    EXPECT_EQ(this->m().line(0), QStringLiteral("Съешь же ещё этих булок € → →€𝄞"));
    EXPECT_EQ(this->m().selStart(), emoji + 4);

    this->m().setLine(2, QStringLiteral("Ёлка 🎄"));
    EXPECT_EQ(this->m().line(2), QStringLiteral("Ёлка 🎄"));
    text_model_testing::ExpectLinesMatchText(this->m());
}

TYPED_TEST_P(TextModelConformance, FirstVisibleLine)
{
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QStringLiteral("line %1").arg(i);
    this->set(lines.join(u'\n'));
    EXPECT_EQ(this->m().firstVisibleLine(), 0);
    this->scrollTo(37);
    EXPECT_EQ(this->m().firstVisibleLine(), 37);
    this->set(lines.join(u'\n'));
    EXPECT_EQ(this->m().firstVisibleLine(), 0);
}

// A long run of mixed edits, each checked against a plain string.
TYPED_TEST_P(TextModelConformance, EditsKeepLinesConsistent)
{
    using text_model_testing::ClampOffset;
    const QString inserts[] = {
        QString(), QStringLiteral("x"), QStringLiteral("\r\n"), QStringLiteral("\n"),
        QStringLiteral("\r"), QStringLiteral("ab\rc"), QStringLiteral("ё\r\n\r\n"),
        QStringLiteral("😀"), QStringLiteral("\n\r"), QStringLiteral("long line of text"),
    };
    QString expected = QStringLiteral("alpha\r\nbeta\r\n\r\ngamma\r\ndelta\r\n");
    this->set(expected);
    int selStart = 0;
    int selLength = 0;

    std::uint32_t seed = 12345;
    auto next = [&seed](int n) {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 8) % std::uint32_t(n));
    };
    for (int step = 0; step < 400; ++step) {
        const int kind = next(3);
        const QString ins = inserts[next(int(std::size(inserts)))];
        QString crlf = ins;
        crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        if (kind == 0) {
            // Select somewhere (sometimes out of range) and replace.
            const int start = next(int(expected.size()) + 5) - 2;
            const int length = next(14) - 2;
            this->select(start, length);
            selStart = ClampOffset(expected, start);
            selLength = ClampOffset(expected, qint64(selStart) + std::max(length, 0)) - selStart;
            ASSERT_EQ(this->m().selStart(), selStart) << "step " << step;
            ASSERT_EQ(this->m().selLength(), selLength) << "step " << step;
            ASSERT_EQ(this->m().selText(), expected.mid(selStart, selLength));
            this->m().setSelText(ins);
            expected.replace(selStart, selLength, crlf);
            selStart += int(crlf.size());
        } else if (kind == 1) {
            // Replace a line, sometimes one that does not exist.
            const QStringList pieces = expected.split(QStringLiteral("\r\n"));
            const int count = pieces.back().isEmpty() ? int(pieces.size()) - 1 : int(pieces.size());
            const int i = next(count + 2) - 1;
            this->m().setLine(i, ins);
            if (i >= 0 && i < count) {
                int start = 0;
                for (int k = 0; k < i; ++k)
                    start += int(pieces[k].size()) + 2;
                expected.replace(start, pieces[i].size(), crlf);
                selStart = start + int(crlf.size());
            }
        } else {
            // Type at the caret.
            this->m().setSelStart(selStart);
            this->m().setSelText(ins);
            expected.insert(selStart, crlf);
            selStart += int(crlf.size());
        }
        ASSERT_EQ(this->m().text(), expected) << "step " << step;
        ASSERT_EQ(this->m().selStart(), selStart) << "step " << step;
        ASSERT_NO_FATAL_FAILURE(text_model_testing::ExpectLinesMatchText(this->m())) << "step " << step;
    }
}

TYPED_TEST_P(TextModelConformance, MultiMegabyteTextLookups)
{
    // About 5 MB of lines of many lengths, some of them empty.
    QString text;
    std::vector<int> starts;
    const QString pattern = QStringLiteral("<p class=x>Тест строки номер ");
    while (text.size() < 5'000'000) {
        starts.push_back(int(text.size()));
        const int n = int(starts.size());
        const int len = (n * 37) % 113;
        for (int k = 0; k < len; ++k)
            text += pattern[(n + k) % pattern.size()];
        text += QStringLiteral("\r\n");
    }
    text += QStringLiteral("end");
    starts.push_back(int(text.size()) - 3);
    const int lines = int(starts.size());

    this->set(text);
    ASSERT_EQ(this->m().lineCount(), lines);
    ASSERT_EQ(this->m().text().size(), text.size());
    for (int i = 0; i < lines; i += 997) {
        const int start = starts[size_t(i)];
        const int end = i + 1 < lines ? starts[size_t(i) + 1] - 2 : int(text.size());
        ASSERT_EQ(this->m().lineStart(i), start) << "line " << i;
        ASSERT_EQ(this->m().lineAt(start), i);
        ASSERT_EQ(this->m().lineAt(end), i);
        ASSERT_EQ(this->m().line(i), text.mid(start, end - start));
        this->m().setSelStart(end + 1);
        ASSERT_EQ(this->m().caretPos(), (CaretPos{end - start, i}));
    }
    EXPECT_EQ(this->m().lineAt(int(text.size())), lines - 1);
    EXPECT_EQ(this->m().line(lines - 1), QStringLiteral("end"));

    // An edit in the middle moves every later line.
    const int mid = lines / 2;
    this->m().setSelStart(starts[size_t(mid)]);
    this->m().setSelText(QStringLiteral("new\r\nlines\r\n"));
    EXPECT_EQ(this->m().lineCount(), lines + 2);
    EXPECT_EQ(this->m().lineStart(mid + 2), starts[size_t(mid)] + 12);
    EXPECT_EQ(this->m().lineStart(lines + 1), starts.back() + 12);
    EXPECT_EQ(this->m().lineAt(starts.back() + 12), lines + 1);
    EXPECT_EQ(this->m().caretPos(), (CaretPos{0, mid + 2}));
}

REGISTER_TYPED_TEST_SUITE_P(TextModelConformance,
                            TextRoundTripsWithAnyLineBreak,
                            LineCountFollowsMemoRule,
                            LinesAreReadWithoutBreaks,
                            SetLineReplacesOneLineAndKeepsItsBreak,
                            SetLineOutOfRangeIsIgnored,
                            LineStartAndLineAt,
                            SelectionCountsBreaksAsTwo,
                            OffsetBetweenCrAndLfLandsAtLineEnd,
                            OutOfRangeOffsetsAreClamped,
                            SetSelTextAcrossLinesLeavesCaretAfterIt,
                            CaretIsAtSelectionEnd,
                            SetTextPutsCaretAtStart,
                            CharactersOutsideCp1251Survive,
                            FirstVisibleLine,
                            EditsKeepLinesConsistent,
                            MultiMegabyteTextLookups);
