#pragma once
// Shows a detail page's poster in its picture box.
#include <QImage>

class QLabel;

namespace lumorra {

// The picture scaled into the box, keeping its shape; a null picture
// empties the box.
void showPosterImage(QLabel* box, const QImage& picture);

} // namespace lumorra
