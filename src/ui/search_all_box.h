#pragma once
// The keyword box and button "全部搜索" in the navigation bar: one keyword,
// every source at once. Side by side where the bar has room, the button
// under the box where it has less.
#include <QWidget>

class QBoxLayout;
class QLineEdit;
class QPushButton;

namespace lumorra {

class SearchAllBox : public QWidget {
    Q_OBJECT
public:
    explicit SearchAllBox(QWidget* parent = nullptr);

    QLineEdit* box() const { return m_box; }
    QPushButton* button() const { return m_button; }

    QSize minimumSizeHint() const override;

signals:
    // Enter in the box or a click on the button, with the box's text.
    void searchRequested(const QString& keyword);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* m_box = nullptr;
    QPushButton* m_button = nullptr;
    QBoxLayout* m_row = nullptr;
};

} // namespace lumorra
