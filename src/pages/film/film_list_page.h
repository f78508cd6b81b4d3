#pragma once
// SSTab2 page 4, "影视资源②": six category buttons Command14(0..5) of the film
// listing site, the listing ListView5 and the resolved links List3.
#include <QWidget>

class QListWidget;

namespace lumorra {

class ResultList;

class FilmListPage : public QWidget {
    Q_OBJECT
public:
    explicit FilmListPage(QWidget* parent = nullptr);

    static QString categoryCaption(int index);   // caption of Command14(index)

private:
    ResultList* m_filmList = nullptr;    // ListView5
    QListWidget* m_linkList = nullptr;   // List3
};

} // namespace lumorra
