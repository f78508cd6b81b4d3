#pragma once
// TorrentTagSite on tab 2 of SSTab3: the tag search Command53(15) (the tag
// engine, counted by hx12 and cut on Timer8, its rows put on top of those
// already listed) and the double click on ListView20 that resolves a
// torrent page into its info hash and magnet link (Text23(0), Text23(1)).
#include "sources/engine/pacing.h"
#include "sources/engine/source_engine.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QtGlobal>

class QLineEdit;
class QWidget;

namespace lumorra {

class ResultList;
class TorrentTagEngine;
class TorrentTagResolveEngine;

class TorrentTagSource : public QObject {
    Q_OBJECT
public:
    TorrentTagSource(QWidget* form1, QObject* parent);

    // The agreement has been checked by the caller.
    void search();               // Command53(15)
    void ListView20_DblClick();

    // TorrentTagHits: rows counted and not yet cut, of every search waiting.
    qint16 pendingHits() const;

signals:
    // A tag search has ended: rows listed, nothing found, or failed.
    void searchEnded();
    // The double click has ended: boxes filled, resource gone, or failed.
    void detailResolved();
    void failed(const QString& reason);

private:
    TorrentTagEngine* newSearch();
    void searchFinished(const SourceOutcome& outcome);
    void detailEnded(const SourceOutcome& outcome);

    QWidget* m_form1;
    ResultList* m_resultList = nullptr;   // ListView20
    QLineEdit* m_keywordBox = nullptr;    // Text22
    QLineEdit* m_infoHash = nullptr;      // Text23(0)
    QLineEdit* m_magnet = nullptr;        // Text23(1)

    // The button is never held and no search supersedes another: each one
    // runs on an engine of its own until its page is listed, and searches
    // waiting together are cut in the same tick of Timer8, oldest first.
    QList<QPointer<TorrentTagEngine>> m_searches;
    Pacing m_searchPacing = Pacing::immediate();
    TorrentTagEngine* m_idleSearch = nullptr;
    TorrentTagResolveEngine* m_detail = nullptr;
};

} // namespace lumorra
