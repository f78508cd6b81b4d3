#include "text/cut.h"

#include <QStringMatcher>

namespace lumorra {

namespace {

// Bounds [begin, end) of piece i, given the occurrence starts of a marker of
// length `len` in a text of length `total`. False when the piece does not exist.
bool pieceBounds(const QList<qsizetype>& at, qsizetype len, qsizetype total, qsizetype i,
                 qsizetype* begin, qsizetype* end)
{
    if (i < 0 || i > at.size())
        return false;
    *begin = i == 0 ? 0 : at[i - 1] + len;
    *end = i < at.size() ? at[i] : total;
    return true;
}

} // namespace

QList<qsizetype> findOccurrences(QStringView text, QStringView marker)
{
    QList<qsizetype> at;
    if (marker.isEmpty() || text.size() < marker.size())
        return at;
    const QStringMatcher matcher(marker, Qt::CaseSensitive);
    for (qsizetype p = matcher.indexIn(text, 0); p >= 0; p = matcher.indexIn(text, p + marker.size()))
        at.append(p);
    return at;
}

// ---- Cut -------------------------------------------------------------------

QString Cut::str() const
{
    if (m_begin == 0 && m_size == m_text.size())
        return m_text;
    return view().toString();
}

Cut Cut::withText(QString text) const
{
    Cut c(std::move(text));
    c.m_found = m_found;
    return c;
}

Cut Cut::piece(QStringView marker, qsizetype i) const
{
    const QStringView v = view();
    if (i < 0)
        return missing();
    if (marker.isEmpty())
        return i == 0 ? *this : missing();
    // Only the occurrences up to the (i+1)-th matter; stop scanning there.
    const QStringMatcher matcher(marker, Qt::CaseSensitive);
    qsizetype begin = 0;
    qsizetype p = matcher.indexIn(v, 0);
    for (qsizetype k = 0; k < i; ++k) {
        if (p < 0)
            return missing();
        begin = p + marker.size();
        p = matcher.indexIn(v, begin);
    }
    const qsizetype end = p < 0 ? v.size() : p;
    return sub(begin, end - begin);
}

Cut Cut::upToFirstCharOf(QStringView marker) const
{
    if (marker.isEmpty())
        return missing();
    const qsizetype p = view().indexOf(marker, 0, Qt::CaseSensitive);
    return p < 0 ? missing() : sub(0, p + 1);
}

Cut Cut::before(QChar c) const
{
    const qsizetype p = view().indexOf(c, 0, Qt::CaseSensitive);
    return p < 0 ? missing() : sub(0, p);
}

Cut Cut::before(QStringView marker) const
{
    if (marker.isEmpty())
        return missing();
    const qsizetype p = view().indexOf(marker, 0, Qt::CaseSensitive);
    return p < 0 ? missing() : sub(0, p);
}

Cut Cut::after(QStringView marker) const
{
    if (marker.isEmpty())
        return missing();
    const qsizetype p = view().indexOf(marker, 0, Qt::CaseSensitive);
    if (p < 0)
        return missing();
    const qsizetype from = p + marker.size();
    return sub(from, m_size - from);
}

Cut Cut::erase(QChar c) const
{
    const QStringView v = view();
    if (!v.contains(c))
        return *this;
    QString out;
    out.reserve(v.size());
    for (QChar ch : v)
        if (ch != c)
            out.append(ch);
    return withText(std::move(out));
}

Cut Cut::erase(QStringView text) const
{
    return replace(text, QStringView());
}

Cut Cut::replace(QStringView from, QStringView to) const
{
    const QStringView v = view();
    if (from.isEmpty())
        return *this;
    qsizetype p = v.indexOf(from, 0, Qt::CaseSensitive);
    if (p < 0)
        return *this;
    QString out;
    out.reserve(v.size());
    qsizetype last = 0;
    while (p >= 0) {
        out.append(v.mid(last, p - last));
        out.append(to);
        last = p + from.size();
        p = v.indexOf(from, last, Qt::CaseSensitive);
    }
    out.append(v.mid(last));
    return withText(std::move(out));
}

Cut Cut::prefix(QStringView p) const
{
    if (p.isEmpty())
        return *this;
    QString out;
    out.reserve(p.size() + m_size);
    out.append(p);
    out.append(view());
    return withText(std::move(out));
}

Cut Cut::suffix(QStringView s) const
{
    if (s.isEmpty())
        return *this;
    QString out;
    out.reserve(m_size + s.size());
    out.append(view());
    out.append(s);
    return withText(std::move(out));
}

Cut Cut::trimSpaces() const
{
    const QStringView v = view();
    qsizetype b = 0;
    qsizetype e = v.size();
    while (b < e && v[b] == u' ')
        ++b;
    while (e > b && v[e - 1] == u' ')
        --e;
    return sub(b, e - b);
}

// ---- CutPage ---------------------------------------------------------------

void CutPage::setText(QString text)
{
    m_text = std::move(text);
    m_index.clear();
}

const QList<qsizetype>& CutPage::positions(QStringView marker) const
{
    for (const Index& idx : m_index)
        if (idx.marker == marker)
            return idx.at;
    m_index.push_back(Index{marker.toString(), findOccurrences(m_text, marker)});
    return m_index.back().at;
}

Cut CutPage::piece(QStringView marker, qsizetype i) const
{
    qsizetype begin = 0;
    qsizetype end = 0;
    // An empty marker indexes as "no occurrence": piece 0 is the whole page.
    if (!pieceBounds(positions(marker), marker.size(), m_text.size(), i, &begin, &end))
        return Cut(m_text, 0, 0, false);
    return Cut(m_text, begin, end - begin, true);
}

} // namespace lumorra
