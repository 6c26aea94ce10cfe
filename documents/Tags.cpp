#include "documents/Tags.h"

#include "documents/RtfFormat.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace vasora::documents {
namespace {

int idOf(const QTextCharFormat& f) {
    return f.hasProperty(kTagIdProperty) ? f.intProperty(kTagIdProperty) : 0;
}

struct Piece {
    int start;
    int length;
    int id;
    int code;
};

Piece pieceOf(const QTextFragment& fr, int start) {
    const QTextCharFormat f = fr.charFormat();
    const int id = idOf(f);
    return {start, fr.length(), id, id ? f.intProperty(kTagCodeProperty) : 0};
}

// Walks the fragments of the document one by one from the fragment that holds a position,
// forwards or backwards, across block and table boundaries. It counts positions itself, since
// asking a fragment for its position costs a search of the document.
class FragmentWalk final {
  public:
    FragmentWalk(const QTextDocument& doc, int position) {
        m_block = doc.findBlock(std::clamp(position, 0, std::max(0, doc.characterCount() - 1)));
        if (!m_block.isValid()) return;
        m_it = m_block.begin();
        m_at = m_block.position();
        while (!m_it.atEnd()) {
            const int length = m_it.fragment().length();
            if (m_at + length > position) break;
            m_at += length;
            ++m_it;
        }
        settleForward();
    }
    bool valid() const { return m_block.isValid() && !m_it.atEnd(); }
    Piece piece() const { return pieceOf(m_it.fragment(), m_at); }
    void next() {
        m_at += m_it.fragment().length();
        ++m_it;
        settleForward();
    }
    void previous() {
        // A block's fragments are walked back by seeking forward from the block's start: the
        // iterator's own step back can land inside a run of fragments that its step forward
        // takes as one (after an edit in the middle of a tag), which would split the tag.
        int target = m_at - 1;
        for (;;) {
            while (m_block.isValid() && target < m_block.position()) {
                m_block = m_block.previous();
                if (m_block.isValid()) target = m_block.position() + m_block.length() - 2;
            }
            if (!m_block.isValid()) return;
            seek(target);
            if (!m_it.atEnd()) return;
            target = m_block.position() - 1;
        }
    }

  private:
    // The fragment of the current block that holds `position`, or the block's end.
    void seek(int position) {
        m_it = m_block.begin();
        m_at = m_block.position();
        while (!m_it.atEnd()) {
            const int length = m_it.fragment().length();
            if (m_at + length > position) return;
            m_at += length;
            ++m_it;
        }
    }
    void settleForward() {
        while (m_block.isValid() && m_it.atEnd()) {
            m_block = m_block.next();
            if (m_block.isValid()) {
                m_it = m_block.begin();
                m_at = m_block.position();
            }
        }
    }
    QTextBlock m_block;
    QTextBlock::iterator m_it;
    int m_at = 0;
};

// The whole span of the tag whose fragment the walk stands on.
TagSpan spanFrom(const QTextDocument& doc, const Piece& p) {
    TagSpan s{p.start, p.length, p.code, p.id};
    FragmentWalk back(doc, p.start);
    back.previous();
    while (back.valid()) {
        const Piece q = back.piece();
        if (q.id != p.id || q.start + q.length < s.start - 1) break;
        s.length += s.start - q.start;
        s.start = q.start;
        back.previous();
    }
    FragmentWalk fwd(doc, p.start);
    fwd.next();
    while (fwd.valid()) {
        const Piece q = fwd.piece();
        // A tag may run on over one paragraph separator, which is no fragment of its own.
        if (q.id != p.id || q.start > s.end() + 1) break;
        s.length = q.start + q.length - s.start;
        fwd.next();
    }
    return s;
}

}  // namespace

TagSpan tagAt(const QTextDocument& doc, int position) {
    if (position < 0 || position >= doc.characterCount()) return {};
    FragmentWalk w(doc, position);
    if (!w.valid()) return {};
    const Piece p = w.piece();
    if (p.id == 0 || p.start > position) return {};
    return spanFrom(doc, p);
}

