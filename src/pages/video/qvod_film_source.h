#pragma once
// QvodFilmSite on tab 0 of SSTab3: channel pages into ListView3 (fetched by
// Command53(3..5), the qvod-channel engine cutting on Timer7) and a film's
// detail page (the qvod resolver) into the poster Image2 and the four
// address boxes Text7, Text9, Text10, Text11.
#include "sources/engine/source_engine.h"

#include <QObject>
#include <QString>
#include <QtGlobal>

class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace lumorra {

class EngineBinding;
class QvodChannelEngine;
class QvodResolveEngine;
class ResultList;

class QvodFilmSource : public QObject {
    Q_OBJECT
public:
    QvodFilmSource(QWidget* form1, QObject* parent);

    // Fetches channel page pageNumber() into ListView3 (the agreement has
    // been checked by the caller).
    void fetchPage();
    void ListView3_DblClick();

    qint16 pageNumber() const { return m_pageNumber; }
    void setPageNumber(qint16 page) { m_pageNumber = page; }
    int rowsLeft() const;

    static QString detailFrameCaption();     // "双击列表可解析种子地址"

signals:
    // A channel page has ended: rows listed, or the page did not arrive
    // (the status line says which).
    void listingLoaded();
    // A detail page has ended: boxes filled, or it did not arrive.
    void detailResolved();
    void failed(const QString& reason);

private:
    void detailEnded(const SourceOutcome& outcome);

    QWidget* m_form1;
    ResultList* m_resultList = nullptr;   // ListView3
    QLabel* m_poster = nullptr;           // Image2
    QGroupBox* m_detailFrame = nullptr;   // Frame1(19)
    QLineEdit* m_thunderBox = nullptr;    // Text7
    QLineEdit* m_qqBox = nullptr;         // Text9
    QLineEdit* m_baiduBox = nullptr;      // Text10
    QLineEdit* m_qvodBox = nullptr;       // Text11

    QvodChannelEngine* m_channel = nullptr;
    QvodResolveEngine* m_detail = nullptr;
    EngineBinding* m_channelBinding = nullptr;
    qint16 m_pageNumber = 1;              // QvodFilmPageNo
    quint64 m_detailRun = 0;              // the poster of a film chosen since is not shown
};

} // namespace lumorra
