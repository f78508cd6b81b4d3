#include "pages/video/poster.h"

#include <QLabel>
#include <QPixmap>

namespace lumorra {

void showPosterImage(QLabel* box, const QImage& picture)
{
    if (!box)
        return;
    if (picture.isNull()) {
        box->clear();
        return;
    }
    box->setPixmap(QPixmap::fromImage(picture).scaled(box->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

} // namespace lumorra
