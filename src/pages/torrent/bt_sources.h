#pragma once
// The two browse-only BT sources of the film pages, each bound to its
// engine: the boards of the BT forum (Command3(0..2) into ListView18) and
// the BT film pages of the eMule index site (Commandz3(0..2) into
// ListView16), with the magnet link a double click on ListView16 resolves
// into Text18 and Commandz3(4) plays on demand.
#include "sources/engine/source_engine.h"

#include <QObject>
#include <QString>
#include <QtGlobal>

class QLabel;
class QLineEdit;
class QWidget;

namespace lumorra {

class BtBoardEngine;
class BtFilmsEngine;
class BtMagnetEngine;
class EngineBinding;
class ResultList;

class BtSources : public QObject {
    Q_OBJECT
public:
    explicit BtSources(QWidget* form1);

    // The instance installed on form1, or nullptr.
    static BtSources* of(QWidget* form1);

    void Command3_Click(int index);
    void Commandz3_Click(int index);
    void ListView16_DblClick();
    void Text18_Change();

    int boardNumber() const { return m_boardNumber; }
    int btFilmPageNumber() const { return m_btFilmPage; }
    void setBoardNumber(int board);
    void setBtFilmPageNumber(int page);

signals:
    // A board load has ended: posts listed, none on the page, or failed.
    void boardEnded();
    // A BT film page load has ended, likewise.
    void filmsEnded();
    // A magnet link resolution has ended (resolved, none on the page, or
    // the page did not arrive).
    void magnetEnded(bool resolved);
    // A page did not arrive; `reason` is what the status line says.
    void failed(const QString& reason);
    // "在线播放": the resolved magnet link is to be played (the player
    // listens; the page knows nothing of it).
    void playRequested(const QString& link);

private:
    void loadBoard();
    void loadBtFilms();
    void magnetResolved(const SourceOutcome& outcome);

    QWidget* m_form1;
    ResultList* m_boardPosts = nullptr;   // ListView18
    ResultList* m_btFilms = nullptr;      // ListView16
    QLineEdit* m_filmNameBox = nullptr;   // Text6
    QLineEdit* m_magnetBox = nullptr;     // Text18
    QLabel* m_updatedLabel = nullptr;     // Label38

    BtBoardEngine* m_board;
    BtFilmsEngine* m_films;
    BtMagnetEngine* m_magnet;
    EngineBinding* m_boardBinding;
    EngineBinding* m_filmsBinding;
    // The name of the row whose page is being resolved, whatever the list
    // holds when the page arrives.
    QString m_resolvingName;

    qint16 m_boardNumber = 1;
    qint16 m_btFilmPage = 1;
};

// Connects the buttons, the double click and Text18 under form1. Calling it
// again on the same window does nothing.
void installBtSources(QWidget* form1);

} // namespace lumorra
