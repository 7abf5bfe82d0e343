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
