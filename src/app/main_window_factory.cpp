#include "app/main_window_factory.h"

#include "app/main_window.h"

namespace lumorra {

QWidget* createMainWindow()
{
    return new MainWindow;
}

} // namespace lumorra
