#include "pages/engine_binding.h"

#include "lists/result_list.h"
#include "lists/status_line.h"
#include "sources/engine/pacing.h"

#include <QAbstractButton>
#include <QTimer>
#include <QWidget>

namespace lumorra {

Pacing windowPacing(QWidget* form1)
{
    QPointer<QWidget> window(form1);
    return Pacing::window([window](const QString& name) -> QTimer* {
        return window ? window->findChild<QTimer*>(name) : nullptr;
    });
}

EngineBinding::EngineBinding(SourceEngine* engine, QAbstractButton* button, ResultList* list, QObject* parent)
    : QObject(parent), m_engine(engine), m_button(button), m_list(list)
{
    connect(engine, &SourceEngine::status, this, [](const QString& text) { StatusLine::set(text); });
    connect(engine, &SourceEngine::rows, this, &EngineBinding::addRows);
    connect(engine, &SourceEngine::finished, this, [this](const SourceOutcome& outcome) {
        if (outcome.kind == SourceOutcome::Kind::Superseded || outcome.kind == SourceOutcome::Kind::Cancelled)
            return;
        release();
        emit ended(outcome);
    });
}

bool EngineBinding::start(const SourceRequest& request)
{
    if (const QString refusal = m_engine->refusalOf(request); !refusal.isEmpty()) {
        StatusLine::set(refusal);
        return false;
    }
    if (m_list)
        m_list->clearRows();
    if (m_button)
        m_button->setEnabled(false);
    m_engine->start(request);
    return true;
}

void EngineBinding::addRows(const QList<ListRow>& rows)
{
    if (m_list) {
        if (m_holdPainting)
            m_list->setUpdatesEnabled(false);
        for (const ListRow& row : rows)
            m_list->addRow(row);
        if (m_holdPainting)
            m_list->setUpdatesEnabled(true);
    }
    if (m_releaseOnRows)
        release();
}

void EngineBinding::release()
{
    if (m_button)
        m_button->setEnabled(true);
}

} // namespace lumorra
