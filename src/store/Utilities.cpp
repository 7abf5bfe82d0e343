#include "store/Utilities.h"

#include "platform/Folders.h"
#include "platform/Prompts.h"
#include "platform/Shell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString UpperKeepLength(const QString& text)
{
    QString out = text;
    QChar* d = out.data();
    for (qsizetype i = 0; i < out.size(); ++i)
        d[i] = d[i].toUpper();
    return out;
}

QString AsciiUpper(const QString& text)
{
    QString out = text;
    QChar* d = out.data();
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t u = d[i].unicode();
        if (u >= 'a' && u <= 'z')
            d[i] = QChar(char16_t(u - 32));
    }
    return out;
}

QString ReplaceText(const QString& text, const QString& find, const QString& replacement, bool caseSensitive)
{
    if (find.isEmpty())
        return text;
    // Matching continues after each inserted replacement, which is the same as
    // scanning the original text on past each match.
    const QString hay = caseSensitive ? text : UpperKeepLength(text);
    const QString needle = caseSensitive ? find : UpperKeepLength(find);
    qsizetype at = hay.indexOf(needle);
    if (at < 0)
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    while (at >= 0) {
        out += QStringView(text).mid(from, at - from);
        out += replacement;
        from = at + find.size();
        at = hay.indexOf(needle, from);
    }
    out += QStringView(text).mid(from);
    return out;
}

QStringList SplitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines << text.mid(start, i - start);
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

QStringList SplitToList(const QString& text, const QString& separator)
{
    return SplitLines(ReplaceText(text, separator, QStringLiteral("\r\n"), true));
}

int FindText(const QString& text, const QString& sub, bool caseSensitive)
{
    const qsizetype at = caseSensitive ? text.indexOf(sub) : UpperKeepLength(text).indexOf(UpperKeepLength(sub));
    return at < 0 ? -1 : int(at) + 1;
}

QString SquashRepeats(const QString& text, QChar c)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == c && i > 0 && text.at(i - 1) == c)
            continue;
        out += text.at(i);
    }
    return out;
}

QString ExtractNumber(const QString& text)
{
    QString out;
    for (QChar c : text) {
        const bool digit = c >= u'0' && c <= u'9';
        if (out.isEmpty()) {
            if (digit || c == u'-')
                out += c;
        } else if (digit) {
            out += c;
        }
    }
    if (out.isEmpty() || out == QStringLiteral("-"))
        return QStringLiteral("0");
    return out;
}

bool ParseBool(const QString& text)
{
    const QString u = text.toUpper();
    return u == QStringLiteral("TRUE") || u == QStringLiteral("YES") || u == QStringLiteral("OK")
        || u == QStringLiteral("1") || u == QStringLiteral("T") || u == QStringLiteral("Y");
}

QString BoolToText(bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); }

QString DateStamp(const QDateTime& when)
{
    return when.toString(QStringLiteral("dd.MM.yy_hh.mm_sszzz"));
}

QString DateStamp() { return DateStamp(QDateTime::currentDateTime()); }

QString WindowsFolder() { return platform::WindowsFolderPath(); }

QString IncludeBackslash(const QString& path)
{
    if (path.isEmpty() || path.endsWith(platform::PathSep))
        return path;
    return path + platform::PathSep;
}

QString FileExtension(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot < 0 ? QString() : path.mid(dot + 1);
}

QString FileBaseName(const QString& path)
{
    const qsizetype sep = path.lastIndexOf(platform::PathSep);
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot <= sep)
        return {};
    return path.mid(sep + 1, dot - sep - 1);
}

QString StripExtension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

QString LongPathName(const QString& path) { return path; }
QString ShortPathName(const QString& path) { return path; }

QStringList ListFiles(const QString& folder, const QString& mask)
{
    QDir dir(folder);
    dir.setNameFilters({mask});
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    dir.setSorting(QDir::Unsorted);
    return dir.entryList();
}

