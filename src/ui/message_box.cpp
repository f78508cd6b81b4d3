#include "ui/message_box.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace lumorra {

QString messageBoxTitle()
{
    return QStringLiteral("Brenn系列软件");
}

int showMessage(QWidget* parent, const QString& text, MessageIcon icon, MessageButtons buttons)
{
    QMessageBox box(parent);
    box.setWindowTitle(messageBoxTitle());
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    // The buttons speak the program's language, whatever the system's is.
    const struct { QMessageBox::StandardButton id; const char* text; } captions[] = {
        {QMessageBox::Ok, "确定"},
        {QMessageBox::Yes, "是(&Y)"},
        {QMessageBox::No, "否(&N)"},
        {QMessageBox::Cancel, "取消"},
    };
    for (const auto& c : captions)
        if (QAbstractButton* b = box.button(c.id))
            b->setText(QString::fromUtf8(c.text));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    const int answer = clicked ? int(box.standardButton(clicked)) : int(QMessageBox::NoButton);
    if (answer == int(QMessageBox::NoButton)) {
        // Dismissed without a button (the box was closed from outside).
        switch (buttons) {
        case MessageButtons::Ok: return QMessageBox::Ok;
        case MessageButtons::YesNo: return QMessageBox::No;
        case MessageButtons::YesNoCancel: return QMessageBox::Cancel;
        }
    }
    return answer;
}

int showInfo(QWidget* parent, const QString& text)
{
    return showMessage(parent, text, MessageIcon::Information, MessageButtons::Ok);
}

int showWarning(QWidget* parent, const QString& text)
{
    return showMessage(parent, text, MessageIcon::Warning, MessageButtons::Ok);
}

int askYesNo(QWidget* parent, const QString& text)
{
    return showMessage(parent, text, MessageIcon::Question, MessageButtons::YesNo);
}

int askYesNoCancel(QWidget* parent, const QString& text, MessageIcon icon)
{
    return showMessage(parent, text, icon, MessageButtons::YesNoCancel);
}

} // namespace lumorra
