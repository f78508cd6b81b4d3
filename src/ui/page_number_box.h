#pragma once
// Page-number boxes: Text3, Text4, Text14, Text17, Text20, each fed by one bar
// of the HScroll1 array (index 0..4, range 1..99, start 1).
#include <QWidget>

class QLineEdit;
class QScrollBar;

namespace lumorra {

// What a page box keeps after its text changed to `typed`: "1" when the text
// is exactly "0" or not a number, otherwise the text unchanged.
QString keptPageText(const QString& typed);

class PageNumberBox : public QWidget {
    Q_OBJECT
public:
    // `index` is the bar's index in HScroll1 (0..4); the box gets the name
    // that belongs to it (boxName(index)).
    explicit PageNumberBox(int index, QWidget* parent = nullptr);

    static QString boxName(int index);   // 0 -> "Text3", 1 -> "Text4", …
    static QString barName(int index);   // 0 -> "HScroll1(0)", …

    int index() const { return m_index; }
    QLineEdit* box() const { return m_box; }
    QScrollBar* bar() const { return m_bar; }

private:
    // The bar writes its value into its box.
    void HScroll1_Change();
    // Text3_Change / Text4_Change / …: keeps the box a usable page number.
    void pageText_Change(const QString& text);

    int m_index;
    QLineEdit* m_box;
    QScrollBar* m_bar;
};

} // namespace lumorra
