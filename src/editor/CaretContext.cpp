#include "editor/CaretContext.h"

#include "editor/TextModel.h"

#include <QStringView>
#include <algorithm>
#include <array>
#include <cstring>

TColor FoundColour = 0;

namespace {

// Letters are compared in ASCII only: full Unicode case mapping would make
// characters such as the long s (U+017F) match "S", and upper-casing a whole
// text may change its length.
char16_t AsciiUpper(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') ? char16_t(u - 'a' + 'A') : u;
}

bool IsHex(QChar c)
{
    const char16_t u = AsciiUpper(c);
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F');
}

// The piece equals the Latin-1 word, letter case ignored.
bool SameLetters(QStringView piece, const char* word)
{
    for (qsizetype i = 0; i < piece.size(); ++i, ++word)
        if (*word == '\0' || AsciiUpper(piece[i]) != char16_t(*word))
            return false;
    return *word == '\0';
}

bool IsOpeningDelimiter(QChar c)
{
    const char16_t u = c.unicode();
    return u == '"' || u == '\'' || u == '(' || u == '=';
}

bool IsStopCharacter(QChar c)
{
    switch (c.unicode()) {
    case ' ': case '"': case '\'': case '(': case ')': case ';':
    case '<': case '=': case '>': case '{': case '}':
        return true;
    default:
        return false;
    }
}

bool IsImageExtension(QStringView piece)
{
    static const std::array<const char*, 6> kImages = {".BMP", ".ICO", ".JPG", ".GIF", ".PNG", ".SWF"};
    return piece.size() == 4
        && std::any_of(kImages.begin(), kImages.end(), [&](const char* e) { return SameLetters(piece, e); });
}

// "#" at p with `digits` hex digits after it, not part of "&#".
bool CodeAt(const QString& text, qsizetype p, int digits)
{
    if (p < 0 || p + digits >= text.size() || text[p] != u'#')
        return false;
    if (p > 0 && text[p - 1] == u'&')
        return false;
    for (qsizetype i = p + 1; i <= p + digits; ++i)
        if (!IsHex(text[i]))
            return false;
    return true;
}

// The nearest opening delimiter before `before`, or -1.
qsizetype DelimiterBefore(const QString& text, qsizetype before)
{
    for (qsizetype i = std::min(before, text.size()) - 1; i >= 0; --i)
        if (IsOpeningDelimiter(text[i]))
            return i;
    return -1;
}

// The forward scan shared by the image and document paths. It starts at the
// character just before the caret and ends on a stop character; `matchAt`
// gives the length of an extension piece ("." included) starting at i, or 0.
// Every opening delimiter is also a stop character, so the delimiter a path
// starts after is always the nearest one before the scan's start: it is
// looked up once, which keeps the scan linear.
template <typename Match>
std::optional<QString> ScanForPath(const QString& text, int caret, Match matchAt)
{
    const qsizetype from = qsizetype(caret) - 1;
    if (text.isEmpty() || from < 0 || from >= text.size())
        return std::nullopt;
    const qsizetype delimiter = DelimiterBefore(text, from);
    for (qsizetype i = from; i < text.size(); ++i) {
        if (const qsizetype ext = matchAt(i); ext > 0 && delimiter >= 0) {
            QString path = text.mid(delimiter + 1, i + ext - delimiter - 1);
            path.replace(u'\\', u'/');
            return path;
        }
        if (IsStopCharacter(text[i]))
            return std::nullopt;
    }
    return std::nullopt;
}

QString FileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

} // namespace

std::optional<ColourCodeFind> FindColourCode(const QString& text, int selStart, int selLength)
{
    const qsizetype k = selStart;
    if (k >= 0 && k <= text.size() && (selLength == 4 || selLength == 7)) {
        const QStringView s = QStringView(text).mid(k, std::max(selLength, 0));
        if (s.size() == selLength) {
            if (s[0] != u'#' || !std::all_of(s.begin() + 1, s.end(), IsHex))
                return std::nullopt;
            return ColourCodeFind{selStart, selLength, true};
        }
    }
    // Only "#" at most six characters before the caret can start a code.
    const qsizetype lowest = std::max<qsizetype>(0, k - 6);
    for (qsizetype p = std::min<qsizetype>(k, text.size()) - 1; p >= lowest; --p) {
        if (CodeAt(text, p, 6))
            return ColourCodeFind{int(p), 7, false};
        if (k - p <= 3 && CodeAt(text, p, 3))
            return ColourCodeFind{int(p), 4, false};
    }
    return std::nullopt;
}

