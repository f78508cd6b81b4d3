#pragma once
// Cover pictures of detail pages: from a local file or from a web address.
#include <QImage>
#include <QString>

#include <functional>

class QObject;

namespace lumorra {

using PictureCallback = std::function<void(const QImage&)>;

// An http:// or https:// address is fetched (a plain GET through the page
// fetcher) and its bytes decoded; a file:// URL or anything else is read as
// a local path. The format is recognised from the content. `onDone` runs
// later on `context` (never inside this call, and not at all once `context`
// is gone) with the picture, or a null QImage when nothing could be loaded
// (unreachable address, missing file, bytes that are no picture).
void LoadPicture(const QString& pathOrUrl, const QObject* context, PictureCallback onDone);

// A local file (or file:// URL) only, at once; null when it cannot be read.
QImage loadLocalPicture(const QString& pathOrUrl);

} // namespace lumorra
