#include "app/announcements.h"

#include "text/cut.h"

namespace lumorra {

QString announcementField(const QString& text, const QString& key, int number)
{
    if (number < 1)
        return QString();
    return Cut(text).piece(key, number).upToFirstCharOf(u"|").erase(u'|').str();
}

QColor announcementColor(const QString& value)
{
    const QString name = Cut(value).trimSpaces().str();
    if (name == QLatin1String("red"))
        return QColor(255, 0, 0);
    if (name == QLatin1String("blue"))
        return QColor(0, 0, 255);
    if (name == QLatin1String("green"))
        return QColor(0, 255, 0);
    return QColor(0, 0, 0);
}

Announcement announcementAt(const QString& text, int number)
{
    Announcement a;
    a.title = announcementField(text, QStringLiteral("title:"), number);
    a.url = Cut(announcementField(text, QStringLiteral("url:"), number)).trimSpaces().str();
    a.color = announcementColor(announcementField(text, QStringLiteral("color:"), number));
    return a;
}

int announcementCount(const QString& text)
{
    const qsizetype keys = findOccurrences(text, u"title:").size();
    return int(qMin<qsizetype>(keys, kMaxAnnouncements));
}

int nextAnnouncementNumber(int current, int count)
{
    if (count <= 0)
        return 0;
    if (current < 1 || current >= count)
        return 1;
    return current + 1;
}

} // namespace lumorra
