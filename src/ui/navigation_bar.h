#pragma once
// The painted navigation bar across the top of the main window (Picture4):
// one image button per page (aicAlphaImage2(i)) with its caption
// (Label23(i)), the hover highlight (aicAlphaImage3) that takes the click,
// the marker under the page on show (aicAlphaImage4) and the maker's logo
// (Image1). The window decides what a click does; the bar only draws and
// reports.
#include <QFrame>
#include <QList>
#include <QPixmap>
#include <QString>

#include <functional>

class QLabel;

namespace lumorra {

class ClickLabel;
class NavButton;
class NavOverlay;

class NavigationBar : public QFrame {
    Q_OBJECT
public:
    using IconPainter = std::function<QPixmap(int slot, int size, qreal devicePixelRatio)>;

    NavigationBar(const QStringList& captions, IconPainter icon, const QPixmap& logo, QWidget* parent);

    static constexpr int kHeight = 100;

    int slotCount() const { return int(m_buttons.size()); }
    // The highlight over slot `slot`, on top of everything in the bar.
    void showHighlight(int slot);
    void hideHighlight();
    bool isHighlightShown() const;
    void setHighlightEnabled(bool enabled);
    bool isHighlightEnabled() const;
    // The marker under slot `slot`.
    void moveMarkerTo(int slot);
    // The marker to where the highlight stands (the button released on it).
    void moveMarkerToHighlight();
    ClickLabel* logo() const { return m_logo; }
    // A widget of the window's own in the free part of the bar, right of the
    // page buttons and left of the logo; it is given that room (up to
    // kToolAreaMaxWidth) as the bar resizes, and hidden while there is too
    // little for its minimum size.
    void setToolArea(QWidget* area);
    QWidget* toolArea() const { return m_toolArea; }
    static constexpr int kToolAreaMaxWidth = 340;

signals:
    void pointerOverSlot(int slot);
    void highlightClicked();
    void highlightReleasedOutside();
    void highlightLeft();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeToolArea();

private:
    QList<NavButton*> m_buttons;
    QList<QLabel*> m_captions;
    NavOverlay* m_highlight = nullptr;
    NavOverlay* m_marker = nullptr;
    ClickLabel* m_logo = nullptr;
    QWidget* m_toolArea = nullptr;
};

} // namespace lumorra
