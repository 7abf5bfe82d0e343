#include "editor/TextTransforms.h"

#include "editor/EditorState.h"
#include "editor/Undo.h"
#include "store/ColourNotation.h"
#include "store/Utilities.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString mapChars(QString text, bool upper)
{
    for (QChar& c : text)
        c = upper ? c.toUpper() : c.toLower();
    return text;
}

// Whole-text commands: one undo step around one new text.
template <typename F>
void changeWholeText(TextModel& m, F change)
{
    UndoSnapshot();
    const QString before = m.text();
    const QString after = change(before);
    if (after != before)
        m.setText(after);
    UndoCommit();
}

// The selection (or the whole text without one) through a replacement.
template <typename F>
void changeSelectionOrAll(TextModel& m, F change)
{
    UndoSnapshot();
    if (m.selLength() > 0) {
        m.setSelText(change(m.selText()));
    } else {
        const QString before = m.text();
        const QString after = change(before);
        if (after != before)
            m.setText(after);
    }
    UndoCommit();
}

QString withoutBlankLines(const QString& text)
{
    return MeaningfulLines(SplitLines(text)).join(kCrLf);
}

const QChar kMarkerOpen(0xE000);
const QChar kMarkerClose(0xE001);

// A CR LF before (or after) every occurrence of word, in any letter case;
// the text's own letters stay as written.
QString withBreaksAround(const QString& text, QStringView word, bool before)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(word, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(word, at + word.size(), Qt::CaseInsensitive)) {
        const qsizetype cut = before ? at : at + word.size();
        out += QStringView(text).mid(from, cut - from);
        out += kCrLf;
        from = cut;
    }
    out += QStringView(text).mid(from);
    return out;
}

// Drops the CR LF in front of every occurrence of word (any letter case).
QString withoutBreakBefore(const QString& text, QStringView word)
{
    const QString find = kCrLf + word.toString();
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(find, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(find, at + find.size(), Qt::CaseInsensitive)) {
        out += QStringView(text).mid(from, at - from);
        from = at + 2;
    }
    out += QStringView(text).mid(from);
    return out;
}

} // namespace

QString UpperCaseKeepingLength(const QString& text) { return mapChars(text, true); }
QString LowerCaseKeepingLength(const QString& text) { return mapChars(text, false); }

void ConvertSelection(TextModel& m, SelectionConversion conversion)
{
    UndoSnapshot();
    SaveSelParams(m);
    const QString s = m.selText();
    QString converted;
    switch (conversion) {
    case SelectionConversion::Upper: converted = UpperCaseKeepingLength(s); break;
    case SelectionConversion::Lower: converted = LowerCaseKeepingLength(s); break;
    case SelectionConversion::ToLatinLayout: converted = TransToEng(s); break;
    case SelectionConversion::ToRussianLayout: converted = TransToRus(s); break;
    }
    m.setSelText(converted);
    LoadSelParams(m);
    UndoCommit();
}

void TextStyle(TextModel& m, const QString& open, const QString& close, int caretOffset)
{
    UndoSnapshot();
    const QString selected = m.selText();
    const int n = int(selected.size());
    m.setSelText(open + selected + close);
    const int start = m.selStart() - int(open.size() + close.size()) - n;
    m.setSelStart(start);
    if (caretOffset == -1)
        m.setSelLength(n + int(open.size() + close.size()));
    else
        m.setSelStart(start + caretOffset);
    UndoCommit();
}

void InsertBreakTag(TextModel& m)
{
    UndoSnapshot();
    m.setSelText(m.selText() + QStringLiteral("<br>"));
    UndoCommit();
}

QStringList MeaningfulLines(const QStringList& lines)
{
    QStringList kept;
    for (const QString& l : lines)
        if (std::any_of(l.begin(), l.end(), [](QChar c) { return c != u' ' && c != u'\t'; }))
            kept << l;
    return kept;
}

QString TrimLineStart(const QString& line)
{
    qsizetype from = 0;
    while (line.size() - from > 1 && (line[from] == u' ' || line[from] == u'\t'))
        ++from;
    return line.mid(from);
}

QString BreakTagsAtLineEnds(const QString& text)
{
    return ReplaceText(text, kCrLf, QStringLiteral("<br>") + kCrLf, true);
}

QString IntoOneLine(const QString& text) { return ReplaceText(text, kCrLf, QStringLiteral(" "), true); }

