#pragma once
// The magnet search of the page "资源②（支持自定义搜索）": Command21(3) searches
// the channel chosen in Combo1, Command21(4)/(5) page through the results,
// rows go to ListView19. Each channel is its own engine (MagnetSiteA cut on
// Timer24, MagnetSiteB on Timer26 and then each hit's detail page); both
// share the list, so a search on one channel cancels the other's.
#include "sources/engine/source_engine.h"

#include <QObject>
#include <QString>
#include <QtGlobal>

class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace lumorra {

class EngineBinding;
class MagnetSearchEngine;

class MagnetSearch : public QObject {
    Q_OBJECT
public:
    explicit MagnetSearch(QWidget* form1);

    // --- handlers (public so the window can be driven as the user does) ---
    void Command21_Click(int index);   // 3 search, 4 next page, 5 previous page

    // --- state, for tests ---
    qint16 magnetPageNumber() const { return m_pageNumber; }
    void setMagnetPageNumber(qint16 n) { m_pageNumber = n; }
    // Hits counted on the page of the running channel and not yet cut.
    qint16 magnetHits() const;
    bool isSearching() const;
    // The engine of channel 0 (MagnetSiteA) or 1 (MagnetSiteB).
    SourceEngine* engine(int channel) const;

    // Status texts.
    static QString noResultText();   // "抱歉!没有找到任何结果,请更换关键字重试"
    static QString doneText();       // "资源搜索完毕.."

signals:
    // The search has ended: rows listed, refused as a no-result page, or
    // failed (then failed() came first).
    void searchEnded();
    void failed(const QString& reason);

private:
    void search();
    void ended(const SourceOutcome& outcome);
    // The paging buttons work from the first completed cut on.
    void enablePaging();

    QWidget* m_form1;
    QLineEdit* m_keywordBox = nullptr;
    QComboBox* m_channelChoice = nullptr;
    QPushButton* m_searchButton = nullptr;
    QPushButton* m_nextPageButton = nullptr;
    QPushButton* m_previousPageButton = nullptr;
    MagnetSearchEngine* m_engines[2] = {};     // by Combo1 item: MagnetSiteA, MagnetSiteB
    EngineBinding* m_bindings[2] = {};
    qint16 m_pageNumber = 1;
};

// Finds the page's controls and the timers under form1 and wires them. The
// returned object is a child of form1; a second call returns it again.
MagnetSearch* installMagnetSearch(QWidget* form1);

} // namespace lumorra
