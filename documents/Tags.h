#pragma once

// Tags are runs of text whose characters carry a tag code (kTagCodeProperty) and a tag number
// (kTagIdProperty). Positions are QTextDocument positions, the same ones QTextCursor uses.

#include <QString>
#include <vector>

class QTextDocument;

namespace vasora::documents {

struct TagSpan final {
    int start = -1;
    int length = 0;
    int code = 0;
    int id = 0;
    bool valid() const { return start >= 0; }
    int end() const { return start + length; }
    bool operator==(const TagSpan&) const = default;
};

/// The tag that holds the character at position, or an invalid span.
TagSpan tagAt(const QTextDocument& doc, int position);

/// Searches for a tag with the given code (any code when anyCode is true). Forward: the first
/// tag that starts at or after from, passing over the tag skipSpan if it is one (so a walk
/// that stands on a tag moves on). Backward: the last tag that starts before from.
TagSpan findTag(const QTextDocument& doc, int from, int direction, bool anyCode, int code,
                const TagSpan& skipSpan = {});

/// Every tag in document order.
std::vector<TagSpan> allTags(const QTextDocument& doc);

/// The visible text of a tag.
QString tagText(const QTextDocument& doc, const TagSpan& tag);

/// Replaces the tag's text, keeping its code, number and the format of its first character;
/// the text around it is untouched. Returns the new span (invalid when text is empty, since a
/// tag without text no longer exists).
TagSpan setTagText(QTextDocument& doc, const TagSpan& tag, const QString& text);

/// Gives the tag's characters a new code (clamped to 0..99999).
TagSpan setTagCode(QTextDocument& doc, const TagSpan& tag, int code);

/// A tag number not yet used in the document.
int unusedTagId(const QTextDocument& doc);

}  // namespace vasora::documents
