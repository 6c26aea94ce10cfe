// The RTF reader's fields and bookmarks: hyperlinks become anchors of their shown result, and
// bookmarks named after a tag code become tags.

#include "documents/RtfReaderImpl.h"
#include "documents/TagBookmarks.h"

namespace vasora::documents::rtf {
namespace {

// The target of a HYPERLINK field: "target", with \l "anchor" for a place inside a document.
QString hyperlinkTarget(const QString& inst) {
    QString target, anchor;
    const QString args = inst.mid(9);
    QStringList parts;
    for (qsizetype i = 0; i < args.size();) {
        if (args[i].isSpace()) {
            ++i;
            continue;
        }
        qsizetype j = i;
        QString part;
        if (args[i] == QLatin1Char('"')) {
            j = args.indexOf(QLatin1Char('"'), i + 1);
            if (j < 0) j = args.size();
            part = args.mid(i + 1, j - i - 1);
            i = j + 1;
        } else {
            while (j < args.size() && !args[j].isSpace()) ++j;
            part = args.mid(i, j - i);
            i = j;
        }
        parts.append(part);
    }
    for (qsizetype k = 0; k < parts.size(); ++k) {
        if (parts[k] == QLatin1String("\\l") && k + 1 < parts.size())
            anchor = parts[++k];
        else if (parts[k].startsWith(QLatin1Char('\\')))
            continue;
        else if (target.isEmpty())
            target = parts[k];
    }
    return anchor.isEmpty() ? target : target + QLatin1Char('#') + anchor;
}

}  // namespace

bool Reader::fieldWord(Word w) {
    switch (w) {
        case wFldinst:
            flush();
            if (m_st.field >= 0) {
                m_st.dest = Dest::FieldInst;
                m_destText.clear();
            } else {
                m_st.dest = Dest::Skip;
            }
            return true;
        case wBkmkstart:
        case wBkmkend:
            flush();
            m_st.dest = w == wBkmkstart ? Dest::BookmarkStart : Dest::BookmarkEnd;
            m_destText.clear();
            return true;
        case wField:
            flush();
            if (m_fields.size() < 100000) {
                m_st.field = int(m_fields.size());
                m_fields.emplace_back();
            }
            return true;
        case wFldrslt: {
            flush();
            m_st.dest = Dest::Normal;
            if (m_st.field < 0 || m_st.field >= int(m_fields.size())) return true;
            const QString inst = m_fields[size_t(m_st.field)].trimmed();
            if (inst.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive))
                m_st.href = hyperlinkTarget(inst);
            return true;
        }
        default:
            return false;
    }
}

void Reader::finishFieldInst() {
    if (m_st.field >= 0 && m_st.field < int(m_fields.size()))
        m_fields[size_t(m_st.field)] = m_destText;
}

void Reader::finishBookmark(bool start) {
    const QString name = m_destText.trimmed();
    m_destText.clear();
    const int code = tagCodeOfBookmark(name);
    if (code < 0) return;
    flush();
    if (start) {
        m_tag = {code, ++m_tagSerial, name};
    } else if (m_tag.code >= 0 && name.compare(m_tag.name, Qt::CaseInsensitive) == 0) {
        m_tag = {};
    }
}

}  // namespace vasora::documents::rtf
