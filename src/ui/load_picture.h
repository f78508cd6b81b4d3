#pragma once
// Cover pictures of detail pages: from a local file or from a web address.
#include <QImage>
#include <QString>

namespace lumorra {

// An http:// or https:// address is fetched (a plain GET through the page
// fetcher, waiting as every fetch does) and the bytes decoded; a file://
// URL or anything else is read as a local path. The format is recognised
// from the content. Never throws; a null QImage when nothing could be loaded
// (unreachable address, missing file, bytes that are no picture).
QImage LoadPicture(const QString& pathOrUrl);

} // namespace lumorra
