// Late-bound access to the control's members by dispatch id, and the library functions the
// program calls on the control.

#include "documents/ScrivoControl.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace vasora::documents {

void ScrivoControl::setDispatch(int id, const QVariant& v) {
    switch (id) {
        case kIdPointerShape:
            setPointerShape(qint16(v.toInt()));
            break;
        case kIdCursorChar:
            setCursorChar(v.toInt());
            break;
        case kIdCursorPara:
            setCursorPara(v.toInt());
            break;
        case kIdFileFormat:
            setFileFormat(v.toInt());
            break;
        case kIdLineWidth:
            setLineWidth(v.toDouble());
            break;
        case kIdLoadNow:
            setLoadNow(qint16(v.toInt()));
            break;
        case kIdFileName:
            setFileName(v.toString());
            break;
        case kIdSaveNow:
            setSaveNow(qint16(v.toInt()));
            break;
        case kIdTagCode:
            setTagCode(v.toInt());
            break;
        case kIdScrollTop:
            setScrollTop(v.toInt());
            break;
        case kIdRangeLength:
            setRangeLength(v.toInt());
            break;
        case kIdRangeStart:
            setRangeStart(v.toInt());
            break;
        case kIdTagText:
            setTagText(v.toString());
            break;
        case kIdReadOnly:
            setReadOnly(v.toBool());
            break;
        default:
            m_ignored.insert(id, v);
            break;
    }
}

QVariant ScrivoControl::dispatch(int id) const {
    switch (id) {
        case kIdPointerShape:
            return m_pointerShape;
        case kIdCursorChar:
            return CursorChar();
        case kIdCursorPara:
            return CursorPara();
        case kIdFileFormat:
            return m_fileFormat;
        case kIdLineWidth:
            return m_lineWidth;
        case kIdLoadNow:
        case kIdSaveNow:
            return 0;
        case kIdFileName:
            return m_fileName;
        case kIdClickedTag:
            return m_clickedTag;
        case kIdTagCode:
            return TagCode();
        case kIdScrollTop:
            return ScrollTop();
        case kIdRangeLength:
            return m_rangeLength;
        case kIdRangeStart:
            return m_rangeStart;
        case kIdTagText:
            return TagText();
        case kIdReadOnly:
            return m_readOnly;
        case kIdTextLength:
            return TextLength();
        default:
            return m_ignored.value(id);
    }
}

}  // namespace vasora::documents

namespace vasora::ScrivoAPI {

using documents::ScrivoControl;
using documents::TagSpan;

qint32 FIND_HTAG(ScrivoControl& control, qint32 code, qint32 direction) {
    const int from = control.cursorPosition();
    const TagSpan t =
        documents::findTag(*control.document(), from, direction < 0 ? -1 : 1, false, code);
    if (!t.valid()) return 0;
    control.standOnTag(t);
    return 1;
}

qint32 FIND_NTAG(ScrivoControl& control, qint32 code, qint32 direction) {
    const int dir = direction < 0 ? -1 : 1;
    // A walk that stands on a tag moves on from it rather than finding it again.
    TagSpan skip = control.currentTag();
    if (!skip.valid() || skip.start != control.RangeStart() || skip.length != control.RangeLength())
        skip = {};
    const TagSpan t =
        documents::findTag(*control.document(), control.RangeStart(), dir, code == 0, code, skip);
    if (!t.valid()) return 0;
    control.standOnTag(t);
    return dir;
}

qint16 SCRIVO_CURTOXY(ScrivoControl& control, qint32 para, qint32 character, qint32& x, qint32& y) {
    x = 0;
    y = 0;
    QTextDocument* doc = control.document();
    if (para < 0 || para >= doc->blockCount()) return 0;
    const QTextBlock b = doc->findBlockByNumber(para);
    if (!b.isValid()) return 0;
    const int offset = std::clamp(character, 0, std::max(0, b.length() - 1));
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    const QRectF box = layout->blockBoundingRect(b);
    const QTextLayout* tl = b.layout();
    const QTextLine line = tl ? tl->lineForTextPosition(offset) : QTextLine();
    if (line.isValid()) {
        x = qint32(box.left() + line.cursorToX(offset));
        y = qint32(box.top() + line.y());
    } else {
        x = qint32(box.left());
        y = qint32(box.top());
    }
    return 1;
}

}  // namespace vasora::ScrivoAPI
