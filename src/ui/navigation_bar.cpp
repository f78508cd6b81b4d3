#include "ui/navigation_bar.h"

#include "ui/click_label.h"

#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace lumorra {

namespace {

// Geometry of the bar, in pixels.
constexpr int kSlotLeft = 14;
constexpr int kSlotWidth = 80;
constexpr int kSlotGap = 8;
constexpr int kButtonTop = 20;
constexpr int kButtonHeight = 52;
constexpr int kIconSize = 46;
constexpr int kCaptionTop = kButtonTop + kButtonHeight;
constexpr int kCaptionHeight = 20;
constexpr int kOverlayRise = 10;   // the highlight stands this much above its button
constexpr int kOverlayHeight = kCaptionTop + kCaptionHeight + 4 - (kButtonTop - kOverlayRise);

} // namespace

// One image button of the bar (aicAlphaImage2(i)).
class NavButton : public QWidget {
    Q_OBJECT
public:
    NavButton(int index, NavigationBar::IconPainter icon, QWidget* parent)
        : QWidget(parent), m_index(index), m_paint(std::move(icon))
    {
        setObjectName(QStringLiteral("aicAlphaImage2(%1)").arg(index));
        setMouseTracking(true);
        setAttribute(Qt::WA_Hover, false);
        setFixedSize(kSlotWidth, kButtonHeight);
    }
    int index() const { return m_index; }

signals:
    void pointerOver(int index);

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        if (m_icon.isNull() || !qFuzzyCompare(m_icon.devicePixelRatio(), devicePixelRatioF()))
            m_icon = m_paint(m_index, kIconSize, devicePixelRatioF());
        p.drawPixmap(QPointF((width() - kIconSize) / 2.0, (height() - kIconSize) / 2.0), m_icon);
    }
    void enterEvent(QEnterEvent* e) override
    {
        QWidget::enterEvent(e);
        emit pointerOver(m_index);
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        e->accept();
        emit pointerOver(m_index);
    }

private:
    int m_index;
    NavigationBar::IconPainter m_paint;
    QPixmap m_icon;
};

// The hover highlight (aicAlphaImage3) and the selected-page marker
// (aicAlphaImage4): translucent plates over / under a slot of the bar.
class NavOverlay : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Highlight, Marker };
    NavOverlay(Kind kind, const QString& name, QWidget* parent) : QWidget(parent), m_kind(kind)
    {
        setObjectName(name);
        setFixedSize(kSlotWidth, kOverlayHeight);
        setAttribute(Qt::WA_TranslucentBackground);
        if (kind == Kind::Marker)
            setAttribute(Qt::WA_TransparentForMouseEvents);
        else
            setCursor(Qt::PointingHandCursor);
    }

signals:
    void clicked();
    void releasedOutside();
    void left();

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
        if (m_kind == Kind::Highlight) {
            p.setPen(QPen(QColor(255, 255, 255, 200), 1.2));
            p.setBrush(QColor(255, 255, 255, m_pressed ? 90 : 45));
            p.drawRoundedRect(r, 9, 9);
            p.setPen(QPen(QColor(0, 0, 0, 60), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(r.adjusted(-0.5, -0.5, 0.5, 0.5), 9.5, 9.5);
        } else {
            p.setPen(QPen(QColor(255, 255, 255, 150), 1));
            p.setBrush(QColor(0, 0, 0, 48));
            p.drawRoundedRect(r, 9, 9);
            // Accent line under the caption.
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 220));
            p.drawRoundedRect(QRectF(r.center().x() - 16, r.bottom() - 4, 32, 3), 1.5, 1.5);
        }
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton) {
            m_pressed = true;
            update();
        }
        e->accept();
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() != Qt::LeftButton || !m_pressed)
            return;
        m_pressed = false;
        update();
        if (rect().contains(e->position().toPoint()))
            emit clicked();
        else
            emit releasedOutside();
    }
    void leaveEvent(QEvent* e) override
    {
        QWidget::leaveEvent(e);
        if (!m_pressed)
            emit left();
    }

private:
    Kind m_kind;
    bool m_pressed = false;
};

