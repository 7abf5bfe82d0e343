#include "editor/MarkerLines.h"

#include "editor/TextModel.h"

#include <algorithm>

void MarkerLines::Mark(int line, int lineCount)
{
    if (line < 0 || line > lineCount)
        return;
    const auto at = std::lower_bound(lines_.begin(), lines_.end(), line);
    if (at != lines_.end() && *at == line)
        lines_.erase(at);
    else
        lines_.insert(at, line);
}

bool MarkerLines::MarkersRemake(bool force, int count, int lastCount, int lastCaretLine)
{
    const QList<int> old = lines_;
    if (!force && count == lastCount)
        return false;
    lines_.clear();
    const int shift = count - lastCount;
    for (int l : old) {
        if (shift > 0)
            Mark(l > lastCaretLine ? l + shift : l, count);
        else if (shift < 0) {
            if (l > lastCaretLine)
                Mark(l + shift, count);
            else if (l < lastCaretLine)
                Mark(l, count);
        } else {
            Mark(l, count);
        }
    }
    return true;
}

void MarkerLines::FollowText(const QString& before, const QString& after)
{
    if (lines_.isEmpty())
        return;
    // Split with the empty line after a final break, which may carry a marker.
    const QList<QStringView> was = QStringView(before).split(u"\r\n");
    const QList<QStringView> now = QStringView(after).split(u"\r\n");
    const qsizetype shortest = std::min(was.size(), now.size());
    qsizetype same = 0;
    while (same < shortest && was[same] == now[same])
        ++same;
    qsizetype tail = 0;
    while (same + tail < shortest && was[was.size() - 1 - tail] == now[now.size() - 1 - tail])
        ++tail;
    const int lineCount = int(now.size()) - (now.back().isEmpty() ? 1 : 0);
    remap(was.size(), now.size(), same, tail, lineCount);
}

void MarkerLines::remap(qsizetype wasCount, qsizetype nowCount, qsizetype same, qsizetype tail, int lineCount)
{
    const QList<int> old = lines_;
    lines_.clear();
    for (const int l : old) {
        if (l < same)
            Mark(l, lineCount);
        else if (l >= wasCount - tail)
            Mark(l + int(nowCount - wasCount), lineCount);
        else if (l < nowCount - tail)
            Mark(l, lineCount);
    }
}

void MarkerLines::FollowReplacement(const TextModel& after, int offset, const QString& removed, int added)
{
    if (lines_.isEmpty() || (removed.isEmpty() && added == 0))
        return;
    // Lines as FollowText splits them: the empty one after a final break
    // (or of an empty text) counts.
    const int length = after.textLength();
    const int lineCount = after.lineCount();
    const bool openLast = length == 0 || after.textPart(length - 2, 2) == QStringLiteral("\r\n");
    const qsizetype nowCount = lineCount + (openLast ? 1 : 0);
    auto now = [&](qsizetype i) { return i < lineCount ? after.line(int(i)) : QString(); };

    // The lines around the change: from the one holding its start to the one
    // holding its end, in the text after and as they were.
    const int first = length == 0 ? 0 : after.lineAt(offset);
    const int last = length == 0 ? 0 : after.lineAt(offset + added);
    const int firstStart = std::max(after.lineStart(first), 0);
    const int lastEnd = last < lineCount ? after.lineStart(last) + int(now(last).size()) : length;
    const QString wasAround = after.textPart(firstStart, offset - firstStart) + removed
        + after.textPart(offset + added, lastEnd - offset - added);
    const QList<QStringView> wasMiddle = QStringView(wasAround).split(u"\r\n");
    const qsizetype wasCount = nowCount - (last - first + 1) + wasMiddle.size();
    // Beyond the change the lines are the same, shifted.
    const qsizetype shift = nowCount - wasCount;
    auto was = [&](qsizetype i) {
        if (i < first)
            return now(i);
        if (i < first + wasMiddle.size())
            return wasMiddle[i - first].toString();
        return now(i + shift);
    };

    const qsizetype shortest = std::min(wasCount, nowCount);
    qsizetype same = std::min<qsizetype>(first, shortest);
    while (same < shortest && was(same) == now(same))
        ++same;
    // The lines after the change's last line match without looking.
    qsizetype tail = std::clamp<qsizetype>(nowCount - 1 - last, 0, shortest - same);
    while (same + tail < shortest && was(wasCount - 1 - tail) == now(nowCount - 1 - tail))
        ++tail;
    remap(wasCount, nowCount, same, tail, lineCount);
}

int MarkerTop(int line, int firstVisible, int lineHeight, int textTop)
{
    return textTop + (line - firstVisible) * lineHeight + lineHeight / 2 - 3;
}

QString GotoMarkCaption(int line, const QString& lineText)
{
    QString start = lineText.left(100);
    start.replace(u'&', QStringLiteral(".."));
    return QString::number(line) + QStringLiteral("  ") + start;
}

int GotoMarkLine(const QString& caption)
{
    QString number = caption.section(u' ', 0, 0);
    number.remove(u'&');
    bool ok = false;
    const int line = number.toInt(&ok);
    return ok ? line : -1;
}
