#pragma once
// The resource viewer's page: the picture under a Ctrl+click at its natural
// size with "width x height" above it, or for a Flash movie, which no
// browser plays any more, the frame size read from the movie's header.
#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

// How many bytes of a movie SwfFrameSize needs at most: the 8-byte header
// and the compressed start of the body.
constexpr int kSwfHeadBytes = 1024;

// The frame rectangle of a movie's header, in twips (1/20 pixel); each
// value is a signed number of nbits bits.
struct SwfRect {
    int nbits = 0;
    qint32 xmin = 0;
    qint32 xmax = 0;
    qint32 ymin = 0;
    qint32 ymax = 0;
};

// The frame rectangle of a movie from its first bytes: "FWS" (uncompressed)
// or "CWS" (zlib from byte 8). Nothing for "ZWS" (LZMA, not read), for any
// other start and for bytes too short or broken to hold it.
std::optional<SwfRect> SwfFrameRect(const QByteArray& head);
// The frame size in pixels; nothing also when a maximum lies below its minimum.
std::optional<QSize> SwfFrameSize(const QByteArray& head);

// The first bytes (at most want) a zlib stream inflates to; fewer when the
// stream ends, breaks off or is broken before that. Only as much of the
// input is read as those bytes need.
QByteArray ZlibPrefix(const QByteArray& stream, int want);

// "Flash-ролик: 550 x 400 (ролик не воспроизводится)", or with
// "размер неизвестен" in place of the size.
QString SwfNote(const std::optional<QSize>& size);

bool IsSwfFile(const QString& path);

// The file's address: a file URL with every character an HTML attribute
// without quotes cannot hold (blanks, quotes, "&", non-ASCII) percent-encoded.
QString ResourceAddress(const QString& path);

// The viewer's page for a file; head is the start of the file, read only
// for a movie (up to kSwfHeadBytes).
QString ResourceViewerPage(const QString& path, const QByteArray& head = QByteArray());

// Where the viewer's frame goes: centred over the main window's frame
// (integer halves), then moved inside the screen's available area, its
// left and top edges winning when it is larger than the area.
QRect ResourceViewerPlace(const QRect& mainFrame, const QSize& viewerFrame, const QRect& available);