QString RelayoutCode(const QString& text)
{
    // Kept contents stand aside as markers that hold no "<", ">" or line
    // break, so the steps below cannot reach into them.
    QList<KeptRange> kept;
    if (!text.contains(kMarkerOpen))
        for (const KeptRange& r : KeptContentRanges(text))
            if (r.end > r.start)
                kept.append(r);
    QString t;
    t.reserve(text.size() + text.size() / 4);
    qsizetype from = 0;
    for (int i = 0; i < kept.size(); ++i) {
        t += QStringView(text).mid(from, kept[i].start - from);
        t += kMarkerOpen + QString::number(i) + kMarkerClose;
        from = kept[i].end;
    }
    t += QStringView(text).mid(from);

    t = withBreaksAround(t, u">", false);
    t = withBreaksAround(t, u"<", true);
    t = withoutBreakBefore(t, u"<br>");
    t = withoutBlankLines(t);
    t = withBreaksAround(t, u"<TABLE", true);
    t = withBreaksAround(t, u"<div", true);
    t = withBreaksAround(t, u"</TABLE>", false);
    t = withBreaksAround(t, u"</div>", false);
    if (kept.isEmpty())
        return t;
    // Back in their place; the breaks put between a marker and the tags
    // around it go, so the element's content is exactly as it was.
    QString out;
    out.reserve(t.size() + text.size());
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] != kMarkerOpen) {
            out += t[i];
            continue;
        }
        const qsizetype close = t.indexOf(kMarkerClose, i);
        const int index = QStringView(t).mid(i + 1, close - i - 1).toInt();
        if (out.endsWith(kCrLf))
            out.chop(2);
        out += QStringView(text).mid(kept[index].start, kept[index].end - kept[index].start);
        i = close;
        if (QStringView(t).mid(i + 1).startsWith(kCrLf))
            i += 2;
    }
    return out;
}

void DeleteMeaninglessLines(TextModel& m) { changeWholeText(m, withoutBlankLines); }

void TrimLineStarts(TextModel& m)
{
    changeWholeText(m, [](const QString& text) {
        QStringList lines = SplitLines(text);
        for (QString& l : lines)
            l = TrimLineStart(l);
        QString out = lines.join(kCrLf);
        if (text.endsWith(u'\n') || text.endsWith(u'\r'))
            out += kCrLf;
        return out;
    });
}

void SquashBlanks(TextModel& m)
{
    changeWholeText(m, [](const QString& text) { return SquashRepeats(text, u' '); });
}

void AddBreakTagsAtLineEnds(TextModel& m) { changeSelectionOrAll(m, BreakTagsAtLineEnds); }
void JoinIntoOneLine(TextModel& m) { changeSelectionOrAll(m, IntoOneLine); }
void RelayoutDocument(TextModel& m) { changeWholeText(m, RelayoutCode); }

QString SelectionFileText(const QString& selection)
{
    QString out;
    for (const QString& l : SplitLines(selection))
        out += l + kCrLf;
    return out;
}

const QList<SymbolEntry>& SymbolEntries()
{
    static const QList<SymbolEntry> entries = {
        {"SYMBOLS_HTML", QStringLiteral("HTML :"), QString()},
        {"N11", QStringLiteral("Пробел"), QStringLiteral("&nbsp;")},
        {"N6", QStringLiteral("«"), QStringLiteral("&laquo;")},
        {"N10", QStringLiteral("»"), QStringLiteral("&raquo;")},
        {"N12", QStringLiteral("<"), QStringLiteral("&lt;")},
        {"N15", QStringLiteral(">"), QStringLiteral("&gt;")},
        {"N21", QStringLiteral("&&"), QStringLiteral("&amp;")},
        {"N18", QStringLiteral("•"), QStringLiteral("&bull;")},
        {"N17", QStringLiteral("Умножение"), QStringLiteral("&#215;")},
        {"-", QString(), QString()},
        {"SYMBOLS_JS", QStringLiteral("JavaScript :"), QString()},
        {"N28", QStringLiteral("'"), QStringLiteral("\\'")},
        {"N29", QStringLiteral("\""), QStringLiteral("\\\"")},
        {"N27", QStringLiteral("Разрыв строки"), QStringLiteral("\\n")},
    };
    return entries;
}

QPoint ToolPanelPosition(QPoint mouse, int windowWidth, QSize panel)
{
    int left = mouse.x() - panel.width() / 2;
    int top = mouse.y() - 100;
    if (left < 0)
        left = 0;
    else if (left + panel.width() > windowWidth)
        left = windowWidth - panel.width() - 10;
    if (top < 0)
        top = 0;
    return {left, top};
}