bool IF_COLOR(TextModel& editor, std::optional<TColor> newColour, bool select)
{
    const QString text = editor.text();
    const std::optional<ColourCodeFind> find = FindColourCode(text, editor.selStart(), editor.selLength());
    if (!find)
        return false;
    if (!newColour) {
        if (select && !find->selected) {
            editor.setSelStart(find->start);
            editor.setSelLength(find->length);
        }
        FoundColour = WebToColor(text.mid(find->start, find->length));
        return true;
    }
    // A selected code always takes the long form; a found one keeps its size
    // when the new colour allows it.
    const QString notation = ColorToWeb(*newColour, !find->selected && find->length == 4);
    if (!find->selected) {
        editor.setSelStart(find->start);
        editor.setSelLength(find->length);
    }
    editor.setSelText(notation);
    if (select && !find->selected) {
        editor.setSelStart(find->start);
        editor.setSelLength(int(notation.size()));
    }
    FoundColour = *newColour;
    return true;
}

bool IMG_IN_EXTENSIONS(const QString& piece)
{
    return IsImageExtension(piece);
}

std::optional<QString> ImagePathAt(const QString& text, int lastSelStart)
{
    return ScanForPath(text, lastSelStart, [&](qsizetype i) -> qsizetype {
        return IsImageExtension(QStringView(text).mid(i, 4)) ? 4 : 0;
    });
}

std::optional<QString> DocumentPathAt(const QString& text, int selStart)
{
    // Tried in this order, so ".HTML" is taken whole and not as ".HTM".
    static const std::array<const char*, 5> kDocuments = {"HTML", "HTM", "CSS", "JS", "TXT"};
    return ScanForPath(text, selStart, [&](qsizetype i) -> qsizetype {
        const QStringView piece = QStringView(text).mid(i, 5);
        if (piece.size() < 2 || piece[0] != u'.')
            return 0;
        for (const char* ext : kDocuments) {
            const qsizetype n = qsizetype(std::strlen(ext));
            if (piece.size() > n && SameLetters(piece.mid(1, n), ext))
                return n + 1;
        }
        return 0;
    });
}

QString PathBesideDocument(const QString& documentPath, const QString& relativePath)
{
    if (documentPath.isEmpty())
        return QString();
    return documentPath.left(documentPath.lastIndexOf(u'/') + 1) + relativePath;
}

QString ImageStatusText(const QString& fileName, qint64 sizeBytes, const QLocale& locale)
{
    QString size = QString::number(double(sizeBytes) / 1024.0, 'f', 3).rightJustified(8, u' ');
    size.replace(u'.', locale.decimalPoint());
    return FileNamePart(fileName) + QStringLiteral("  ") + size + QStringLiteral(" kB   Ctrl + Клик для показа");
}

QString DocumentPathHint(const QString& foundPath)
{
    return QStringLiteral("Кликните удерживая Ctrl для редактирования ") + FileNamePart(foundPath).toUpper()
        + QStringLiteral(" в новом редакторе");
}

std::optional<CommentFind> CommentAt(const QString& text, int selStart)
{
    constexpr qsizetype kReach = 129;  // how far before the caret a comment may start
    constexpr qsizetype kWindow = 500; // how much text from there its end is looked for in
    const qsizetype k = selStart;
    if (k <= 0 || text.isEmpty())
        return std::nullopt;
    const qsizetype windowStart = std::max<qsizetype>(0, k - kReach);
    const qsizetype windowEnd = std::min(text.size(), windowStart + kWindow);
    const QStringView window = QStringView(text).left(windowEnd);
    auto at = [&](qsizetype p, QStringView what) {
        return p >= windowStart && p + what.size() <= windowEnd && window.mid(p, what.size()) == what;
    };
    for (qsizetype p = std::min(k - 1, windowEnd - 1); p >= windowStart; --p) {
        if (at(p - 2, u"-->"))
            return std::nullopt; // the caret is after a comment's end
        if (!at(p, u"<!--"))
            continue;
        const qsizetype from = p + 4;
        const qsizetype end = window.indexOf(u"-->", from);
        CommentFind c;
        c.start = int(p);
        c.text = window.mid(from, end < 0 ? windowEnd - from : end - from).toString();
        c.length = end < 0 ? 0 : int(c.text.size()) + 7;
        if (c.text.isEmpty())
            return std::nullopt;
        return c;
    }
    return std::nullopt;
}

QString CommentDialogText(const QString& commentText)
{
    QString t = commentText;
    return t.replace(QStringLiteral("   "), QStringLiteral("\r\n"));
}

QPoint SwatchPosition(QPoint editorTopLeft, QPoint mouse, QSize clientSize, int statusBarHeight, QSize swatchSize)
{
    int left = editorTopLeft.x() + mouse.x() + 10;
    int top = editorTopLeft.y() + mouse.y() + 10;
    if (clientSize.width() < left + swatchSize.width() + 5)
        left -= swatchSize.width();
    if (clientSize.height() - statusBarHeight < top + swatchSize.height() + 5)
        top -= swatchSize.height();
    return {left, top};
}
