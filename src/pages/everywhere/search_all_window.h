#pragma once
// The window of one keyword searched on every source at once: the merged
// rows as they stream in (any column sorts), one line per source with its
// state, rows, time and reason, a summary, and the row menu (copy the name
// or the link, open the detail page, resolve it into a link, play).
#include <QString>
#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QSortFilterProxyModel;
class QTableView;

namespace lumorra {

class MergedResultsModel;
class RowResolve;
class SearchEverywhere;
class SourceRunsModel;

class SearchAllWindow : public QWidget {
    Q_OBJECT
public:
    explicit SearchAllWindow(QWidget* parent = nullptr);
    ~SearchAllWindow() override;

    // Searches every keyword source for `keyword`, superseding a running
    // search; an empty keyword only says so in the status.
    void search(const QString& keyword);

    SearchEverywhere* everywhere() const { return m_search; }

    // The row menu's actions, on the selected row (the selection guard first).
    void copyName();
    void copyLink();
    void openDetail();
    void resolveRow();
    void playRow();

    // The summary while the sources run and once they have ended.
    static QString searchingText(const QString& keyword, int ended, int sources, int rows);
    static QString finishedText(int rows, int failedSources);

signals:
    // The selected row's link, for the player (a qvod link or a stream).
    void playRequested(const QString& link);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void showMenu(const QPoint& pos);
    void updateStatus();
    void say(const QString& text);
    // The selected row of the results (in the merged order), or -1 after
    // the selection guard has spoken.
    int guardedRow();
    bool playable(int row) const;

    SearchEverywhere* m_search = nullptr;
    MergedResultsModel* m_results = nullptr;
    SourceRunsModel* m_sources = nullptr;
    QSortFilterProxyModel* m_sorted = nullptr;
    RowResolve* m_resolve = nullptr;

    QLineEdit* m_keywordBox = nullptr;
    QLabel* m_status = nullptr;
    QTableView* m_resultsView = nullptr;
    QTableView* m_sourcesView = nullptr;
    QMenu* m_menu = nullptr;
    QAction* m_playAction = nullptr;
};

} // namespace lumorra
