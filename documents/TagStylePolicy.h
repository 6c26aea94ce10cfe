#pragma once

// How the rich-text control shows tags. The control itself knows no kinds of tags: whoever shows
// a document hands it a policy that says, for each tag code, how the tag looks and whether a
// click on it acts. Without a policy every tag is shown as plain text.

#include <QtGlobal>

namespace vasora::documents {

/// The looks the control draws over a tag's text. They are drawn over the text and never saved.
enum class TagLook : quint8 {
    Plain,       ///< nothing drawn
    Button,      ///< shaded like a button
    Link,        ///< blue and underlined
    Figure,      ///< green with a dotted underline
    InputField,  ///< a pale yellow background
};

struct TagStyle final {
    TagLook look = TagLook::Plain;
    /// A click on the tag acts: the pointer is a pointing hand over it.
    bool active = false;
    bool operator==(const TagStyle&) const = default;
};

class TagStylePolicy {
  public:
    TagStylePolicy() = default;
    virtual ~TagStylePolicy() = default;
    TagStylePolicy(const TagStylePolicy&) = delete;
    TagStylePolicy& operator=(const TagStylePolicy&) = delete;

    /// The style of a tag with this code (0..99999).
    virtual TagStyle tagStyle(int code) const = 0;
    /// The look of a hyperlink field of the file, which is no tag; the control follows none.
    virtual TagLook hyperlinkLook() const = 0;
};

}  // namespace vasora::documents
