#pragma once
// SSTab4 pages 1 and 2: keyword search on the eMule index site (Text16,
// Text17/HScroll1(3), Command27(12), ListView15) or on the eMule search site
// (Text19, Text20/HScroll1(4), Command27(13), ListView17).
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace lumorra {

class PageNumberBox;
class ResultList;

class EmuleSearchPage : public QWidget {
    Q_OBJECT
public:
    enum class Site { IndexSite, SearchSite };

    explicit EmuleSearchPage(Site site, QWidget* parent = nullptr);

    Site site() const { return m_site; }

private:
    Site m_site;
    QLineEdit* m_keyword = nullptr;      // Text16 / Text19
    PageNumberBox* m_pageBox = nullptr;  // Text17 / Text20
    QPushButton* m_search = nullptr;     // Command27(12) / Command27(13)
    ResultList* m_list = nullptr;        // ListView15 / ListView17
};

} // namespace lumorra
