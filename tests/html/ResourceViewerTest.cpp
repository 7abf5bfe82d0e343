#include "html/ResourceViewer.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// The header's RECT written as a movie writes it: 5 bits of nbits, then the
// four values, most significant bit first.
QByteArray Rect(int nbits, qint64 xmin, qint64 xmax, qint64 ymin, qint64 ymax)
{
    QByteArray out;
    int used = 0;
    auto put = [&](qint64 value, int n) {
        for (int i = n - 1; i >= 0; --i) {
            if (used % 8 == 0)
                out.append('\0');
            if ((value >> i) & 1)
                out[out.size() - 1] = char(quint8(out.back()) | (0x80 >> (used % 8)));
            ++used;
        }
    };
    put(nbits, 5);
    for (qint64 v : {xmin, xmax, ymin, ymax})
        put(v, nbits);
    return out;
}

// Frame rate, frame count and a body of tags after the RECT.
QByteArray Body(const QByteArray& rect, int tailBytes)
{
    QByteArray body = rect + QByteArray("\x00\x18\x01\x00", 4);
    QRandomGenerator random(7);
    const char letters[] = "<abcdefgh  >";
    while (body.size() < rect.size() + 4 + tailBytes)
        body.append(letters[random.bounded(int(sizeof letters) - 1)]);
    return body;
}

QByteArray Movie(const char* signature, const QByteArray& body)
{
    QByteArray head(signature, 3);
    head.append(char(10));
    const quint32 length = quint32(body.size() + 8);
    for (int i = 0; i < 4; ++i)
        head.append(char((length >> (8 * i)) & 0xFF));
    return head + body;
}

// The zlib stream qCompress makes, without its length prefix.
QByteArray Zlib(const QByteArray& data, int level) { return qCompress(data, level).mid(4); }

int FirstBlockType(const QByteArray& zlib) { return (quint8(zlib.at(2)) >> 1) & 3; }

TEST(ResourceViewerSwf, ReadsTheFrameOfUncompressedAndZlibMovies)
{
    const QByteArray frame550 = Rect(15, 0, 11000, 0, 8000);
    const struct {
        const char* name;
        QByteArray head;
        std::optional<QSize> size;
    } rows[] = {
        {"FWS", Movie("FWS", Body(frame550, 0)), QSize(550, 400)},
        {"FWS, the RECT alone", Movie("FWS", frame550), QSize(550, 400)},
        {"FWS, minimum below 0", Movie("FWS", Body(Rect(12, -200, 1800, -20, 20), 10)), QSize(100, 2)},
        {"FWS, 31-bit values", Movie("FWS", Rect(31, -(qint64(1) << 30), (qint64(1) << 30) - 1, 0, 20)),
            QSize(int(((qint64(1) << 31) - 1) / 20), 1)},
        {"FWS, no bits", Movie("FWS", Rect(0, 0, 0, 0, 0)), QSize(0, 0)},
        {"CWS stored", Movie("CWS", Zlib(Body(frame550, 50), 0)), QSize(550, 400)},
        {"CWS fast", Movie("CWS", Zlib(Body(frame550, 50), 1)), QSize(550, 400)},
        {"CWS best, long", Movie("CWS", Zlib(Body(Rect(16, 0, 19200, 0, 10800), 20000), 9)), QSize(960, 540)},
        {"ZWS", Movie("ZWS", Body(frame550, 0)), std::nullopt},
        {"other signature", Movie("GIF", Body(frame550, 0)), std::nullopt},
        {"maximum below minimum", Movie("FWS", Rect(15, 11000, 0, 0, 8000)), std::nullopt},
        {"header only", Movie("FWS", QByteArray()), std::nullopt},
        {"RECT cut short", Movie("FWS", frame550.left(6)), std::nullopt},
        {"shorter than a header", QByteArray("FWS\x0a", 4), std::nullopt},
        {"CWS cut short", Movie("CWS", Zlib(Body(frame550, 50), 9).left(6)), std::nullopt},
        {"CWS without zlib", Movie("CWS", Body(frame550, 50)), std::nullopt},
        {"CWS of garbage", Movie("CWS", QByteArray("\x78\x9c\xff\xff\xff\xff\xff\xff\xff\xff", 10)), std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SwfFrameSize(row.head), row.size);
    }
    // Reading a movie needs no more than its first kSwfHeadBytes.
    EXPECT_EQ(SwfFrameSize(rows[7].head.left(kSwfHeadBytes)), QSize(960, 540));
}

