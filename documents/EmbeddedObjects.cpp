#include "documents/EmbeddedObjects.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "documents/RtfFormat.h"
#include "documents/ScrivoOle.h"
#include "scrivoole/ScrivoOLE.h"
#include "shell/Dialogs.h"

namespace vasora::documents {
namespace {

// What the text shows of an object, pixels a side: the reader's bound for pictures. The bitmap
// an object draws itself into is smaller still; the text stretches it to the object's size.
constexpr int kMaxShownSide = 4000;
constexpr int kMaxBitmapSide = 1024;

// Reads a kept group to the library, from its object data on.
struct GroupReader {
    ScrivoRtfReader base;
    const QByteArray* group;
    qsizetype at;
};

std::int32_t SCRIVOOLE_CALL nextByte(ScrivoRtfReader* r) {
    auto* g = reinterpret_cast<GroupReader*>(r);
    return g->at < g->group->size() ? std::int32_t(uchar(g->group->at(g->at++))) : -1;
}
const ScrivoRtfReaderOps kReaderOps = {nextByte};

// Takes what the library writes of an object. A group the reader would refuse on the next load
// (RtfLimits) fails the write: the object would be lost with the next save.
struct GroupWriter {
    ScrivoRtfWriter base;
    QByteArray text;
};

std::int32_t SCRIVOOLE_CALL writeText(ScrivoRtfWriter* w, const char* text, std::int32_t length) {
    auto* g = reinterpret_cast<GroupWriter*>(w);
    if (!text) return 1;
    const qsizetype n = length < 0 ? qsizetype(qstrlen(text)) : qsizetype(length);
    if (g->text.size() + n > RtfLimits::kMaxPictureBytes) return 1;
    g->text.append(text, n);
    return 0;
}
const ScrivoRtfWriterOps kWriterOps = {{nullptr, nullptr, nullptr, nullptr}, writeText};

// The object's \object group, written by the library; empty when the library failed.
QByteArray groupOf(ScrivoExtensionObject* object) {
    GroupWriter w{{&kWriterOps, 0}, {}};
    if (object->ops->SaveRtf(object, &w.base, "RTF") != 1) return {};
    return w.text;
}

// The library's device context draws through a painter.
void SCRIVOOLE_CALL drawImage(void* context, std::int32_t x, std::int32_t y, std::int32_t cx,
                              std::int32_t cy, const std::uint8_t* pixels, std::int32_t width,
                              std::int32_t height, std::int32_t stride) {
    if (!context || !pixels || width <= 0 || height <= 0 || stride < width * 4) return;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    // Blue, green, red, alpha in memory: 32-bit ARGB words.
    const QImage image(pixels, width, height, stride, QImage::Format_ARGB32_Premultiplied);
#else
    const QImage image =
        QImage(pixels, width, height, stride, QImage::Format_RGBA8888_Premultiplied).rgbSwapped();
#endif
    static_cast<QPainter*>(context)->drawImage(QRect(x, y, cx, cy), image);
}

// The characters of each object: its kept group, where its characters are and where the
// first picture among them stands.
struct Span {
    QByteArray group;
    int image = -1;
    std::vector<std::pair<int, int>> runs;  // position, length
};

std::map<int, Span> spansOf(const QTextDocument& doc) {
    std::map<int, Span> spans;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            if (!fr.isValid()) continue;
            const QTextCharFormat f = fr.charFormat();
            if (!f.hasProperty(kObjectRtfProperty)) continue;
            Span& s = spans[f.intProperty(kObjectIdProperty)];
            if (s.runs.empty()) s.group = f.property(kObjectRtfProperty).toByteArray();
            if (s.image < 0 && f.isImageFormat()) s.image = fr.position();
            s.runs.emplace_back(fr.position(), fr.length());
        }
    }
    return spans;
}

int unusedObjectId(const QTextDocument& doc) {
    const auto spans = spansOf(doc);
    return spans.empty() ? 1 : std::max(1, spans.rbegin()->first + 1);
}

QTextCharFormat formatAt(const QTextDocument& doc, int position) {
    const QTextBlock b = doc.findBlock(position);
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment fr = it.fragment();
        if (fr.isValid() && fr.contains(position)) return fr.charFormat();
    }
    return {};
}

bool isWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

