// The RTF reader's pictures and embedded objects: picture data in hexadecimal or \bin bytes,
// its decoding, and objects kept byte for byte with their shown result.

#include "documents/RtfFormat.h"
#include "documents/RtfReaderImpl.h"

#include <QAtomicInt>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>

namespace vasora::documents::rtf {

void Reader::skipBinary(qint64 n) {
    const qint64 left = m_data.size() - m_at;
    if (n < 0 || n > left) {
        problem(QStringLiteral("binary data (\\bin) is longer than the data left in the file"));
        n = std::clamp<qint64>(n, 0, left);
        if (m_st.dest == Dest::Pict && !m_pictFull) {
            m_pict.data.append(m_data.constData() + m_at, n);
        }
        m_at = m_data.size();
        return;
    }
    if (m_overflow == 0 && m_st.dest == Dest::Pict && !m_pictFull) {
        if (m_pict.data.size() + n > RtfLimits::kMaxPictureBytes) {
            m_pictFull = true;
            problem(QStringLiteral("a picture is larger than the reader allows"));
        } else {
            m_pict.data.append(m_data.constData() + m_at, n);
        }
    }
    m_at += n;
}

void Reader::pictByte(uchar b) {
    if (m_pictFull) return;
    const int v = hexValue(char(b));
    if (v < 0) return;
    if (m_pictHigh < 0) {
        m_pictHigh = v;
        return;
    }
    if (m_pict.data.size() >= RtfLimits::kMaxPictureBytes) {
        m_pictFull = true;
        problem(QStringLiteral("a picture is larger than the reader allows"));
        return;
    }
    m_pict.data.append(char(m_pictHigh * 16 + v));
    m_pictHigh = -1;
}

void Reader::pictWord(Word w, int param) {
    switch (w) {
        case wPngblip:
            m_pict.kind = QStringLiteral("png");
            break;
        case wJpegblip:
            m_pict.kind = QStringLiteral("jpeg");
            break;
        case wDibitmap:
            m_pict.kind = QStringLiteral("dib");
            break;
        case wWmetafile:
            m_pict.kind = QStringLiteral("wmf");
            break;
        case wEmfblip:
            m_pict.kind = QStringLiteral("emf");
            break;
        case wWbitmap:
        case wOtherPict:
            m_pict.kind = QStringLiteral("other");
            break;
        case wPicw:
            m_pict.picWidth = std::clamp(param, 0, 1 << 20);
            break;
        case wPich:
            m_pict.picHeight = std::clamp(param, 0, 1 << 20);
            break;
        case wPicwgoal:
            m_pict.goalWidth = std::clamp(param, 0, 1 << 22);
            break;
        case wPichgoal:
            m_pict.goalHeight = std::clamp(param, 0, 1 << 22);
            break;
        case wPicscalex:
            m_pict.scaleX = std::clamp(param, 1, 1000);
            break;
        case wPicscaley:
            m_pict.scaleY = std::clamp(param, 1, 1000);
            break;
        default:
            break;
    }
}

bool Reader::objectWord(Word w, int param) {
    switch (w) {
        case wPict:
            flush();
            m_st.dest = Dest::Pict;
            m_st.pictGroup = true;
            m_pict = RtfPicture{};
            m_pictHigh = -1;
            m_pictFull = false;
            return true;
        case wObject:
            // Only "{\object" opens an object: its group is kept byte for byte, and a group
            // with text before the word would repeat that text.
            if (m_st.object == 0 && m_wordStart == m_st.groupStart + 1) {
                flush();
                m_st.object = ++m_objectSerial;
                m_st.objectGroup = true;
                m_st.objectBody = true;
                // A field begun outside the object ends outside it: its result is no part of
                // the object's bytes, so it must not change what the object shows.
                m_st.field = -1;
                m_st.dest = Dest::Skip;
                m_objects[m_st.object].groupStart = m_st.groupStart;
            }
            return true;
        case wObjw:
            if (m_st.object) m_objects[m_st.object].width = std::clamp(param, 0, 1 << 22);
            return true;
        case wObjh:
            if (m_st.object) m_objects[m_st.object].height = std::clamp(param, 0, 1 << 22);
            return true;
        case wResult:
            if (m_st.object) {
                place();
                flush();
                numberParagraph(false);  // a list number is no part of the object
                if (m_objects[m_st.object].resultStart < 0)
                    m_objects[m_st.object].resultStart = m_cur.position();
            }
            return true;
        default:
            return false;
    }
}

void Reader::objectBodyWord(Word w, bool star, int param) {
    // An object's group shows nothing but its result; its size is still wanted.
    if (!m_st.objectBody || m_st.object == 0) return;
    if (w == wObjw) m_objects[m_st.object].width = std::clamp(param, 0, 1 << 22);
    if (w == wObjh) m_objects[m_st.object].height = std::clamp(param, 0, 1 << 22);
    if (w != wResult || star) return;
    m_st.dest = Dest::Normal;
    m_st.objectBody = false;
    place();
    flush();
    numberParagraph(false);
    if (m_objects[m_st.object].resultStart < 0)
        m_objects[m_st.object].resultStart = m_cur.position();
}

void Reader::noteSpreadingWord(Word w) {
    switch (w) {
        case wPar:
        case wSect:
        case wPage:
        case wCell:
        case wRow:
        case wNestCell:
        case wNestRow:
        case wTrowd:
        case wCellx:
        case wIntbl:
        case wItap:
        case wNestTableProps:
        case wFonttbl:
        case wColortbl:
        case wStylesheet:
        case wListTable:
        case wListOverrideTable:
        case wAnsi:
        case wAnsicpg:
        case wMac:
        case wPc:
        case wPca:
        case wDeff:
        case wBkmkstart:
        case wBkmkend:
        case wFootnote:
        case wChftn:
        case wDo:
            if (auto it = m_objects.find(m_st.object); it != m_objects.end())
                it->second.spreads = true;
            return;
        default:
            return;
    }
}

void Reader::insertPicture() {
    m_st.pictGroup = false;
    RtfPicture pict = std::move(m_pict);
    m_pict = RtfPicture{};
    if (m_stack.empty()) return;
    // The picture belongs to the group around the \pict group.
    const State outer = m_stack.back();
    if (outer.dest != Dest::Normal || outer.ch.hidden || !roomFor(1)) return;
    const State saved = m_st;
    m_st = outer;
    place();
    numberParagraph(false);
    QString why;
    QImage img = decodePicture(pict, &why);
    if (!why.isEmpty()) problem(why);
    // The scaled size is clamped to what a page could show.
    const int goalW = int(std::min<qint64>(qint64(pict.goalWidth) * pict.scaleX / 100, 1 << 22));
    const int goalH = int(std::min<qint64>(qint64(pict.goalHeight) * pict.scaleY / 100, 1 << 22));
    qreal w = goalW > 0 ? twipsToPixels(goalW) : 0;
    qreal h = goalH > 0 ? twipsToPixels(goalH) : 0;
    if (img.isNull()) {
        const bool metafile =
            pict.kind == QLatin1String("wmf") || pict.kind == QLatin1String("emf");
        // Metafile sizes are in hundredths of a millimetre, bitmap sizes in pixels.
        const qreal fallbackW = metafile ? pict.picWidth * 96.0 / 2540.0 : pict.picWidth;
        const qreal fallbackH = metafile ? pict.picHeight * 96.0 / 2540.0 : pict.picHeight;
        if (w <= 0) w = fallbackW > 0 ? fallbackW : 64;
        if (h <= 0) h = fallbackH > 0 ? fallbackH : 64;
        img = placeholderImage(int(w), int(h));
    }
    if (w <= 0) w = img.width();
    if (h <= 0) h = img.height();
    static QAtomicInt serial;
    const QString name = QStringLiteral("vasora-pict:%1").arg(serial.fetchAndAddRelaxed(1));
    m_doc.addResource(QTextDocument::ImageResource, QUrl(name), img);
    QTextImageFormat f;
    f.merge(charFormat());
    f.setName(name);
    f.setWidth(std::min<qreal>(w, 4000));
    f.setHeight(std::min<qreal>(h, 4000));
    f.setProperty(kPictDataProperty, pict.data);
    f.setProperty(kPictKindProperty, pict.kind.isEmpty() ? QStringLiteral("other") : pict.kind);
    f.setProperty(kPictGoalWidthProperty, goalW);
    f.setProperty(kPictGoalHeightProperty, goalH);
    f.setProperty(kPictWidthProperty, pict.picWidth);
    f.setProperty(kPictHeightProperty, pict.picHeight);
    m_cur.insertImage(f);
    m_st = saved;
}

void Reader::finishObject(const State& group, qsizetype closeAt) {
    const auto it = m_objects.find(group.object);
    if (it == m_objects.end()) return;
    const ObjectInfo info = it->second;
    m_objects.erase(it);
    if (m_st.ch.hidden || m_st.dest != Dest::Normal) return;  // hidden text shows no object
    QByteArray raw = m_data.mid(info.groupStart, closeAt + 1 - info.groupStart);
    if (raw.size() > RtfLimits::kMaxPictureBytes) {
        problem(QStringLiteral("an embedded object is larger than the reader allows"));
        return;
    }
    place();
    const int end = m_cur.position();
    // Written back where it stood, an object that reaches beyond its place would repeat what
    // it reaches over with every save; it keeps what it shows.
    const bool oneParagraph =
        info.resultStart < 0 || m_doc.findBlock(info.resultStart) == m_doc.findBlock(end);
    if (info.spreads || !oneParagraph) {
        problem(
            QStringLiteral("an embedded object reaches over several paragraphs; what it "
                           "shows was kept, its data was left out"));
        return;
    }
    QTextCharFormat mark;
    mark.setProperty(kObjectRtfProperty, raw);
    mark.setProperty(kObjectIdProperty, group.object);
    if (info.resultStart >= 0 && end > info.resultStart) {
        QTextCursor c(&m_doc);
        c.setPosition(info.resultStart);
        c.setPosition(end, QTextCursor::KeepAnchor);
        c.mergeCharFormat(mark);
        return;
    }
    // No shown result: a placeholder of the object's size stands for it.
    if (!roomFor(1)) return;
    const qreal w = info.width > 0 ? twipsToPixels(info.width) : 64;
    const qreal h = info.height > 0 ? twipsToPixels(info.height) : 64;
    static QAtomicInt serial;
    const QString name = QStringLiteral("vasora-object:%1").arg(serial.fetchAndAddRelaxed(1));
    m_doc.addResource(QTextDocument::ImageResource, QUrl(name), placeholderImage(int(w), int(h)));
    QTextImageFormat f;
    f.merge(charFormat());
    f.merge(mark);
    f.setName(name);
    f.setWidth(std::min<qreal>(w, 4000));
    f.setHeight(std::min<qreal>(h, 4000));
    m_cur.insertImage(f);
}

}  // namespace vasora::documents::rtf
