#pragma once
// The three keyword searches behind the Command2 button array of the video
// resource page, each bound to its engine: index 0 the torrent index site
// into ListView2, index 1 the torrent RSS feed into ListView4 (both counted,
// then cut and judged on the window's timers), index 2 the film resource
// site into ListView13 (cut in the handler).
#include "sources/engine/source_engine.h"

#include <QObject>
#include <QString>
#include <QtGlobal>

class QLineEdit;
class QWidget;

namespace lumorra {

class CountThenCut;
class EngineBinding;
class TorrentIndexEngine;
class TorrentRssEngine;
class FilmResourceEngine;

class TorrentSearches : public QObject {
    Q_OBJECT
public:
    explicit TorrentSearches(QWidget* form1);

    // --- handlers (public so the window can be driven as the user does) ---
    void Command2_Click(int index);

    // --- state, for tests ---
    bool isSearching(int index) const;
    SourceEngine* engine(int index) const;
    qint16 torrentIndexHits() const;
    qint16 torrentRssHits() const;

signals:
    // Search `index` (0 index site, 1 RSS, 2 film resource) has ended: rows
    // listed, nothing found or failed; its button is enabled again.
    void searchEnded(int index);
    // Its page did not arrive; `reason` is what the status line says.
    void failed(int index, const QString& reason);
    // The page of search `index` (0 or 1) was counted; its cut is pending.
    void pageCounted(int index);

private:
    void ended(int index, const SourceOutcome& outcome);

    QWidget* m_form1;
    TorrentIndexEngine* m_torrentIndex;
    TorrentRssEngine* m_torrentRss;
    FilmResourceEngine* m_filmResource;
    EngineBinding* m_bindings[3] = {};
    QLineEdit* m_keywordBoxes[3] = {};   // Text2, Text8, Text13
    QLineEdit* m_pageBoxes[3] = {};      // Text4, none (a feed has no pages), Text14
};

// Finds the controls, lists and timers under form1 by objectName and wires
// them. The returned object is a child of form1.
TorrentSearches* installTorrentSearches(QWidget* form1);

} // namespace lumorra
