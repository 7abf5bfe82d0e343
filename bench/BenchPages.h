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

// A UTF-8 page with a script in its head, the block repeated in its body.
inline QString PageOfBlocks(const QString& block, qsizetype bytes)
{
    const QString head = QStringLiteral(
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
        "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
        "<title>Страница</title>\r\n"
        "<script type=\"text/javascript\">function f(a, b) { return a < b && b > 0; }</script>\r\n"
        "</head>\r\n<body>\r\n");
    return RepeatToSize(head, block, QStringLiteral("</body>\r\n</html>\r\n"), bytes);
}
