#pragma once

// The embedded objects of the control's document, held by ScrivoOLE (ScrivoOle.h). The reader
// keeps every \object group byte for byte on the characters of its shown result
// (kObjectRtfProperty, joined by kObjectIdProperty); with the library there is one extension
// object per group that holds object data, and per object inserted. Each is drawn where its
// result picture stands, opened in its server on a double click, and written anew through the
// library when it has changed since it was read; an object that has not changed keeps the
// bytes it was read from, so writing a document twice gives the same bytes. Without the
// library every group is kept as it was read.

#include <QByteArray>
#include <QString>
#include <QTextCharFormat>
#include <cstdint>
#include <map>

class QTextDocument;
class QWidget;
struct ScrivoExtensionObject;

namespace vasora::documents {

/// The scheme of the names of the pictures the objects draw themselves into.
inline constexpr char kObjectPictureScheme[] = "vasora-ole";

/// The format that text typed beside a character takes from it: the character's format without
/// what makes it a picture or an embedded object.
QTextCharFormat textFormatOf(const QTextCharFormat& format);

/// Where the object data of a kept \object group begins: just after "\objdata" and its
/// delimiter. -1 when the group holds none.
qsizetype objectDataStart(const QByteArray& group);

class EmbeddedObjects final {
  public:
    /// Objects of the control `window` (its number for the library's messages); `control` is
    /// the parent of the messages shown.
    EmbeddedObjects(QWidget* control, std::uint32_t window);
    ~EmbeddedObjects();
    EmbeddedObjects(const EmbeddedObjects&) = delete;
    EmbeddedObjects& operator=(const EmbeddedObjects&) = delete;

    /// Whether objects can be held: the library was found.
    bool available() const;

    /// One object for each kept group of a document just read, drawn where its result picture
    /// stands. Nothing is started or fetched. `name` is the document's file name, given to
    /// servers as the name of the document holding their object.
    void attach(QTextDocument& doc, const QString& name);
    /// Destroys every object; their document is gone or about to go.
    void clear();

    /// Creates an object from `spec` (as the library's Create takes it: "*" asks the learner
    /// in the library's insert-object dialog) and puts it in place of the characters from..to,
    /// in `format` (its text properties; tags included). False when nothing was created.
    bool insert(QTextDocument& doc, int from, int to, const QTextCharFormat& format,
                const QString& spec, const QString& name);
    /// Opens the object shown at `position` in its server; false when there is none.
    bool activateAt(const QTextDocument& doc, int position, const QString& name);
    /// The library's report that `object` changed: it is drawn anew, at its new size, and the
    /// document is modified. False when the object is none of this document's.
    bool changed(ScrivoExtensionObject* object, QTextDocument& doc);
    /// Before the document is written: every object changed since it was read or last written
    /// gets its group written anew by the library.
    void writeBack(QTextDocument& doc);

    int count() const { return int(m_objects.size()); }
    /// The object shown at `position`, or null.
    ScrivoExtensionObject* objectAt(const QTextDocument& doc, int position) const;

  private:
    struct Entry {
        ScrivoExtensionObject* object = nullptr;
        bool changed = false;
    };
    /// Draws the object into the picture at position `at` (-1: none); `resize` gives the
    /// picture the object's own size.
    void draw(QTextDocument& doc, int id, ScrivoExtensionObject* object, int at, bool resize);
    void setHostName(const QString& name) const;

    QWidget* m_control;
    std::uint32_t m_window;
    /// By the object id the characters carry (kObjectIdProperty).
    std::map<int, Entry> m_objects;
};

}  // namespace vasora::documents
