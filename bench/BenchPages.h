#pragma once
// Generated pages for the benchmarks: a head, a block repeated until the
// page is about the given size as a UTF-8 file, and a tail.
#include <QString>

inline QString RepeatToSize(const QString& head, const QString& block, const QString& tail, qsizetype bytes)
{
    const qsizetype blockBytes = block.toUtf8().size();
    qsizetype size = head.toUtf8().size() + tail.toUtf8().size();
    QString text = head;
    text.reserve(bytes);
    for (; size < bytes; size += blockBytes)
        text += block;
    text += tail;
    return text;
}
