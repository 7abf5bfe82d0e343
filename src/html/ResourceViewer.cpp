#include "html/ResourceViewer.h"

#include <QFileInfo>
#include <QUrl>
#include <array>

namespace {

// ---- Inflating the start of a zlib stream (RFC 1950, 1951) ----

// Bits of a deflate stream, least significant first.
class DeflateBits {
public:
    DeflateBits(const QByteArray& bytes, qsizetype from)
        : bytes_(bytes)
        , pos_(from)
    {
    }
    // The next need (0..16) bits; 0 with ended() once the input is used up.
    int bits(int need)
    {
        quint32 value = buffer_;
        while (count_ < need) {
            if (pos_ >= bytes_.size()) {
                ended_ = true;
                return 0;
            }
            value |= quint32(quint8(bytes_.at(pos_++))) << count_;
            count_ += 8;
        }
        buffer_ = value >> need;
        count_ -= need;
        return int(value & ((1u << need) - 1));
    }
    // Drops the bits left of the current byte.
    void alignToByte()
    {
        buffer_ = 0;
        count_ = 0;
    }
    bool ended() const { return ended_; }

private:
    const QByteArray& bytes_;
    qsizetype pos_;
    quint32 buffer_ = 0;
    int count_ = 0;
    bool ended_ = false;
};

constexpr int kMaxCodeBits = 15;

// A canonical Huffman code: how many codes of each length, and the symbols
// in code order.
struct Huffman {
    std::array<int, kMaxCodeBits + 1> count{};
    std::array<int, 288> symbol{};
};

// Builds the code from the symbols' code lengths; false when the lengths
// ask for more codes than there are (an incomplete code is kept: reading a
// missing code fails then).
bool BuildCode(Huffman& h, const int* lengths, int n)
{
    h.count.fill(0);
    for (int s = 0; s < n; ++s)
        ++h.count[size_t(lengths[s])];
    int left = 1;
    for (int len = 1; len <= kMaxCodeBits; ++len) {
        left = left * 2 - h.count[size_t(len)];
        if (left < 0)
            return false;
    }
    std::array<int, kMaxCodeBits + 2> offset{};
    for (int len = 1; len <= kMaxCodeBits; ++len)
        offset[size_t(len + 1)] = offset[size_t(len)] + h.count[size_t(len)];
    for (int s = 0; s < n; ++s)
        if (lengths[s] != 0)
            h.symbol[size_t(offset[size_t(lengths[s])]++)] = s;
    return true;
}

// The next symbol, or -1 when the input ends or holds no such code.
int ReadSymbol(DeflateBits& in, const Huffman& h)
{
    int code = 0;
    int first = 0;
    int index = 0;
    for (int len = 1; len <= kMaxCodeBits; ++len) {
        code |= in.bits(1);
        if (in.ended())
            return -1;
        const int count = h.count[size_t(len)];
        if (code - first < count)
            return h.symbol[size_t(index + code - first)];
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    return -1;
}

constexpr std::array<int, 29> kLengthBase = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27,
    31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistanceBase = {1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193,
    257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

class Inflater {
public:
    Inflater(const QByteArray& stream, qsizetype from, int want)
        : in_(stream, from)
        , want_(want)
    {
    }

    QByteArray run()
    {
        bool last = false;
        while (!last && !full()) {
            last = in_.bits(1) == 1;
            const int type = in_.bits(2);
            if (in_.ended())
                break;
            const bool ok = type == 0 ? stored() : type == 1 ? fixed() : type == 2 ? dynamic() : false;
            if (!ok)
                break;
        }
        return out_;
    }

private:
    bool full() const { return out_.size() >= want_; }

    bool stored()
    {
        in_.alignToByte();
        const int length = in_.bits(16);
        const int complement = in_.bits(16);
        if (in_.ended() || length != (~complement & 0xFFFF))
            return false;
        for (int i = 0; i < length && !full(); ++i) {
            const int byte = in_.bits(8);
            if (in_.ended())
                return false;
            out_.append(char(byte));
        }
        return true;
    }

    bool fixed()
    {
        std::array<int, 288> lengths{};
        for (int s = 0; s < 288; ++s)
            lengths[size_t(s)] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
        std::array<int, 30> distances{};
        distances.fill(5);
        Huffman literal, distance;
        BuildCode(literal, lengths.data(), 288);
        BuildCode(distance, distances.data(), 30);
        return codes(literal, distance);
    }

    bool dynamic()
    {
        const int literalCount = in_.bits(5) + 257;
        const int distanceCount = in_.bits(5) + 1;
        const int lengthCodeCount = in_.bits(4) + 4;
        if (in_.ended() || literalCount > 286 || distanceCount > 30)
            return false;
        static constexpr std::array<int, 19> kOrder = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
        std::array<int, 19> codeLengths{};
        for (int i = 0; i < lengthCodeCount; ++i)
            codeLengths[size_t(kOrder[size_t(i)])] = in_.bits(3);
        Huffman lengthCode;
        if (in_.ended() || !BuildCode(lengthCode, codeLengths.data(), 19))
            return false;

        std::array<int, 286 + 30> lengths{};
        int index = 0;
        while (index < literalCount + distanceCount) {
            const int symbol = ReadSymbol(in_, lengthCode);
            if (symbol < 0)
                return false;
            if (symbol < 16) {
                lengths[size_t(index++)] = symbol;
                continue;
            }
            int value = 0;
            int repeat = 0;
            if (symbol == 16) {
                if (index == 0)
                    return false;
                value = lengths[size_t(index - 1)];
                repeat = 3 + in_.bits(2);
            } else if (symbol == 17) {
                repeat = 3 + in_.bits(3);
            } else {
                repeat = 11 + in_.bits(7);
            }
            if (in_.ended() || index + repeat > literalCount + distanceCount)
                return false;
            while (repeat-- > 0)
                lengths[size_t(index++)] = value;
        }
        if (lengths[256] == 0)
            return false;
        Huffman literal, distance;
        if (!BuildCode(literal, lengths.data(), literalCount) || !BuildCode(distance, lengths.data() + literalCount, distanceCount))
            return false;
        return codes(literal, distance);
    }

    bool codes(const Huffman& literal, const Huffman& distance)
    {
        while (!full()) {
            int symbol = ReadSymbol(in_, literal);
            if (symbol < 0)
                return false;
            if (symbol < 256) {
                out_.append(char(symbol));
                continue;
            }
            if (symbol == 256)
                return true;
            symbol -= 257;
            if (symbol >= int(kLengthBase.size()))
                return false;
            const int length = kLengthBase[size_t(symbol)] + in_.bits(kLengthExtra[size_t(symbol)]);
            const int d = ReadSymbol(in_, distance);
            if (d < 0 || d >= int(kDistanceBase.size()))
                return false;
            const int back = kDistanceBase[size_t(d)] + in_.bits(kDistanceExtra[size_t(d)]);
            if (in_.ended() || back > out_.size())
                return false;
            for (int i = 0; i < length && !full(); ++i)
                out_.append(out_.at(out_.size() - back));
        }
        return true;
    }

    DeflateBits in_;
    int want_;
    QByteArray out_;
};

// ---- The movie's header ----

// Bits of the header's RECT, most significant first.
class HeaderBits {
public:
    explicit HeaderBits(const QByteArray& bytes)
        : bytes_(bytes)
    {
    }
    std::optional<quint32> take(int n)
    {
        if (bit_ + n > bytes_.size() * 8)
            return std::nullopt;
        quint32 value = 0;
        for (int i = 0; i < n; ++i, ++bit_) {
            const int byte = quint8(bytes_.at(bit_ / 8));
            value = (value << 1) | quint32((byte >> (7 - bit_ % 8)) & 1);
        }
        return value;
    }
    std::optional<qint32> takeSigned(int n)
    {
        const std::optional<quint32> v = take(n);
        if (!v)
            return std::nullopt;
        if (n == 0)
            return 0;
        const qint64 value = qint64(*v);
        const qint64 sign = qint64(1) << (n - 1);
        return qint32(value >= sign ? value - 2 * sign : value);
    }

private:
    const QByteArray& bytes_;
    int bit_ = 0;
};

constexpr int kSwfHeaderBytes = 8;
// 5 bits of Nbits and four values of at most 31 bits: 129 bits.
constexpr int kRectMaxBytes = 17;
constexpr int kTwipsPerPixel = 20;

} // namespace

QByteArray ZlibPrefix(const QByteArray& stream, int want)
{
    if (want <= 0 || stream.size() < 2)
        return {};
    const int cmf = quint8(stream.at(0));
    const int flg = quint8(stream.at(1));
    const bool deflate = (cmf & 0x0F) == 8 && (cmf >> 4) <= 7;
    const bool dictionary = (flg & 0x20) != 0;
    if (!deflate || dictionary || (cmf * 256 + flg) % 31 != 0)
        return {};
    return Inflater(stream, 2, want).run();
}

std::optional<SwfRect> SwfFrameRect(const QByteArray& head)
{
    if (head.size() < kSwfHeaderBytes)
        return std::nullopt;
    QByteArray body;
    if (head.startsWith("FWS"))
        body = head.mid(kSwfHeaderBytes, kRectMaxBytes);
    else if (head.startsWith("CWS"))
        body = ZlibPrefix(head.mid(kSwfHeaderBytes), kRectMaxBytes);
    else
        return std::nullopt;
    HeaderBits bits(body);
    SwfRect r;
    const std::optional<quint32> nbits = bits.take(5);
    if (!nbits)
        return std::nullopt;
    r.nbits = int(*nbits);
    const auto xmin = bits.takeSigned(r.nbits);
    const auto xmax = bits.takeSigned(r.nbits);
    const auto ymin = bits.takeSigned(r.nbits);
    const auto ymax = bits.takeSigned(r.nbits);
    if (!xmin || !xmax || !ymin || !ymax)
        return std::nullopt;
    r.xmin = *xmin;
    r.xmax = *xmax;
    r.ymin = *ymin;
    r.ymax = *ymax;
    return r;
}

std::optional<QSize> SwfFrameSize(const QByteArray& head)
{
    const std::optional<SwfRect> r = SwfFrameRect(head);
    if (!r || r->xmax < r->xmin || r->ymax < r->ymin)
        return std::nullopt;
    // A 31-bit value less another fits an int once divided.
    const qint64 width = (qint64(r->xmax) - r->xmin) / kTwipsPerPixel;
    const qint64 height = (qint64(r->ymax) - r->ymin) / kTwipsPerPixel;
    return QSize(int(width), int(height));
}

QString SwfNote(const std::optional<QSize>& size)
{
    const QString what = size ? QStringLiteral("%1 x %2").arg(size->width()).arg(size->height()) : QStringLiteral("размер неизвестен");
    return QStringLiteral("Flash-ролик: ") + what + QStringLiteral(" (ролик не воспроизводится)");
}

bool IsSwfFile(const QString& path) { return QFileInfo(path).suffix().compare(QLatin1String("swf"), Qt::CaseInsensitive) == 0; }

QString ResourceAddress(const QString& path)
{
    // QUrl leaves "&" as it is, which an attribute would read as a
    // character reference ("&lt.png").
    QString address = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
    address.replace(u'&', QLatin1String("%26"));
    return address;
}

QString ResourceViewerPage(const QString& path, const QByteArray& head)
{
    // The engine knows no "scroll=no": overflow:hidden keeps the scroll bars
    // away, and the body as wide as the table keeps the picture's cell at its
    // 600 pixels instead of squeezing it into the window's width.
    const QString header = QStringLiteral(
        "<html><body style=\"margin:0;overflow:hidden;width:max-content;\" onload=\"INFORM();\" scroll=no><TABLE><TR><TD style=\"width:400;height:20;\">"
        "<input id=FINP style=\"border:none;font:13px Verdana;\"></input></TD></TR>"
        "<TR><TD style=\"width:600;height:600;\" align=center>");
    const QString footer = QStringLiteral("</TD></TR></TABLE></body></html>");
    if (!IsSwfFile(path)) {
        return header + QStringLiteral("<img id=FIMG src=") + ResourceAddress(path)
            + QStringLiteral(" onload=\"INFORM();\"><script>function INFORM(){FINP.value = FIMG.width + \" x \" +FIMG.height;}</script>") + footer;
    }
    const std::optional<QSize> size = SwfFrameSize(head);
    const QString value = size ? QStringLiteral("%1 x %2").arg(size->width()).arg(size->height()) : QString();
    return header + QStringLiteral("<div id=FNOTE style=\"font:13px Verdana;\">") + SwfNote(size)
        + QStringLiteral("</div><script>function INFORM(){FINP.value = \"") + value + QStringLiteral("\";}</script>") + footer;
}

QRect ResourceViewerPlace(const QRect& mainFrame, const QSize& viewerFrame, const QRect& available)
{
    int left = mainFrame.left() + mainFrame.width() / 2 - viewerFrame.width() / 2;
    int top = mainFrame.top() + mainFrame.height() / 2 - viewerFrame.height() / 2;
    left = qMax(qMin(left, available.right() + 1 - viewerFrame.width()), available.left());
    top = qMax(qMin(top, available.bottom() + 1 - viewerFrame.height()), available.top());
    return QRect(QPoint(left, top), viewerFrame);
}
