#include "html/CheckCommand.h"

#include "app/Documents.h"

#include "html/TagChecker.h"
#include "platform/Codecs.h"
#include "store/Utilities.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

QString DocumentTextFromBytes(const QByteArray& bytes)
{
    // The text CHECK_ENCODE gives when a document is opened, decoded with its
    // line breaks in one pass rather than in two.
    QString text = CharsetEncoding(bytes) == EncodingUtf8 ? platform::DecodeUtf8LenientCrLf(bytes) : platform::DecodeCp1251CrLf(bytes);
    // The line end of the last line adds nothing.
    if (text.endsWith(u"\r\n"))
        text.chop(2);
    return text;
}

LineColumn LineColumnAt(const QString& text, int position)
{
    LineColumn lc;
    const qsizetype offset = std::min<qsizetype>(std::max(position - 1, 0), text.size());
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < offset; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < offset && text.at(i + 1) == u'\n')
                ++i;
            ++lc.line;
            lineStart = i + 1;
        }
    }
    lc.column = int(offset - lineStart) + 1;
    return lc;
}

namespace {

// Line breaks and tabs, however many in a row, become one blank.
QString OneLine(const QString& message)
{
    QString out;
    out.reserve(message.size());
    bool gap = false;
    for (QChar c : message) {
        if (c == u'\r' || c == u'\n' || c == u'\t') {
            gap = true;
            continue;
        }
        if (gap && !out.isEmpty())
            out += u' ';
        gap = false;
        out += c;
    }
    return out;
}

} // namespace

QString CheckReport(const QString& fileName, const QString& text)
{
    const TagCheckResult r = CHECK_TAGS(text);
    if (r.passed)
        return {};
    const LineColumn lc = LineColumnAt(text, r.position);
    return QStringLiteral("%1:%2:%3: %4").arg(fileName, QString::number(lc.line), QString::number(lc.column), OneLine(r.message));
}

int RunCheckCommand(const QStringList& files, QTextStream& out, QTextStream& err)
{
    if (files.isEmpty()) {
        err << QStringLiteral("veltmark --check: не указан ни один файл для проверки") << Qt::endl;
        return 2;
    }
    int code = 0;
    for (const QString& name : files) {
        QString error;
        const std::optional<QByteArray> bytes = ReadDocumentFile(name, &error);
        if (!bytes) {
            err << QStringLiteral("%1: %2").arg(name, error) << Qt::endl;
            code = 2;
            continue;
        }
        const QString report = CheckReport(name, DocumentTextFromBytes(*bytes));
        if (!report.isEmpty()) {
            out << report << Qt::endl;
            code = std::max(code, 1);
        }
    }
    out.flush();
    return code;
}
