#include "ui/page_number_box.h"

#include "text/number_text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace lumorra {

namespace {
const char* const kBoxNames[] = {"Text3", "Text4", "Text14", "Text17", "Text20"};
} // namespace

QString keptPageText(const QString& typed)
{
    if (typed == QLatin1String("0") || !isNumericText(typed))
        return QStringLiteral("1");
    return typed;
}

QString PageNumberBox::boxName(int index)
{
    if (index < 0 || index > 4)
        return {};
    return QString::fromLatin1(kBoxNames[index]);
}

QString PageNumberBox::barName(int index)
{
    return QStringLiteral("HScroll1(%1)").arg(index);
}

PageNumberBox::PageNumberBox(int index, QWidget* parent)
    : QWidget(parent), m_index(index)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);

    m_box = new QLineEdit(QStringLiteral("1"), this);
    m_box->setObjectName(boxName(index));
    m_box->setFixedWidth(48);
    m_box->setAlignment(Qt::AlignCenter);

    m_bar = new QScrollBar(Qt::Horizontal, this);
    m_bar->setObjectName(barName(index));
    m_bar->setRange(1, 99);
    m_bar->setValue(1);
    m_bar->setPageStep(10);
    m_bar->setFixedWidth(72);

    row->addWidget(new QLabel(QStringLiteral("请输入页数："), this));
    row->addWidget(m_box);
    row->addWidget(m_bar);

    connect(m_bar, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
    connect(m_box, &QLineEdit::textChanged, this,
            [this](const QString& t) { pageText_Change(t); });
}

void PageNumberBox::HScroll1_Change()
{
    m_box->setText(QString::number(m_bar->value()));
}

void PageNumberBox::pageText_Change(const QString& text)
{
    const QString kept = keptPageText(text);
    // Replacing the text raises this handler once more with "1", which is kept.
    if (kept != text)
        m_box->setText(kept);
}

} // namespace lumorra