QTextCharFormat textFormatOf(const QTextCharFormat& format) {
    QTextCharFormat f = format;
    for (int p :
         {int(QTextFormat::ObjectType), int(QTextFormat::ImageName), int(QTextFormat::ImageWidth),
          int(QTextFormat::ImageHeight), int(QTextFormat::ImageQuality), int(kPictDataProperty),
          int(kPictKindProperty), int(kPictGoalWidthProperty), int(kPictGoalHeightProperty),
          int(kPictWidthProperty), int(kPictHeightProperty), int(kObjectRtfProperty),
          int(kObjectIdProperty)})
        f.clearProperty(p);
    return f;
}

qsizetype objectDataStart(const QByteArray& group) {
    const qsizetype n = group.size();
    for (qsizetype i = 0; i < n;) {
        if (group[i] != '\\' || i + 1 >= n) {
            ++i;
            continue;
        }
        if (!isWordChar(group[i + 1])) {
            i += 2;  // a control symbol, an escaped brace or backslash among them
            continue;
        }
        qsizetype end = i + 1;
        while (end < n && isWordChar(group[end])) ++end;
        const QByteArray word = group.mid(i + 1, end - i - 1);
        qsizetype after = end;
        if (after < n && group[after] == '-') ++after;
        const qsizetype digits = after;
        while (after < n && after - digits < 10 && group[after] >= '0' && group[after] <= '9')
            ++after;
        const qint64 param = group.mid(digits, after - digits).toLongLong();
        if (after < n && group[after] == ' ') ++after;
        if (word == "objdata") return after;
        // Binary data is passed over whole: its bytes may look like anything.
        if (word == "bin") after += std::clamp<qint64>(param, 0, n - after);
        i = after;
    }
    return -1;
}

EmbeddedObjects::EmbeddedObjects(QWidget* control, std::uint32_t window)
    : m_control(control), m_window(window) {
    ole::library();
}

EmbeddedObjects::~EmbeddedObjects() {
    clear();
}

bool EmbeddedObjects::available() const {
    return ole::library() != nullptr;
}

void EmbeddedObjects::setHostName(const QString& name) const {
    if (const ole::Library* lib = ole::library())
        lib->setObjectHostName(QFileInfo(name).fileName().toLocal8Bit().constData());
}

void EmbeddedObjects::attach(QTextDocument& doc, const QString& name) {
    const ole::Library* lib = ole::library();
    if (!lib) return;
    setHostName(name);
    for (const auto& [id, span] : spansOf(doc)) {
        // A group with no object data (a link's result, say) has nothing for the library.
        const qsizetype data = objectDataStart(span.group);
        if (data < 0 || m_objects.count(id)) continue;
        ScrivoExtensionObject* object = lib->newObject(m_window, 0, ole::kObjectInterface);
        if (!object) return;
        GroupReader reader{{&kReaderOps}, &span.group, data};
        object->ops->LoadRtf(object, &reader.base, 0);
        m_objects[id] = {object, false};
        draw(doc, id, object, span.image, false);
    }
}

void EmbeddedObjects::clear() {
    for (auto& [id, entry] : m_objects) entry.object->ops->Destroy(entry.object, 1);
    m_objects.clear();
}

bool EmbeddedObjects::insert(QTextDocument& doc, int from, int to, const QTextCharFormat& format,
                             const QString& spec, const QString& name) {
    const ole::Library* lib = ole::library();
    if (!lib) return false;
    ScrivoExtensionObject* object = lib->newObject(m_window, 0, ole::kObjectInterface);
    if (!object) return false;
    setHostName(name);
    if (object->ops->Create(object, spec.toLocal8Bit().constData()) != 1) {
        object->ops->Destroy(object, 1);
        return false;
    }
    const QByteArray group = groupOf(object);
    if (group.isEmpty()) {
        object->ops->Destroy(object, 1);
        ui::messageBox(QStringLiteral("The object is too large to be kept in this document."), {},
                       m_control);
        return false;
    }
    const int id = unusedObjectId(doc);
    QTextImageFormat f;
    f.merge(textFormatOf(format));
    f.setProperty(kObjectRtfProperty, group);
    f.setProperty(kObjectIdProperty, id);
    QTextCursor c(&doc);
    c.setPosition(std::clamp(from, 0, doc.characterCount() - 1));
    c.setPosition(std::clamp(to, 0, doc.characterCount() - 1), QTextCursor::KeepAnchor);
    c.beginEditBlock();
    c.removeSelectedText();
    const int at = c.position();
    c.insertText(QString(QChar::ObjectReplacementCharacter), f);
    c.endEditBlock();
    m_objects[id] = {object, false};
    draw(doc, id, object, at, true);
    return true;
}

