#pragma once
// Binds one source engine to the window's controls, once: its rows go into
// the list, its status texts onto the status line, its start and end hold
// and give back the button. A page keeps one binding per button.
#include "lists/result_list.h"
#include "sources/engine/source_engine.h"

#include <QAbstractButton>

#include <QObject>
#include <QPointer>

class QWidget;

namespace lumorra {

class Pacing;

// The engines' steps on the window's named timers (Timer3 …), found once.
Pacing windowPacing(QWidget* form1);

class EngineBinding : public QObject {
    Q_OBJECT
public:
    // The binding is a child of `parent`; the engine should be too.
    EngineBinding(SourceEngine* engine, QAbstractButton* button, ResultList* list, QObject* parent);

    SourceEngine* engine() const { return m_engine; }
    ResultList* list() const { return m_list; }

    // As the button's click: a request the engine refuses only puts its
    // reason on the status line (list and button stay as they are);
    // otherwise the list is emptied, the button held and the run started.
    // False when refused.
    bool start(const SourceRequest& request);

    // The cutting step gives the button back as soon as rows come (the
    // counted searches), not only at the end.
    void setReleaseOnRows(bool on) { m_releaseOnRows = on; }
    // Rows are added with the list's painting held (a long page of rows).
    void setHoldPainting(bool on) { m_holdPainting = on; }

signals:
    // A run came to its end: rows, none or failed (never superseded or
    // cancelled: a newer run has the list then). The button is back.
    void ended(const lumorra::SourceOutcome& outcome);

private:
    void addRows(const QList<ListRow>& rows);
    void release();

    SourceEngine* m_engine;
    QPointer<QAbstractButton> m_button;
    QPointer<ResultList> m_list;
    bool m_releaseOnRows = false;
    bool m_holdPainting = false;
};

} // namespace lumorra
