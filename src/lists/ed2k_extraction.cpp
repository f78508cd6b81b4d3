#include "lists/ed2k_extraction.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "sources/source_table.h"

#include <QPointer>
#include <QWidget>

namespace lumorra {

namespace {

struct ItemHandler {
    const char* item;
    void (*handler)(QWidget*);
};

const ItemHandler kItems[] = {
    {"kctqzz", &kctqzz_Click}, {"yytqzz", &yytqzz_Click}, {"tqzzrj", &tqzzrj_Click},
    {"tqzzts", &tqzzts_Click}, {"tqzzjy", &tqzzjy_Click}, {"tqzzzh", &tqzzzh_Click},
    {"tqdv", &tqdv_Click},
};

} // namespace

QString ed2kCopiedText()
{
    return QStringLiteral("种子地址已提取并自动复制到剪贴板!");
}

Ed2kExtraction::Ed2kExtraction(QWidget* form1) : QObject(form1), m_form1(form1)
{
    setObjectName(QStringLiteral("Ed2kExtraction"));
    // The resolver reads its page in the fetch handler: it has no timer to pace.
    m_resolver = findSourceEntry(SourceVerb::Resolve, QStringLiteral("ed2k"))->createEngine(Pacing::immediate(), this);
    connect(m_resolver, &SourceEngine::status, this, [](const QString& text) { StatusLine::set(text); });
    connect(m_resolver, &SourceEngine::rows, this, [this](const QList<ListRow>& rows) { m_link += rows; });
    connect(m_resolver, &SourceEngine::finished, this, &Ed2kExtraction::resolved);
}

Ed2kExtraction* Ed2kExtraction::of(QWidget* form1)
{
    if (!form1)
        return nullptr;
    if (auto* existing = form1->findChild<Ed2kExtraction*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new Ed2kExtraction(form1);
}

void Ed2kExtraction::extract(const QString& listName)
{
    ResultList*& list = m_lists[listName];
    if (!list)
        list = findResultList(m_form1, listName);
    QTreeWidgetItem* row = guardedSelection(list);
    if (!row)
        return;
    SourceRequest request;
    request.address = list->cellAt(row, 3);
    if (const QString refusal = m_resolver->refusalOf(request); !refusal.isEmpty()) {
        StatusLine::set(refusal);
        emit extracted(false);
        return;
    }
    // The latest extraction wins: an older page arriving later must not
    // replace the link the user asked for last.
    m_link.clear();
    m_resolver->start(request);
}

void Ed2kExtraction::resolved(const SourceOutcome& outcome)
{
    if (outcome.kind == SourceOutcome::Kind::Superseded || outcome.kind == SourceOutcome::Kind::Cancelled)
        return;
    const QString link = outcome.hasRows() ? m_link.value(0).cell(QStringLiteral("dz")) : QString();
    m_link.clear();
    if (!link.isEmpty()) {
        copyText(link);
        StatusLine::set(ed2kCopiedText());
        emit extracted(true);
        return;
    }
    // The resolver has said why on the status line.
    emit extracted(false);
}

void extractEd2kLink(QWidget* form1, const QString& listName)
{
    if (Ed2kExtraction* extraction = Ed2kExtraction::of(form1))
        extraction->extract(listName);
}

void kctqzz_Click(QWidget* form1) { extractEd2kLink(form1, QStringLiteral("ListView6")); }
void yytqzz_Click(QWidget* form1) { extractEd2kLink(form1, QStringLiteral("ListView7")); }
void tqzzrj_Click(QWidget* form1) { extractEd2kLink(form1, QStringLiteral("ListView8")); }
void tqzzts_Click(QWidget* form1) { extractEd2kLink(form1, QStringLiteral("ListView9")); }
void tqzzjy_Click(QWidget* form1) { extractEd2kLink(form1, QStringLiteral("ListView10")); }
void tqzzzh_Click(QWidget* form1) { extractEd2kLink(form1, QStringLiteral("ListView11")); }
void tqdv_Click(QWidget* form1) { extractEd2kLink(form1, QStringLiteral("ListView15")); }

void installEd2kExtraction(QWidget* form1)
{
    if (!Ed2kExtraction::of(form1))
        return;
    const QPointer<QWidget> owner(form1);
    for (const ItemHandler& it : kItems) {
        auto handler = it.handler;
        bindRowAction(form1, QString::fromLatin1(it.item), [owner, handler] {
            if (owner)
                handler(owner);
        });
    }
}

} // namespace lumorra
