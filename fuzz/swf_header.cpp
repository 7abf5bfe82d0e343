// Reads a movie's frame from arbitrary first bytes, as they come and behind
// each signature, and checks what every reading must satisfy: the four
// values fit the bit width the header gives, the size is theirs, and a CWS
// movie whose body is the same bytes compressed reads as the FWS one. The
// zlib reader must give what Qt's own compressor put in, byte for byte.
#include "html/ResourceViewer.h"

#include <QByteArray>

namespace {

void CheckRect(const QByteArray& head)
{
    const std::optional<SwfRect> r = SwfFrameRect(head);
    const std::optional<QSize> size = SwfFrameSize(head);
    if (!r) {
        if (size)
            __builtin_trap();
        return;
    }
    if (r->nbits < 0 || r->nbits > 31)
        __builtin_trap();
    const qint64 low = r->nbits == 0 ? 0 : -(qint64(1) << (r->nbits - 1));
    const qint64 high = r->nbits == 0 ? 0 : (qint64(1) << (r->nbits - 1)) - 1;
    for (qint64 v : {qint64(r->xmin), qint64(r->xmax), qint64(r->ymin), qint64(r->ymax)})
        if (v < low || v > high)
            __builtin_trap();
    const bool ordered = r->xmax >= r->xmin && r->ymax >= r->ymin;
    if (ordered != size.has_value())
        __builtin_trap();
    if (size) {
        const qint64 widest = ((qint64(1) << r->nbits) - 1) / 20;
        if (size->width() != (qint64(r->xmax) - r->xmin) / 20 || size->height() != (qint64(r->ymax) - r->ymin) / 20
            || size->width() > widest || size->height() > widest)
            __builtin_trap();
    }
}

QByteArray Movie(const char* signature, const QByteArray& body)
{
    return QByteArray(signature, 3) + QByteArray("\x0a\x00\x00\x00\x00", 5) + body;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    CheckRect(bytes);
    CheckRect(Movie("CWS", bytes));
    (void)ZlibPrefix(bytes, kSwfHeadBytes);

    const QByteArray zlib = qCompress(bytes, bytes.isEmpty() ? 0 : quint8(bytes.at(0)) % 10).mid(4);
    for (int want : {1, 17, int(bytes.size())})
        if (ZlibPrefix(zlib, want) != bytes.left(want))
            __builtin_trap();
    const QByteArray fws = Movie("FWS", bytes);
    const QByteArray cws = Movie("CWS", zlib);
    CheckRect(fws);
    CheckRect(cws);
    const std::optional<SwfRect> plain = SwfFrameRect(fws);
    const std::optional<SwfRect> packed = SwfFrameRect(cws);
    if (plain.has_value() != packed.has_value())
        __builtin_trap();
    if (plain && (plain->nbits != packed->nbits || plain->xmin != packed->xmin || plain->xmax != packed->xmax
                     || plain->ymin != packed->ymin || plain->ymax != packed->ymax))
        __builtin_trap();
    return 0;
}