TagSpan findTag(const QTextDocument& doc, int from, int direction, bool anyCode, int code,
                const TagSpan& skipSpan) {
    if (direction >= 0) {
        FragmentWalk w(doc, std::max(0, from));
        if (!w.valid()) return {};
        // A tag that began before from is not one the forward search may find.
        int passedId = 0;
        if (const Piece first = w.piece(); first.id != 0) {
            if (first.start < from) {
                passedId = first.id;
            } else {
                FragmentWalk back = w;
                back.previous();
                if (back.valid() && back.piece().id == first.id) passedId = first.id;
            }
        }
        for (; w.valid(); w.next()) {
            const Piece p = w.piece();
            if (p.id == 0 || p.id == passedId) continue;
            // Walking forward, the first fragment of a new tag is where the tag starts.
            TagSpan s{p.start, p.length, p.code, p.id};
            FragmentWalk ext = w;
            for (ext.next(); ext.valid(); ext.next()) {
                const Piece q = ext.piece();
                if (q.id != p.id || q.start > s.end() + 1) break;
                s.length = q.start + q.length - s.start;
            }
            passedId = p.id;
            if (skipSpan.valid() && s == skipSpan) continue;
            if (anyCode || s.code == code) return s;
        }
        return {};
    }
    if (from <= 0) return {};
    FragmentWalk w(doc, from - 1);
    int passedId = 0;
    for (; w.valid(); w.previous()) {
        const Piece p = w.piece();
        if (p.id == 0 || p.id == passedId || p.start >= from) continue;
        const TagSpan s = spanFrom(doc, p);
        passedId = p.id;
        if (s.start >= from) continue;
        if (anyCode || s.code == code) return s;
    }
    return {};
}

std::vector<TagSpan> allTags(const QTextDocument& doc) {
    std::vector<TagSpan> out;
    int lastId = 0;
    for (FragmentWalk w(doc, 0); w.valid(); w.next()) {
        const Piece p = w.piece();
        if (p.id == 0) {
            lastId = 0;
            continue;
        }
        if (p.id == lastId && !out.empty() && p.start <= out.back().end() + 1) {
            out.back().length = p.start + p.length - out.back().start;
            continue;
        }
        out.push_back({p.start, p.length, p.code, p.id});
        lastId = p.id;
    }
    return out;
}

QString tagText(const QTextDocument& doc, const TagSpan& tag) {
    if (!tag.valid()) return {};
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(tag.start);
    c.setPosition(std::min(tag.end(), doc.characterCount() - 1), QTextCursor::KeepAnchor);
    QString s = c.selectedText();
    s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return s;
}

TagSpan setTagText(QTextDocument& doc, const TagSpan& tag, const QString& text) {
    if (!tag.valid() || tag.end() > doc.characterCount() - 1) return {};
    QTextCursor c(&doc);
    c.setPosition(tag.start + 1);
    QTextCharFormat f = c.charFormat();  // the format of the tag's first character
    f.setProperty(kTagIdProperty, tag.id);
    f.setProperty(kTagCodeProperty, tag.code);
    c.setPosition(tag.start);
    c.setPosition(tag.end(), QTextCursor::KeepAnchor);
    c.beginEditBlock();
    c.removeSelectedText();
    QString clean = text;
    clean.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    c.insertText(clean, f);
    c.endEditBlock();
    if (clean.isEmpty()) return {};
    return {tag.start, int(clean.size()), tag.code, tag.id};
}

TagSpan setTagCode(QTextDocument& doc, const TagSpan& tag, int code) {
    if (!tag.valid()) return {};
    code = std::clamp(code, 0, kMaxTagCode);
    QTextCursor c(&doc);
    c.setPosition(tag.start);
    c.setPosition(std::min(tag.end(), doc.characterCount() - 1), QTextCursor::KeepAnchor);
    QTextCharFormat f;
    f.setProperty(kTagCodeProperty, code);
    c.mergeCharFormat(f);
    TagSpan s = tag;
    s.code = code;
    return s;
}

int unusedTagId(const QTextDocument& doc) {
    int top = 0;
    for (FragmentWalk w(doc, 0); w.valid(); w.next()) top = std::max(top, w.piece().id);
    return top + 1;
}

}  // namespace vasora::documents
