#include "documents/RtfPicture.h"

#include "documents/RtfFormat.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace vasora::documents {
namespace {

quint16 u16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(b.constData()) + at);
}
quint32 u32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(b.constData()) + at);
}
qint32 s32(const QByteArray& b, qsizetype at) {
    return qint32(u32(b, at));
}

QImage readChecked(const QByteArray& bytes, const char* format, QString* problem) {
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf, format);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (size.isValid() &&
        (size.width() > RtfLimits::kMaxPictureSide || size.height() > RtfLimits::kMaxPictureSide)) {
        if (problem) *problem = QStringLiteral("a picture is larger than the reader allows");
        return {};
    }
    QImage img = reader.read();
    if (img.isNull() && problem) *problem = QStringLiteral("a picture could not be decoded");
    return img;
}

}  // namespace

QImage decodeDib(const QByteArray& dib, QString* problem) {
    auto fail = [&](const char* why) {
        if (problem) *problem = QString::fromLatin1(why);
        return QImage();
    };
    if (dib.size() < 12) return fail("a bitmap picture is too short");
    const quint32 headerSize = u32(dib, 0);
    qint64 width = 0, height = 0;
    quint32 bitCount = 0, compression = 0, colorsUsed = 0;
    qint64 paletteEntrySize = 4;
    if (headerSize == 12) {
        width = u16(dib, 4);
        height = qint16(u16(dib, 6));
        bitCount = u16(dib, 10);
        paletteEntrySize = 3;
    } else if (headerSize >= 40 && headerSize <= 124 && qint64(headerSize) <= dib.size()) {
        width = s32(dib, 4);
        height = s32(dib, 8);
        bitCount = u16(dib, 14);
        compression = u32(dib, 16);
        colorsUsed = u32(dib, 32);
    } else {
        return fail("a bitmap picture has an unknown header");
    }
    const qint64 absHeight = height < 0 ? -height : height;
    if (width <= 0 || absHeight == 0 || width > RtfLimits::kMaxPictureSide ||
        absHeight > RtfLimits::kMaxPictureSide)
        return fail("a bitmap picture has a size the reader does not allow");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return fail("a bitmap picture has an unknown colour depth");
    if (compression > 3) return fail("a bitmap picture has an unknown compression");
    qint64 paletteEntries = colorsUsed;
    if (paletteEntries == 0 && bitCount <= 8) paletteEntries = qint64(1) << bitCount;
    if (paletteEntries > 256) return fail("a bitmap picture has too many colours");
    qint64 masks = (headerSize == 40 && compression == 3) ? 12 : 0;
    const qint64 bitsOffset = headerSize + masks + paletteEntries * paletteEntrySize;
    if (bitsOffset > dib.size()) return fail("a bitmap picture is cut short");
    if (compression == 0 || compression == 3) {
        const qint64 stride = ((width * bitCount + 31) / 32) * 4;
        if (bitsOffset + stride * absHeight > dib.size())
            return fail("a bitmap picture is cut short");
    }
    // A bitmap file is the DIB behind a 14-byte file header that says where the pixels start.
    QByteArray file(14, '\0');
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<quint32>(quint32(14 + dib.size()), reinterpret_cast<uchar*>(file.data()) + 2);
    qToLittleEndian<quint32>(quint32(14 + bitsOffset), reinterpret_cast<uchar*>(file.data()) + 10);
    file.append(dib);
    return readChecked(file, "BMP", problem);
}

QImage bitmapFromMetafile(const QByteArray& wmf, QString* problem) {
    qsizetype at = 0;
    if (wmf.size() >= 22 && u32(wmf, 0) == 0x9AC6CDD7u) at = 22;  // placeable header
    if (wmf.size() < at + 18) {
        if (problem) *problem = QStringLiteral("a metafile picture is too short");
        return {};
    }
    const quint16 headerWords = u16(wmf, at + 2);
    if (headerWords < 9) {
        if (problem) *problem = QStringLiteral("a metafile picture has an unknown header");
        return {};
    }
    at += qsizetype(headerWords) * 2;
    // Records: a size in 16-bit words, a function number, then the function's parameters.
    for (int records = 0; records < 100000 && at + 6 <= wmf.size(); ++records) {
        const qint64 words = u32(wmf, at);
        const quint16 function = u16(wmf, at + 4);
        if (words < 3 || at + words * 2 > wmf.size()) break;
        qint64 dibAt = -1;
        if (function == 0x0F43)
            dibAt = at + 6 + 22;  // StretchDIBits
        else if (function == 0x0B41)
            dibAt = at + 6 + 20;  // DIBStretchBlt
        else if (function == 0x0940)
            dibAt = at + 6 + 16;  // DIBBitBlt
        if (dibAt >= 0 && dibAt < at + words * 2)
            return decodeDib(wmf.mid(dibAt, at + words * 2 - dibAt), problem);
        if (function == 0) break;  // end of the metafile
        at += words * 2;
    }
    return {};
}

QImage decodePicture(const RtfPicture& pict, QString* problem) {
    if (pict.data.isEmpty()) return {};
    if (pict.kind == QLatin1String("png")) return readChecked(pict.data, "PNG", problem);
    if (pict.kind == QLatin1String("jpeg")) return readChecked(pict.data, "JPEG", problem);
    if (pict.kind == QLatin1String("dib")) return decodeDib(pict.data, problem);
    if (pict.kind == QLatin1String("wmf")) return bitmapFromMetafile(pict.data, problem);
    return {};
}

QImage placeholderImage(int widthPx, int heightPx) {
    widthPx = std::clamp(widthPx, 8, 2000);
    heightPx = std::clamp(heightPx, 8, 2000);
    QImage img(widthPx, heightPx, QImage::Format_RGB32);
    img.fill(QColor(230, 230, 230));
    QPainter p(&img);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(0, 0, widthPx - 1, heightPx - 1);
    p.drawLine(0, 0, widthPx - 1, heightPx - 1);
    p.drawLine(0, heightPx - 1, widthPx - 1, 0);
    return img;
}

}  // namespace vasora::documents