NavigationBar::NavigationBar(const QStringList& captions, IconPainter icon, const QPixmap& logo, QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Picture4"));
    setAttribute(Qt::WA_StyledBackground);
    setFixedHeight(kHeight);
    setMouseTracking(true);

    // The marker sits under the buttons, the highlight over them.
    m_marker = new NavOverlay(NavOverlay::Kind::Marker, QStringLiteral("aicAlphaImage4"), this);

    for (int i = 0; i < captions.size(); ++i) {
        const int left = kSlotLeft + i * (kSlotWidth + kSlotGap);
        auto* button = new NavButton(i, icon, this);
        button->move(left, kButtonTop);
        button->setToolTip(captions.at(i));
        connect(button, &NavButton::pointerOver, this, &NavigationBar::pointerOverSlot);
        m_buttons << button;

        auto* caption = new QLabel(captions.at(i), this);
        caption->setObjectName(QStringLiteral("Label23(%1)").arg(i));
        caption->setAlignment(Qt::AlignCenter);
        caption->setGeometry(left - 4, kCaptionTop, kSlotWidth + 8, kCaptionHeight);
        caption->setAttribute(Qt::WA_TransparentForMouseEvents);
        QFont f = caption->font();
        f.setBold(true);
        caption->setFont(f);
        m_captions << caption;
    }

    m_highlight = new NavOverlay(NavOverlay::Kind::Highlight, QStringLiteral("aicAlphaImage3"), this);
    m_highlight->hide();
    connect(m_highlight, &NavOverlay::clicked, this, &NavigationBar::highlightClicked);
    connect(m_highlight, &NavOverlay::releasedOutside, this, &NavigationBar::highlightReleasedOutside);
    connect(m_highlight, &NavOverlay::left, this, &NavigationBar::highlightLeft);

    // The first page is the one on show at start.
    moveMarkerTo(0);

    m_logo = new ClickLabel(QString(), this);
    m_logo->setObjectName(QStringLiteral("Image1"));
    m_logo->setPixmap(logo);
    m_logo->setFixedSize(178, 58);
    m_logo->setCursor(Qt::PointingHandCursor);
}

void NavigationBar::showHighlight(int slot)
{
    if (slot < 0 || slot >= m_buttons.size())
        return;
    const NavButton* button = m_buttons[slot];
    m_highlight->move(button->x(), button->y() - kOverlayRise);
    m_highlight->show();
    m_highlight->raise();
}

void NavigationBar::hideHighlight()
{
    m_highlight->hide();
}

bool NavigationBar::isHighlightShown() const
{
    return m_highlight->isVisible();
}

void NavigationBar::setHighlightEnabled(bool enabled)
{
    m_highlight->setEnabled(enabled);
}

bool NavigationBar::isHighlightEnabled() const
{
    return m_highlight->isEnabled();
}

void NavigationBar::moveMarkerTo(int slot)
{
    if (slot < 0 || slot >= m_buttons.size())
        return;
    m_marker->move(m_buttons[slot]->x(), m_buttons[slot]->y() - kOverlayRise);
    m_marker->show();
}

void NavigationBar::moveMarkerToHighlight()
{
    m_highlight->hide();
    m_marker->hide();
    m_marker->move(m_highlight->pos());
    m_marker->show();
}

void NavigationBar::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    m_logo->move(width() - m_logo->width() - 16, (kHeight - m_logo->height()) / 2);
    placeToolArea();
}

void NavigationBar::setToolArea(QWidget* area)
{
    m_toolArea = area;
    if (!area)
        return;
    area->setParent(this);
    placeToolArea();
}

void NavigationBar::placeToolArea()
{
    if (!m_toolArea)
        return;
    constexpr int kMargin = 16;
    const int left = kSlotLeft + int(m_buttons.size()) * (kSlotWidth + kSlotGap) - kSlotGap + kMargin;
    const int room = m_logo->x() - kMargin - left;
    const int width = qMin(room, kToolAreaMaxWidth);
    if (width < m_toolArea->minimumSizeHint().width()) {
        m_toolArea->hide();
        return;
    }
    // Centred in the free room, over the height of the page buttons and captions.
    const int top = kButtonTop - kOverlayRise;
    m_toolArea->setGeometry(left + (room - width) / 2, top, width, kCaptionTop + kCaptionHeight - top);
    m_toolArea->show();
}

} // namespace lumorra

#include "navigation_bar.moc"
