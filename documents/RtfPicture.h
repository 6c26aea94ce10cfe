#pragma once

// Pictures of RTF files: the kinds the reader knows, and their checked decoding. Picture data
// comes from untrusted files: every size and offset is checked against the data before use,
// and nothing larger than RtfLimits allows is decoded.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace vasora::documents {

struct RtfPicture final {
    QByteArray data;
    QString kind;      // "png", "jpeg", "dib", "wmf", "emf", "other"
    int picWidth = 0;  // in the picture's own units (pixels, or 0.01 mm for metafiles)
    int picHeight = 0;
    int goalWidth = 0;  // wanted display size in twips; 0 when the file gave none
    int goalHeight = 0;
    int scaleX = 100;  // percent
    int scaleY = 100;
};

/// Decodes the picture; a null image when it holds no bitmap that could be read, with the
/// reason in problem (left empty for metafiles that hold only drawing records).
QImage decodePicture(const RtfPicture& pict, QString* problem);

/// Decodes a device-independent bitmap (an info header, a palette and the pixels).
QImage decodeDib(const QByteArray& dib, QString* problem);

/// Finds a bitmap inside a Windows metafile and decodes it; a null image when there is none.
QImage bitmapFromMetafile(const QByteArray& wmf, QString* problem);

/// A grey placeholder with a frame, for pictures that cannot be shown.
QImage placeholderImage(int widthPx, int heightPx);

}  // namespace vasora::documents
