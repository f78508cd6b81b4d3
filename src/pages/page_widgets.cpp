#include "pages/page_widgets.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace lumorra::pageui {

QString arrayName(const QString& array, int index)
{
    return array + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

QPushButton* button(const QString& name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    // Short captions ("下一页") should not give stubby buttons, long ones
    // ("输入地址进行播放") should not touch the button's edges.
    b->setMinimumWidth(qMax(88, b->fontMetrics().horizontalAdvance(caption) + 32));
    return b;
}

QLineEdit* lineEdit(const QString& name, QWidget* parent, const QString& text)
{
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    return e;
}

QLabel* label(const QString& caption, QWidget* parent)
{
    return new QLabel(caption, parent);
}

QGroupBox* frame(const QString& caption, QWidget* parent)
{
    return new QGroupBox(caption, parent);
}

QLineEdit* addCaptionedBox(QBoxLayout* row, const QString& caption, const QString& name,
                           QWidget* parent, const QString& text)
{
    row->addWidget(label(caption, parent));
    QLineEdit* box = lineEdit(name, parent, text);
    row->addWidget(box, 1);
    return box;
}

void addButtonArray(QBoxLayout* row, const QString& array, int first,
                    const QStringList& captions, QWidget* parent)
{
    for (int i = 0; i < captions.size(); ++i)
        row->addWidget(button(arrayName(array, first + i), captions.at(i), parent));
}

QStringList pagingCaptions()
{
    return {QStringLiteral("获取资源"), QStringLiteral("下一页"), QStringLiteral("上一页")};
}

QHBoxLayout* addPagingRow(QBoxLayout* page, const QString& array, int first, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    addButtonArray(row, array, first, pagingCaptions(), parent);
    row->addStretch(1);
    page->addLayout(row);
    return row;
}

QListWidget* addAddressBox(QBoxLayout* page, const QString& caption, const QString& name,
                           QWidget* parent)
{
    auto* box = frame(caption, parent);
    auto* boxLayout = new QVBoxLayout(box);
    auto* list = new QListWidget(box);
    list->setObjectName(name);
    list->setFixedHeight(96);
    boxLayout->addWidget(list);
    page->addWidget(box);
    return list;
}

void tidy(QBoxLayout* layout, bool outer)
{
    if (outer)
        layout->setContentsMargins(8, 8, 8, 8);
    else
        layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
}

QVBoxLayout* pageColumn(QWidget* owner)
{
    auto* column = new QVBoxLayout(owner);
    tidy(column, true);
    return column;
}

} // namespace lumorra::pageui
