#pragma once
// SSTab2 page 3, "影视资源①": film resource search into ListView13; the
// Qvod links of a resolved film land in List2.
#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace lumorra {

class PageNumberBox;
class ResultList;

class FilmResourcePage : public QWidget {
    Q_OBJECT
public:
    explicit FilmResourcePage(QWidget* parent = nullptr);

    // The hint Text13 shows while it holds no keyword.
    static QString keywordHint();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Text13_GotFocus();
    void Text13_LostFocus();

    QLineEdit* m_keywordBox = nullptr;   // Text13
    PageNumberBox* m_pageBox = nullptr;
    QPushButton* m_search = nullptr;      // Command2(2)
    ResultList* m_resultList = nullptr;   // ListView13
    QListWidget* m_linkList = nullptr;    // List2
};

} // namespace lumorra
