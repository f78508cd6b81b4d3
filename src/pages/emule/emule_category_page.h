#pragma once
// One category listing of the eMule index site: a fetch / next / previous
// button trio and its result list. Used for films (SSTab5 page 0), music and
// cartoons (SSTab2 pages 7 and 8), software, books and education (SSTab1
// pages 2 to 4) and data (SSTab4 page 0).
#include <QWidget>

namespace lumorra {

class ResultList;

class EmuleCategoryPage : public QWidget {
    Q_OBJECT
public:
    enum class Category { Films, Music, Software, Books, Education, Data, Cartoons };

    explicit EmuleCategoryPage(Category category, QWidget* parent = nullptr);

    Category category() const { return m_category; }
    // The button array of the category and the index of its "获取资源" button:
    // Films -> ("Command21", 0), Books -> ("Command27", 3), …
    static QString buttonArray(Category category);
    static int firstButton(Category category);
    static QString listName(Category category);   // Films -> "ListView6", …

private:
    Category m_category;
    ResultList* m_list = nullptr;
};

} // namespace lumorra
