#include "text/preg.h"

#include <QHash>
#include <QRegularExpression>

namespace lumorra {

namespace {

// Sources strip the same few tag patterns once per record; compiling (and
// JIT-optimising) a pattern each time would dominate the cut.
const QRegularExpression& compiled(const QString& pattern)
{
    static thread_local QHash<QString, QRegularExpression> cache;
    auto it = cache.constFind(pattern);
    if (it != cache.constEnd())
        return *it;
    if (cache.size() >= 64)
        cache.clear();
    return *cache.insert(pattern, QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption));
}

// Appends `replacement` for one match, expanding the $ references.
void expand(QString& out, QStringView replacement, const QRegularExpressionMatch& m,
            QStringView source, int groups)
{
    const qsizetype n = replacement.size();
    for (qsizetype k = 0; k < n; ++k) {
        const QChar c = replacement[k];
        if (c != u'$' || k + 1 >= n) {
            out.append(c);
            continue;
        }
        const QChar next = replacement[k + 1];
        if (next == u'$') {
            out.append(u'$');
            ++k;
        } else if (next == u'&') {
            out.append(m.capturedView(0));
            ++k;
        } else if (next == u'`') {
            out.append(source.left(m.capturedStart(0)));
            ++k;
        } else if (next == u'\'') {
            out.append(source.mid(m.capturedEnd(0)));
            ++k;
        } else if (next.isDigit() && next.unicode() < 128) {
            const int one = next.unicode() - u'0';
            int group = -1;
            qsizetype used = 1;
            if (k + 2 < n && replacement[k + 2].unicode() >= u'0' && replacement[k + 2].unicode() <= u'9') {
                const int two = one * 10 + (replacement[k + 2].unicode() - u'0');
                if (two >= 1 && two <= groups) {
                    group = two;
                    used = 2;
                }
            }
            if (group < 0 && one >= 1 && one <= groups)
                group = one;
            if (group < 0) {
                out.append(c);   // no such group: the text stays literal
                continue;
            }
            out.append(m.capturedView(group));   // an unmatched group gives ""
            k += used;
        } else {
            out.append(c);
        }
    }
}

} // namespace

QString preg(const QString& source, const QString& pattern, const QString& replacement,
             bool* ok, QString* error)
{
    const QRegularExpression& re = compiled(pattern);
    if (!re.isValid()) {
        if (ok)
            *ok = false;
        if (error)
            *error = re.errorString() + QStringLiteral(" (offset %1)").arg(re.patternErrorOffset());
        return source;
    }
    if (ok)
        *ok = true;
    if (error)
        error->clear();

    const int groups = re.captureCount();
    QRegularExpressionMatchIterator it = re.globalMatch(source);
    if (!it.hasNext())
        return source;
    QString out;
    out.reserve(source.size());
    qsizetype last = 0;
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out.append(QStringView(source).mid(last, m.capturedStart(0) - last));
        expand(out, replacement, m, source, groups);
        last = m.capturedEnd(0);
    }
    out.append(QStringView(source).mid(last));
    return out;
}

} // namespace lumorra
