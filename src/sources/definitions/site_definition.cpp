#include "sources/definitions/site_definition.h"

#include "net/page_fetcher.h"
#include "text/preg.h"

#include <QStringDecoder>

namespace lumorra {

namespace {

const QString& withBase(const CutStep& step, const QString& base)
{
    return step.usesBase ? step.textFor(base) : step.text;
}

Cut run(Cut c, const QList<CutStep>& steps, qsizetype from, qsizetype i, const QString& base)
{
    for (qsizetype s = from; s < steps.size(); ++s) {
        const CutStep& step = steps.at(s);
        switch (step.op) {
        case CutStep::Op::Piece: c = c.piece(step.text, step.n == 0 ? i : step.n); break;
        case CutStep::Op::UpTo: c = c.upToFirstCharOf(step.text); break;
        case CutStep::Op::Before:
            c = step.text.size() == 1 ? c.before(step.text.at(0)) : c.before(step.text);
            break;
        case CutStep::Op::BeforeIfAny:
            if (c.view().contains(step.text))
                c = c.before(step.text);
            break;
        case CutStep::Op::After: c = c.after(step.text); break;
        case CutStep::Op::Erase:
            c = step.text.size() == 1 ? c.erase(step.text.at(0)) : c.erase(step.text);
            break;
        case CutStep::Op::Replace: c = c.replace(step.text, step.with); break;
        case CutStep::Op::Prefix: c = c.prefix(withBase(step, base)); break;
        case CutStep::Op::Suffix: c = c.suffix(withBase(step, base)); break;
        case CutStep::Op::Trim: c = c.trimSpaces(); break;
        case CutStep::Op::Preg: c = c.rewritten(preg(c.str(), step.text, step.with)); break;
        }
    }
    return c;
}

} // namespace

const QString& CutStep::textFor(const QString& base) const
{
    if (m_boundText.isNull() || m_boundBase != base) {
        m_boundBase = base;
        m_boundText = QString(text).replace(QStringLiteral("{base}"), base);
    }
    return m_boundText;
}

namespace {

const FieldCut& emptyField()
{
    static const FieldCut none;
    return none;
}

} // namespace

QString FieldCut::recordMarker() const
{
    if (!steps.isEmpty() && steps.first().op == CutStep::Op::Piece && steps.first().n == 0)
        return steps.first().text;
    return {};
}

QString FieldCut::cut(const CutPage& page, qsizetype i, const QString& base) const
{
    if (steps.isEmpty())
        return {};
    const CutStep& first = steps.first();
    if (first.op == CutStep::Op::Piece && first.n == 0) {
        // A record without its own piece has no such field, rather than the
        // field of some other record.
        if (!page.hasPiece(first.text, i))
            return {};
        return run(page.piece(first.text, i), steps, 1, i, base).str();
    }
    return run(page.whole(), steps, 0, i, base).str();
}

Cut FieldCut::apply(const Cut& text, qsizetype i, const QString& base) const
{
    return run(text, steps, 0, i, base);
}

QString FieldCut::cutText(const Cut& text, qsizetype i, const QString& base) const
{
    return apply(text, i, base).str();
}

QString SiteDefinition::url(const QString& key, const QHash<QString, QString>& values) const
{
    return fillTemplate(urls.value(key), values);
}

const FieldCut& SiteDefinition::field(const QString& key) const
{
    const auto it = fields.constFind(key);
    return it == fields.constEnd() ? emptyField() : it.value();
}

FetchMode fetchModeOf(const SiteDefinition& definition)
{
    return definition.fetch == QLatin1String("GetBody") ? FetchMode::WithIfModifiedSince : FetchMode::Plain;
}

FetchResult decodedFor(const SiteDefinition& definition, const FetchResult& page)
{
    if (page.body.isEmpty() || !charsetOf(page.contentType).isEmpty()
        || definition.charset.compare(QLatin1String("utf-8"), Qt::CaseInsensitive) == 0)
        return page;
    QStringDecoder decoder(definition.charset.toLatin1().constData());
    if (!decoder.isValid())
        return page;
    FetchResult out = page;
    out.text = decoder.decode(page.body);
    return out;
}

QString fillTemplate(const QString& pattern, const QHash<QString, QString>& values)
{
    QString out;
    out.reserve(pattern.size() + 64);
    qsizetype at = 0;
    while (at < pattern.size()) {
        const qsizetype open = pattern.indexOf(u'{', at);
        if (open < 0)
            break;
        const qsizetype close = pattern.indexOf(u'}', open + 1);
        if (close < 0)
            break;
        const auto it = values.constFind(pattern.mid(open + 1, close - open - 1));
        if (it == values.constEnd()) {
            out += QStringView(pattern).mid(at, open + 1 - at);
            at = open + 1;
            continue;
        }
        out += QStringView(pattern).mid(at, open - at);
        out += it.value();
        at = close + 1;
    }
    out += QStringView(pattern).mid(at);
    return out;
}

} // namespace lumorra
