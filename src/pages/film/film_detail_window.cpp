#include "pages/film/film_detail_window.h"

#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "sources/film/film_detail_parse.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumorra {

namespace {

constexpr QSize kPosterSize(220, 300);

QPlainTextEdit* textBox(const QString& name, QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    return box;
}

QPushButton* windowButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// An empty icon: a null one would let the window take the program's.
QIcon noIcon()
{
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    return QIcon(blank);
}

} // namespace

FilmDetailWindow::FilmDetailWindow() : QDialog(nullptr)
{
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("影片详情"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    resize(820, 560);

    auto* columns = new QHBoxLayout(this);

    auto* frame1 = new QGroupBox(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    auto* posterBox = new QVBoxLayout(frame1);
    m_poster = new QLabel(frame1);
    m_poster->setObjectName(QStringLiteral("Image1"));
    m_poster->setFixedSize(kPosterSize);
    m_poster->setAlignment(Qt::AlignCenter);
    posterBox->addWidget(m_poster);
    posterBox->addStretch(1);
    columns->addWidget(frame1);

    auto* right = new QVBoxLayout;
    auto* frame3 = new QGroupBox(QStringLiteral("影片资料"), this);
    frame3->setObjectName(QStringLiteral("Frame3"));
    auto* descriptionBox = new QVBoxLayout(frame3);
    m_descriptionBox = textBox(QStringLiteral("Text2"), frame3);
    descriptionBox->addWidget(m_descriptionBox);
    right->addWidget(frame3, 3);

    auto* frame2 = new QGroupBox(QStringLiteral("影片简介"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    auto* synopsisBox = new QVBoxLayout(frame2);
    m_synopsisBox = textBox(QStringLiteral("Text1"), frame2);
    synopsisBox->addWidget(m_synopsisBox);
    right->addWidget(frame2, 2);

    auto* buttons = new QHBoxLayout;
    m_firstAddressButton = windowButton(QStringLiteral("Command1"), QStringLiteral("下载地址①"), this);
    m_secondAddressButton = windowButton(QStringLiteral("Command2"), QStringLiteral("下载地址②"), this);
    auto* command3 = windowButton(QStringLiteral("Command3"), QStringLiteral("退出本页"), this);
    buttons->addStretch(1);
    buttons->addWidget(m_firstAddressButton);
    buttons->addWidget(m_secondAddressButton);
    buttons->addWidget(command3);
    right->addLayout(buttons);
    columns->addLayout(right, 1);

    connect(m_firstAddressButton, &QPushButton::clicked, this, &FilmDetailWindow::Command1_Click);
    connect(m_secondAddressButton, &QPushButton::clicked, this, &FilmDetailWindow::Command2_Click);
    connect(command3, &QPushButton::clicked, this, &FilmDetailWindow::Command3_Click);

    // Form_Load
    setWindowIcon(noIcon());
    StatusLine::set(QStringLiteral("影片信息获取完毕..."));
}

void FilmDetailWindow::fill(const FilmDetail& detail)
{
    m_descriptionBox->setPlainText(detail.description);
    m_synopsisBox->setPlainText(detail.synopsis);
    m_a = detail.firstAddress;
    m_b = detail.secondAddress;
    m_firstAddressButton->setEnabled(!m_a.isEmpty());
    m_secondAddressButton->setEnabled(!m_b.isEmpty());
}

void FilmDetailWindow::setPoster(const QImage& image)
{
    if (image.isNull()) {
        m_poster->clear();
        return;
    }
    m_poster->setPixmap(QPixmap::fromImage(image).scaled(kPosterSize, Qt::KeepAspectRatio,
                                                         Qt::SmoothTransformation));
}

void FilmDetailWindow::showOver(QWidget* form1)
{
    if (QWidget* main = form1 ? form1->window() : nullptr) {
        const QRect area = main->frameGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    activateWindow();
}

// The download addresses are the post's: opened only when they are web or
// download links.
void FilmDetailWindow::Command1_Click()
{
    openPageAddress(m_a);
}

void FilmDetailWindow::Command2_Click()
{
    openPageAddress(m_b);
}

void FilmDetailWindow::Command3_Click()
{
    close();
}

} // namespace lumorra
