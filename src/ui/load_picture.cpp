#include "ui/load_picture.h"

#include "net/page_fetcher.h"

#include <QMetaObject>
#include <QObject>
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

QImage loadLocalPicture(const QString& pathOrUrl)
{
    const QString target = pathOrUrl.trimmed();
    if (target.isEmpty() || isWebAddress(target))
        return {};
    if (target.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        QImage image = fromFile(QUrl(target).toLocalFile());
        if (!image.isNull())
            return image;
    }
    return fromFile(target);
}

void LoadPicture(const QString& pathOrUrl, const QObject* context, PictureCallback onDone)
{
    const QString target = pathOrUrl.trimmed();
    if (isWebAddress(target)) {
        PageFetcher::instance().get(target, FetchMode::Plain, context,
                                    [onDone = std::move(onDone)](const FetchResult& r) {
            onDone(r.body.isEmpty() ? QImage() : QImage::fromData(r.body));
        });
        return;
    }
    // Same as a fetch: the answer comes later, on the context.
    QMetaObject::invokeMethod(const_cast<QObject*>(context), [target, onDone = std::move(onDone)] {
        onDone(loadLocalPicture(target));
    }, Qt::QueuedConnection);
}

} // namespace lumorra
