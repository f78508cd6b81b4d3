#include "ui/search_all_box.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>

namespace lumorra {

namespace {
// Below this width the box and the button stand one over the other.
constexpr int kOneRowWidth = 250;
constexpr int kButtonWidth = 84;
constexpr int kNarrowestBox = 110;
} // namespace

SearchAllBox::SearchAllBox(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("searchAllEntry"));
    m_box = new QLineEdit(this);
    m_box->setObjectName(QStringLiteral("searchAllBox"));
    m_box->setPlaceholderText(QStringLiteral("一次搜索全部站点"));
    m_box->setClearButtonEnabled(true);
    m_box->setMinimumWidth(kNarrowestBox);
    m_button = new QPushButton(QStringLiteral("全部搜索"), this);
    m_button->setObjectName(QStringLiteral("searchAllButton"));
    m_button->setMinimumWidth(kButtonWidth);
    m_button->setCursor(Qt::PointingHandCursor);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    // The bar gives the room; the row turns into a column where it is narrow.
    outer->setSizeConstraint(QLayout::SetNoConstraint);
    outer->addStretch(1);
    m_row = new QBoxLayout(QBoxLayout::LeftToRight);
    m_row->setSpacing(6);
    m_row->addWidget(m_box, 1);
    m_row->addWidget(m_button);
    outer->addLayout(m_row);
    outer->addStretch(1);

    connect(m_box, &QLineEdit::returnPressed, this, [this] { emit searchRequested(m_box->text()); });
    connect(m_button, &QPushButton::clicked, this, [this] { emit searchRequested(m_box->text()); });
}

QSize SearchAllBox::minimumSizeHint() const
{
    // The narrow form: the box over the button.
    return {kNarrowestBox, m_box->sizeHint().height() + m_button->sizeHint().height() + m_row->spacing()};
}

void SearchAllBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_row->setDirection(
        event->size().width() >= kOneRowWidth ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
}

} // namespace lumorra
