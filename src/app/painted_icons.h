#pragma once
// The program's pictures, drawn at run time so they stay sharp at any size
// and need no files: the eight navigation buttons, the maker's logo and the
// six share buttons.
#include <QImage>
#include <QPixmap>

namespace lumorra {

// Icon of navigation button `index` (0..7), `size` device-independent
// pixels square.
QPixmap navigationIcon(int index, int size, qreal devicePixelRatio = 1.0);

// The program's icon (the logo's emblem: a magnifier on an orange disc),
// `size` pixels square, for the desktop's icon theme. Drawn without text,
// so it needs no fonts.
QImage programIcon(int size);

// The maker's logo shown top right of the main window.
QPixmap makerLogo(qreal devicePixelRatio = 1.0);

// Icon of share button `index` (0..5: QQ好友, QQ空间, 腾讯微博, 新浪微博, 人人网, 百度贴吧).
QPixmap shareIcon(int index, int size, qreal devicePixelRatio = 1.0);

} // namespace lumorra
