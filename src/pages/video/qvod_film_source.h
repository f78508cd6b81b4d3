#pragma once
// QvodFilmSite on tab 0 of SSTab3: channel pages into ListView3 (fetched by
// Command53(3..5), cut by Timer7) and a film's detail page into the poster
// Image2 and the four address boxes Text7, Text9, Text10, Text11.
#include "net/page_fetcher.h"
#include "text/cut.h"

#include <QObject>
#include <QString>
#include <QtGlobal>

class QGroupBox;
class QLabel;
class QLineEdit;
class QTimer;
class QWidget;

namespace lumorra {

class ResultList;

class QvodFilmSource : public QObject {
    Q_OBJECT
public:
    QvodFilmSource(QWidget* form1, QObject* parent);
    ~QvodFilmSource() override;

    // Fetches channel page pageNumber() into ListView3 (the agreement has
    // been checked by the caller).
    void fetchPage();
    void Timer7_Timer();
    void ListView3_DblClick();

    qint16 pageNumber() const { return m_pageNumber; }
    void setPageNumber(qint16 page) { m_pageNumber = page; }
    int rowsLeft() const { return m_rowsLeft; }

    static QString detailFrameCaption();     // "双击列表可解析种子地址"

signals:
    // A channel page has ended: rows listed, or the page did not arrive
    // (the status line says which).
    void listingLoaded();
    // A detail page has ended: boxes filled, or it did not arrive.
    void detailResolved();
    void failed(const QString& reason);

private:
    void releaseTexts();
    void showPoster(const QString& url, quint64 generation);

    QWidget* m_form1;
    ResultList* m_listView3 = nullptr;
    QLabel* m_image2 = nullptr;
    QGroupBox* m_detailFrame = nullptr;
    QLineEdit* m_text7 = nullptr;
    QLineEdit* m_text9 = nullptr;
    QLineEdit* m_text10 = nullptr;
    QLineEdit* m_text11 = nullptr;
    QTimer* m_timer7 = nullptr;

    LatestFetch m_listFetch;
    LatestFetch m_detailFetch;
    qint16 m_pageNumber = 1;       // QvodFilmPageNo
    CutPage m_listPage;            // QvodFilmListPage
    int m_rowsLeft = 0;            // QvodFilmRowsLeft
    int m_releaseHook = -1;
};

} // namespace lumorra
