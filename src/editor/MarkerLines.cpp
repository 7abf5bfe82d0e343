#include "editor/MarkerLines.h"

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
    const QList<int> old = lines_;
    lines_.clear();
    for (const int l : old) {
        if (l < same)
            Mark(l, lineCount);
        else if (l >= was.size() - tail)
            Mark(l + int(now.size() - was.size()), lineCount);
        else if (l < now.size() - tail)
            Mark(l, lineCount);
    }
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
