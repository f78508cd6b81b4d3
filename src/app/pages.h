#pragma once
// The eight pages of SSTab1. Each page carries every control of its part of
// the window, under the objectName later code looks it up by.
#include <QString>

class QWidget;

namespace lumorra {

inline constexpr int kMainPageCount = 8;

// Builds the page of SSTab1 at index 0..7 with every control of that page,
// nested tab controls SSTab2..SSTab5 included, and every result list of the
// page. nullptr for an index outside 0..7.
QWidget* createMainPage(int index, QWidget* parent);

// "网盘资源", "影音资源", …, "关于程序"; empty outside 0..7.
QString mainPageCaption(int index);

} // namespace lumorra