namespace {

bool deleteTree(const QString& folder)
{
    QDir dir(folder);
    const QFileInfoList entries = dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    bool ok = true;
    for (const QFileInfo& e : entries) {
        if (e.isSymLink()) {
            // A link is removed as a link; whatever it points to stays.
            ok = QFile::remove(e.absoluteFilePath()) && ok;
        } else if (e.isDir()) {
            ok = deleteTree(e.absoluteFilePath()) && ok;
        } else {
            QFile::setPermissions(e.absoluteFilePath(), QFile::ReadOwner | QFile::WriteOwner);
            ok = QFile::remove(e.absoluteFilePath()) && ok;
        }
    }
    return dir.rmdir(dir.absolutePath()) && ok;
}

} // namespace

bool DeleteFolder(const QString& folder)
{
    const QFileInfo fi(folder);
    if (fi.isSymLink())
        return QFile::remove(fi.absoluteFilePath());
    if (!fi.isDir())
        return !fi.exists();
    return deleteTree(fi.absoluteFilePath());
}

bool ShellOpen(const QString& path)
{
    const QFileInfo fi(path);
    return platform::Shell().open(path, fi.absolutePath());
}

bool RegWriteString(platform::RegRoot root, const QString& key, const QString& name, const QString& value)
{
    return platform::Registry().writeString(root, key, name, value);
}

bool RegReadString(platform::RegRoot root, const QString& key, const QString& name, QString& value)
{
    const auto v = platform::Registry().readString(root, key, name);
    if (!v)
        return false;
    value = *v;
    return true;
}

bool RegDeleteKey(platform::RegRoot root, const QString& key)
{
    return platform::Registry().deleteKey(root, key);
}

bool RegisterShellVerb(const QString& extension, const QString& caption, const QString& command)
{
    platform::Registry reg;
    const QString extKey = u'.' + extension;
    bool ok = reg.createKey(HKEY_CLASSES_ROOT, extKey);
    QString progId = reg.readString(HKEY_CLASSES_ROOT, extKey, QString()).value_or(QString());
    if (progId.isEmpty()) {
        progId = extension + QStringLiteral("file");
        ok = reg.writeString(HKEY_CLASSES_ROOT, extKey, QString(), progId) && ok;
    }
    const QString program = command == QStringLiteral("[appexename]") ? platform::ProgramFilePath() : command;
    return reg.writeString(HKEY_CLASSES_ROOT, progId + QStringLiteral("\\shell\\") + caption + QStringLiteral("\\command"),
                           QString(), program + QStringLiteral(" \"%1\"")) && ok;
}

bool UnregisterShellVerb(const QString& extension, const QString& caption)
{
    platform::Registry reg;
    const QString extKey = u'.' + extension;
    reg.createKey(HKEY_CLASSES_ROOT, extKey);
    const QString progId = reg.readString(HKEY_CLASSES_ROOT, extKey, QString()).value_or(QString());
    if (progId.isEmpty())
        return true;
    const QString verbKey = progId + QStringLiteral("\\shell\\") + caption;
    reg.deleteKey(HKEY_CLASSES_ROOT, verbKey);
    return !reg.keyExists(HKEY_CLASSES_ROOT, verbKey);
}

std::optional<QString> FileVersion(const QString& programPath, QString* error)
{
    const QFileInfo asked(programPath);
    const QFileInfo self(platform::ProgramFilePath());
    if (asked.exists() && asked.canonicalFilePath() == self.canonicalFilePath())
        return QStringLiteral(VELTMARK_VERSION);
    if (error)
        *error = QStringLiteral("Can't get file version information for ") + programPath;
    return std::nullopt;
}

int HexToInt(const QString& text)
{
    QString t = UpperKeepLength(text);
    if (t.endsWith(u'H'))
        t.chop(1);
    quint32 v = 0;
    for (QChar c : t) {
        const char16_t u = c.unicode();
        quint32 d;
        if (u >= '0' && u <= '9')
            d = u - '0';
        else if (u >= 'A' && u <= 'F')
            d = u - 'A' + 10;
        else
            return 0;
        v = (v << 4) | d;
    }
    return static_cast<int>(v);
}