TEST(ResourceViewerZlib, GivesTheFirstBytesOfEveryBlockKind)
{
    QRandomGenerator random(11);
    QByteArray noise(3000, '\0');
    for (char& c : noise)
        c = char(random.bounded(40));
    QByteArray text;
    for (int i = 0; i < 400; ++i)
        text += QByteArray("<td class=c") + QByteArray::number(random.bounded(30)) + "> " + QByteArray::number(i * 7) + " </td>\n";
    const struct {
        const char* name;
        QByteArray data;
        int level;
        int blockType; // of the first block: 0 stored, 1 fixed, 2 dynamic codes
    } rows[] = {
        {"stored", text, 0, 0},
        {"fixed codes", QByteArray("abcabcabcabcabc-abcabc"), 9, 1},
        {"dynamic codes", text, 9, 2},
        {"noise", noise, 6, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QByteArray zlib = Zlib(row.data, row.level);
        ASSERT_EQ(FirstBlockType(zlib), row.blockType);
        for (int want : {1, 17, 300, int(row.data.size()), int(row.data.size()) + 10})
            EXPECT_EQ(ZlibPrefix(zlib, want), row.data.left(want)) << want;
        // Cut short, it gives what it could read, all of it right.
        const QByteArray part = ZlibPrefix(zlib.left(zlib.size() / 2), int(row.data.size()));
        EXPECT_LT(part.size(), row.data.size());
        EXPECT_EQ(part, row.data.left(part.size()));
    }
    EXPECT_TRUE(ZlibPrefix(QByteArray("\x78\x9d", 2) + Zlib(text, 9).mid(2), 10).isEmpty()); // header check fails
}

TEST(ResourceViewerPage, ShowsAPictureAtItsAddressWithItsSize)
{
    const QString header = QStringLiteral(
        "<html><body style=\"margin:0;overflow:hidden;width:max-content;\" onload=\"INFORM();\" scroll=no><TABLE><TR><TD style=\"width:400;height:20;\">"
        "<input id=FINP style=\"border:none;font:13px Verdana;\"></input></TD></TR><TR><TD style=\"width:600;height:600;\" align=center>");
    const QString footer = QStringLiteral("</TD></TR></TABLE></body></html>");
    const struct {
        const char* path;
        const char* address;
    } rows[] = {
        {"/tmp/site/pic.png", "file:///tmp/site/pic.png"},
        {"/tmp/my pics/a&lt.gif", "file:///tmp/my%20pics/a%26lt.gif"},
        {"/tmp/рис/#1 \"x\".JPG", "file:///tmp/%D1%80%D0%B8%D1%81/%231%20%22x%22.JPG"},
        {"/tmp/site/../a.png", "file:///tmp/a.png"},
    };
    for (const auto& row : rows) {
        const QString path = QString::fromUtf8(row.path);
        SCOPED_TRACE(row.path);
        EXPECT_EQ(ResourceAddress(path), QString::fromUtf8(row.address));
        const QString page = ResourceViewerPage(path);
        EXPECT_TRUE(page.startsWith(header));
        EXPECT_TRUE(page.endsWith(footer));
        EXPECT_TRUE(page.contains(QStringLiteral("<img id=FIMG src=") + QString::fromUtf8(row.address)
            + QStringLiteral(" onload=\"INFORM();\"><script>function INFORM(){FINP.value = FIMG.width + \" x \" +FIMG.height;}</script>")));
    }
}

TEST(ResourceViewerPage, NamesAMoviesFrameInsteadOfPlayingIt)
{
    const QByteArray movie = Movie("CWS", Zlib(Body(Rect(15, 0, 11000, 0, 8000), 40), 9));
    const struct {
        const char* path;
        QByteArray head;
        const char* note;
    } rows[] = {
        {"/tmp/a.swf", movie, "Flash-ролик: 550 x 400 (ролик не воспроизводится)"},
        {"/tmp/a.SWF", movie, "Flash-ролик: 550 x 400 (ролик не воспроизводится)"},
        {"/tmp/b.swf", Movie("ZWS", QByteArray(20, '\0')), "Flash-ролик: размер неизвестен (ролик не воспроизводится)"},
        {"/tmp/c.swf", QByteArray(), "Flash-ролик: размер неизвестен (ролик не воспроизводится)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        const QString page = ResourceViewerPage(QString::fromUtf8(row.path), row.head);
        EXPECT_TRUE(page.contains(QString::fromUtf8(row.note)));
        EXPECT_FALSE(page.contains(QStringLiteral("<img"), Qt::CaseInsensitive));
        EXPECT_FALSE(page.contains(QStringLiteral("<embed"), Qt::CaseInsensitive));
    }
    EXPECT_TRUE(ResourceViewerPage(QStringLiteral("/tmp/a.swf"), movie).contains(QStringLiteral("FINP.value = \"550 x 400\"")));
}

TEST(ResourceViewerPlace, CentresOverTheWindowInsideTheScreen)
{
    const QRect screen(0, 0, 1920, 1040);
    const QSize viewer(610, 650);
    const struct {
        const char* name;
        QRect main;
        QRect available;
        QPoint topLeft;
    } rows[] = {
        {"centred, halves rounded down", QRect(101, 51, 1001, 801), screen, QPoint(101 + 500 - 305, 51 + 400 - 325)},
        {"past the right and bottom", QRect(1700, 900, 600, 400), screen, QPoint(1920 - 610, 1040 - 650)},
        {"before the left and top", QRect(-500, -400, 300, 200), screen, QPoint(0, 0)},
        {"beside a panel", QRect(0, 0, 200, 200), QRect(48, 30, 1872, 1010), QPoint(48, 30)},
        {"screen too small: left and top kept", QRect(0, 0, 800, 600), QRect(0, 0, 500, 500), QPoint(0, 0)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ResourceViewerPlace(row.main, viewer, row.available), QRect(row.topLeft, viewer));
    }
}

} // namespace
