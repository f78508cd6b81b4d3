#include "lists/status_line.h"

#include <QLabel>
#include <QPointer>

namespace lumorra {

namespace {
QPointer<QLabel>& panel()
{
    static QPointer<QLabel> p;
    return p;
}
// Kept as well, so that actions run without a window (tests, early start-up)
// still leave their last text readable.
QString& lastText()
{
    static QString t;
    return t;
}
} // namespace

void StatusLine::attach(QLabel* label)
{
    panel() = label;
    if (label)
        lastText() = label->text();
}

void StatusLine::set(const QString& text)
{
    lastText() = text;
    if (QLabel* l = panel())
        l->setText(text);
}

QString StatusLine::text()
{
    if (QLabel* l = panel())
        return l->text();
    return lastText();
}

} // namespace lumorra
