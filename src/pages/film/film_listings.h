#pragma once
// The film listing page: the six category buttons Command14(0..5) fill
// ListView5; a double click on a row (or "解析影视种子" in its menu) reads
// the film's detail page and puts its download link into List3. Each button
// runs its category's engine, the row's detail page the film link engine.
#include "sources/engine/source_engine.h"
#include "sources/film/film_list_parse.h"

#include <QList>
#include <QObject>
#include <QString>

#include <array>

class QListWidget;
class QWidget;

namespace lumorra {

class EngineBinding;
class ResultList;

class FilmListings : public QObject {
    Q_OBJECT
public:
    explicit FilmListings(QWidget* form1);

    // The instance installed on form1, or nullptr.
    static FilmListings* of(QWidget* form1);

    void Command14_Click(int index);
    void ListView5_DblClick();   // List3 shows this film's link alone
    void jxyszz_Click();         // "解析影视种子": the link joins List3

    // The engine of category `index`, or the film link engine.
    SourceEngine* listingEngine(int index) const;
    SourceEngine* filmLinkEngine() const { return m_filmLink; }

signals:
    // Category `index` has been loaded (listed, no films, or failed).
    void listingLoaded(int index);
    // A film link resolution has ended: added to List3, or the status line
    // says why not.
    void filmLinkEnded(bool resolved);
    void failed(const QString& reason);

private:
    void listingEnded(int index, const SourceOutcome& outcome);
    void resolveFilmLink(bool replaceLinks);
    void filmLinkDone(const SourceOutcome& outcome);

    ResultList* m_filmList = nullptr;      // ListView5
    QListWidget* m_linkBox = nullptr;      // List3
    std::array<SourceEngine*, kFilmCategoryCount> m_listings{};
    std::array<EngineBinding*, kFilmCategoryCount> m_listingBindings{};
    // A listing replaces the list only once its page came: the rows wait
    // here until the run has ended.
    QList<ListRow> m_listedRows;
    SourceEngine* m_filmLink = nullptr;
    QString m_resolvedLink;
    bool m_replaceLinks = false;
};

// Connects the buttons, the double click and the menu item under form1.
// Calling it again on the same window does nothing.
void installFilmListings(QWidget* form1);

} // namespace lumorra
