#include "core/announcements.h"

#include "text/cut.h"

namespace lumorra {

QString announcementField(const QString& text, const QString& key, int number)
{
    if (number < 1)
        return QString();
    return Cut(text).piece(key, number).upToFirstCharOf(u"|").erase(u'|').str();
}

QString announcementColor(const QString& value)
{
    const QString name = Cut(value).trimSpaces().str();
    if (name == QLatin1String("red"))
        return QStringLiteral("#ff0000");
    if (name == QLatin1String("blue"))
        return QStringLiteral("#0000ff");
    if (name == QLatin1String("green"))
        return QStringLiteral("#00ff00");
    return QStringLiteral("#000000");
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