bool EmbeddedObjects::activateAt(const QTextDocument& doc, int position, const QString& name) {
    const QTextCharFormat f = formatAt(doc, position);
    if (!f.hasProperty(kObjectRtfProperty)) return false;
    const auto it = m_objects.find(f.intProperty(kObjectIdProperty));
    if (it == m_objects.end()) return false;
    setHostName(name);
    it->second.object->ops->Activate(it->second.object, 0, 0);
    return true;
}

ScrivoExtensionObject* EmbeddedObjects::objectAt(const QTextDocument& doc, int position) const {
    const QTextCharFormat f = formatAt(doc, position);
    if (!f.hasProperty(kObjectRtfProperty)) return nullptr;
    const auto it = m_objects.find(f.intProperty(kObjectIdProperty));
    return it == m_objects.end() ? nullptr : it->second.object;
}

bool EmbeddedObjects::changed(ScrivoExtensionObject* object, QTextDocument& doc) {
    const auto it = std::find_if(m_objects.begin(), m_objects.end(),
                                 [object](const auto& e) { return e.second.object == object; });
    if (it == m_objects.end()) return false;
    // An object whose characters were deleted while its server had it is no longer part of
    // the document: its edit changes nothing.
    const auto spans = spansOf(doc);
    const auto span = spans.find(it->first);
    if (span == spans.end()) return true;
    it->second.changed = true;
    draw(doc, it->first, object, span->second.image, true);
    doc.setModified(true);
    return true;
}

void EmbeddedObjects::writeBack(QTextDocument& doc) {
    bool any = false;
    for (const auto& [id, entry] : m_objects) any = any || entry.changed;
    if (!any) return;
    const auto spans = spansOf(doc);
    for (auto& [id, entry] : m_objects) {
        if (!entry.changed) continue;
        const auto span = spans.find(id);
        if (span == spans.end()) {
            entry.changed = false;  // its characters were deleted: nothing to write
            continue;
        }
        const QByteArray group = groupOf(entry.object);
        if (group.isEmpty()) {
            ui::messageBox(QStringLiteral("An embedded object has grown too large to be kept in "
                                          "this document; it is saved as it was before."),
                           {}, m_control);
            continue;
        }
        QTextCharFormat kept;
        kept.setProperty(kObjectRtfProperty, group);
        QTextCursor c(&doc);
        for (const auto& [position, length] : span->second.runs) {
            c.setPosition(position);
            c.setPosition(position + length, QTextCursor::KeepAnchor);
            c.mergeCharFormat(kept);
        }
        entry.changed = false;
    }
}

void EmbeddedObjects::draw(QTextDocument& doc, int id, ScrivoExtensionObject* object, int at,
                           bool resize) {
    // An object whose result is text, not a picture, keeps showing that text.
    if (at < 0) return;
    ScrivoRect r{0, 0, 0, 0};
    object->ops->GetRect(object, &r);
    const int w = std::clamp(r.right - r.left, 1, kMaxShownSide);
    const int h = std::clamp(r.bottom - r.top, 1, kMaxShownSide);
    QSize bitmap(w, h);
    if (w > kMaxBitmapSide || h > kMaxBitmapSide)
        bitmap = bitmap.scaled(kMaxBitmapSide, kMaxBitmapSide, Qt::KeepAspectRatio)
                     .expandedTo(QSize(1, 1));
    QImage image(bitmap, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.scale(qreal(bitmap.width()) / w, qreal(bitmap.height()) / h);
        ScrivoDeviceContext dc{SCRIVOOLE_RC_BITBLT | SCRIVOOLE_RC_STRETCHBLT,
                               m_control->logicalDpiX(), m_control->logicalDpiY(), drawImage,
                               &painter};
        object->ops->Paint(object, &dc, 0, 0);
    }
    // One name per object and control: drawing it anew replaces the picture.
    const QString name =
        QStringLiteral("%1:%2-%3").arg(QLatin1String(kObjectPictureScheme)).arg(m_window).arg(id);
    doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextCursor c(&doc);
    c.setPosition(at);
    c.setPosition(at + 1, QTextCursor::KeepAnchor);
    QTextImageFormat f = c.charFormat().toImageFormat();
    f.setName(name);
    if (resize) {
        f.setWidth(w);
        f.setHeight(h);
    }
    c.setCharFormat(f);
    doc.markContentsDirty(at, 1);
}

}  // namespace vasora::documents
