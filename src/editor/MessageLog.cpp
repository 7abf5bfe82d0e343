#include "editor/MessageLog.h"

namespace {

bool IsLineBreak(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

} // namespace

QString MessageLog::Stamp(const QTime& time)
{
    const QTime t = time.isValid() ? time : QTime(0, 0);
    return t.toString(QStringLiteral("hh : mm . ss"));
}

const MessageLog::Line& MessageLog::line(int i) const
{
    static const Line none;
    return i >= 0 && i < count() ? lines_.at(i) : none;
}

QString MessageLog::lineText(int i) const
{
    const Line& l = line(i);
    return l.stamp + QLatin1Char('\t') + l.message;
}

QString MessageLog::previousMessage() const
{
    // The log reads its first line back and splits it at tabs, so a message
    // is compared up to its first tab or line break.
    const QString& m = lines_.front().message;
    qsizetype end = 0;
    while (end < m.size() && m.at(end) != QLatin1Char('\t') && !IsLineBreak(m.at(end)))
        ++end;
    return m.left(end);
}

bool MessageLog::holdsMoreThanOneLine() const
{
    if (lines_.size() > 1)
        return true;
    if (lines_.isEmpty())
        return false;
    for (QChar c : lines_.front().message)
        if (IsLineBreak(c))
            return true;
    return false;
}

void MessageLog::write(const QString& message, bool isError, const QTime& now)
{
    if (message == changesAfterErrorCommand()) {
        if (!lines_.isEmpty() && lines_.front().error)
            write(QStringLiteral("Код отредактирован после красного сообщения"), false, now);
        return;
    }
    if (holdsMoreThanOneLine() && previousMessage() == message)
        lines_.removeFirst();
    lines_.prepend(Line{Stamp(now), message, isError});
    ++revision_;
}
