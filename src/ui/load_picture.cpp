#include "ui/load_picture.h"

#include "net/page_fetcher.h"

#include <QUrl>

namespace lumorra {

namespace {

bool isWebAddress(const QString& s)
{
    return s.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || s.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

QImage fromFile(const QString& path)
{
    QImage image;
    if (!path.isEmpty())
        image.load(path);
    return image;
}

} // namespace

QImage LoadPicture(const QString& pathOrUrl)
{
    try {
        const QString target = pathOrUrl.trimmed();
        if (target.isEmpty())
            return {};
        if (isWebAddress(target)) {
            const FetchResult r = PageFetcher::instance().fetch(target, FetchMode::Plain);
            if (!r.body.isEmpty()) {
                QImage image = QImage::fromData(r.body);
                if (!image.isNull())
                    return image;
            }
            return {};
        }
        if (target.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
            QImage image = fromFile(QUrl(target).toLocalFile());
            if (!image.isNull())
                return image;
        }
        return fromFile(target);
    } catch (...) {
        return {};
    }
}

} // namespace lumorra