QString RelativePath(const QString& documentPath, const QString& target, bool encodeSpaces, bool lowerCase)
{
    const QChar sep = platform::PathSep;
    const QString f = IncludeBackslash(QFileInfo(documentPath).path());
    const QString& t = target;
    if (t == f)
        return {};
    const int c1 = int(f.count(sep));
    int c2 = 0;
    qsizetype i = 0;
    while (i < t.size() && i < f.size() && t.at(i) == f.at(i)) {
        if (t.at(i) == sep)
            ++c2;
        ++i;
    }
    if (i < t.size() && t.at(i) == sep)
        ++c2;
    QString result;
    if (t.startsWith(f)) {
        result = t.mid(f.size());
    } else {
        for (int k = 0; k < c1 - c2; ++k)
            result += QStringLiteral("../");
        result += t.mid(i);
    }
    result.replace(u'\\', u'/');
    if (encodeSpaces)
        result.replace(u' ', QStringLiteral("%20"));
    return lowerCase ? result.toLower() : result;
}

QString RelativePath(const QString& documentPath, const QString& target, bool encodeSpaces)
{
    return RelativePath(documentPath, target, encodeSpaces, !platform::PathsAreCaseSensitive());
}

void ShowNotice(const QString& text) { platform::prompts().showNotice(text); }

QString UpperKeepingPositions(const QString& text)
{
    QString out(text.size(), Qt::Uninitialized);
    const QChar* from = text.constData();
    QChar* to = out.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = from[i].unicode();
        if (c < 0x80)
            to[i] = QChar(c >= u'a' && c <= u'z' ? char16_t(c - 32) : c);
        else
            to[i] = from[i].toUpper();
    }
    return out;
}

namespace {

bool startsNoCase(QStringView text, qsizetype at, QStringView word)
{
    return at + word.size() <= text.size() && text.mid(at, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

// The next element whose content is kept as written, from `from` on:
// [contentStart, contentEnd), or false when there is none.
bool nextKeptContent(QStringView text, qsizetype from, qsizetype& contentStart, qsizetype& contentEnd)
{
    static const QStringView names[] = {u"pre", u"textarea", u"script"};
    const qsizetype n = text.size();
    for (qsizetype at = text.indexOf(u'<', from); at >= 0; at = text.indexOf(u'<', at + 1)) {
        if (startsNoCase(text, at, u"<!--")) {
            const qsizetype close = text.indexOf(u"-->", at + 4);
            if (close < 0)
                return false;
            at = close + 2;
            continue;
        }
        for (QStringView name : names) {
            const qsizetype after = at + 1 + name.size();
            if (!startsNoCase(text, at + 1, name))
                continue;
            if (after < n) {
                const QChar c = text[after];
                if (c != u'>' && c != u' ' && c != u'\t' && c != u'\r' && c != u'\n')
                    continue;
            }
            const qsizetype tagEnd = text.indexOf(u'>', at);
            if (tagEnd < 0)
                return false;
            contentStart = tagEnd + 1;
            const QString closing = QStringLiteral("</") + name.toString();
            contentEnd = text.indexOf(closing, contentStart, Qt::CaseInsensitive);
            if (contentEnd < 0)
                contentEnd = n;
            return true;
        }
    }
    return false;
}

} // namespace

QList<KeptRange> KeptContentRanges(QStringView text)
{
    QList<KeptRange> ranges;
    qsizetype from = 0;
    qsizetype contentStart = 0;
    qsizetype contentEnd = 0;
    while (from < text.size() && nextKeptContent(text, from, contentStart, contentEnd)) {
        ranges.append({contentStart, contentEnd});
        from = contentEnd;
    }
    return ranges;
}
