#pragma once
// The cutting toolkit: almost every field the program shows is cut out of a
// fetched page in three moves – piece i at a start marker, the text up to an
// end marker, then characters deleted. These two small types let a source
// say exactly that:
//
//     CutPage page(TorrentIndexPage);
//     for (int i = 1; i <= hits; ++i) {
//         name = page.piece(u"<td class=\"name\">", i).upToFirstCharOf(u"</td>").erase(u'<');
//         link = page.piece(u"magnet:", i).upToFirstCharOf(u"\"").erase(u'"').prefix(u"magnet:");
//     }
//
// Vocabulary
//   piece i of a text at marker M – the text after the i-th non-overlapping
//   occurrence of M up to the next occurrence (or the end of the text).
//   Piece 0 is the text before the first occurrence (the whole text when M
//   does not occur). Occurrences are counted from the start of the text,
//   left to right, without overlap, case-sensitively. Piece i exists for
//   0 <= i <= count(M); any other piece is empty and not found.
//
//   An empty marker never occurs: piece 0 is the whole text, every other
//   piece does not exist, and every step that looks for it fails.
//
// Failure
//   No operation throws or asserts on malformed text. A step that does not
//   find what it looks for (a piece that does not exist, a missing end
//   marker or character) yields an empty text and clears found(); the flag
//   stays cleared through the rest of the chain, so a source that must skip
//   a record without its marker can ask once at the end. Text-building steps
//   (prefix, suffix) still apply to an empty result: a missing magnet link
//   becomes "magnet:" with found() == false.
//
// Cost
//   A Cut shares the text it was cut from (QString is implicitly shared) and
//   only narrows a range, so piece/upToFirstCharOf/before/after allocate
//   nothing; erase/replace/prefix allocate only when they change the text.
//   CutPage finds the occurrences of each marker once, on first use, so
//   cutting n records from one page is linear in the page size. A Cut keeps
//   its whole source text alive: convert to QString (str()) to store a field.
//
// Not thread-safe: a CutPage caches lazily from const methods; use one page
// from one thread (all cutting happens on the window's thread).
#include <QList>
#include <QString>
#include <QStringView>

#include <deque>

namespace lumorra {

class Cut {
public:
    Cut() = default;
    Cut(const QString& text) : m_text(text), m_size(text.size()) {}      // NOLINT: implicit on purpose
    Cut(QString&& text) : m_text(std::move(text)), m_size(m_text.size()) {}  // NOLINT
    // Copies the characters: a view may not outlive this Cut.
    explicit Cut(QStringView text) : Cut(text.toString()) {}

    // Piece i of this text at `marker` (see the vocabulary above). Scans from
    // the start on every call; for many pieces of one page use CutPage.
    Cut piece(QStringView marker, qsizetype i) const;

    // The text up to and including the first character of the first
    // occurrence of `marker` ("a</td>b" up to "</td>" gives "a<"). Empty and
    // not found when the marker does not occur.
    Cut upToFirstCharOf(QStringView marker) const;
    // The text before the first occurrence of `c` / `marker`. Empty and not
    // found when it does not occur (never the whole text).
    Cut before(QChar c) const;
    Cut before(QStringView marker) const;
    // The text after the first occurrence of `marker`. Empty and not found
    // when it does not occur.
    Cut after(QStringView marker) const;

    // Every occurrence removed (non-overlapping, left to right). Removing an
    // empty text changes nothing.
    Cut erase(QChar c) const;
    Cut erase(QStringView text) const;
    // Every non-overlapping occurrence of `from`, left to right, replaced by
    // `to`. An empty `from` changes nothing.
    Cut replace(QStringView from, QStringView to) const;
    // `p` put in front of / `s` put after the text (also when it is empty).
    Cut prefix(QStringView p) const;
    Cut suffix(QStringView s) const;
    // Blanks (U+0020 only, not tabs or line ends) removed at both ends.
    Cut trimSpaces() const;
    // `text` in place of this text, found() kept: a step the toolkit has no
    // move for (a regular-expression replace) stays part of the chain.
    Cut rewritten(QString text) const { return withText(std::move(text)); }

    // False once any step of the chain did not find what it looked for.
    bool found() const { return m_found; }
    bool isEmpty() const { return m_size == 0; }
    qsizetype size() const { return m_size; }

    QStringView view() const { return QStringView(m_text).mid(m_begin, m_size); }
    QString str() const;
    operator QString() const { return str(); }  // NOLINT: fields are QString

private:
    friend class CutPage;
    Cut(const QString& text, qsizetype begin, qsizetype size, bool found)
        : m_text(text), m_begin(begin), m_size(size), m_found(found) {}
    Cut sub(qsizetype begin, qsizetype size) const { return Cut(m_text, m_begin + begin, size, m_found); }
    Cut missing() const { return Cut(m_text, m_begin, 0, false); }
    Cut withText(QString text) const;

    QString m_text;          // the shared source (or the text built by a step)
    qsizetype m_begin = 0;   // range of m_text this Cut stands for
    qsizetype m_size = 0;
    bool m_found = true;
};

// A fetched page whose marker occurrences are indexed once per marker.
class CutPage {
public:
    CutPage() = default;
    explicit CutPage(QString text) : m_text(std::move(text)) {}

    const QString& text() const { return m_text; }
    // Replaces the page and forgets every index.
    void setText(QString text);
    void clear() { setText(QString()); }

    // Piece i at `marker`: O(length of the piece) once the marker is indexed.
    Cut piece(QStringView marker, qsizetype i) const;
    bool hasPiece(QStringView marker, qsizetype i) const { return i >= 0 && i <= count(marker); }
    // Number of non-overlapping occurrences of `marker`.
    qsizetype count(QStringView marker) const { return positions(marker).size(); }
    // Start positions (0-based) of the occurrences, in page order.
    QList<qsizetype> occurrences(QStringView marker) const { return positions(marker); }
    Cut whole() const { return Cut(m_text); }

private:
    struct Index {
        QString marker;
        QList<qsizetype> at;
    };
    const QList<qsizetype>& positions(QStringView marker) const;

    QString m_text;
    // Few markers per page, so a linear look-up beats hashing a key per call;
    // a deque keeps references stable while new markers are added.
    mutable std::deque<Index> m_index;
};

// All non-overlapping occurrences of `marker` in `text` (0-based starts).
QList<qsizetype> findOccurrences(QStringView text, QStringView marker);

} // namespace lumorra
