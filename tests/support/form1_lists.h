#pragma once
// A stand-in for the main window where only its result lists matter: the
// twenty lists ListView1 … ListView20 and the status panel, under a widget
// named "Form1". The status line writes to `status` while the stand-in lives.
#include <QWidget>

class QLabel;

namespace lumorra {
class ResultList;
}

namespace lumorra::testing {

class Form1Lists : public QWidget {
public:
    Form1Lists();
    ~Form1Lists() override;

    // ListView<i>, i from 1 to 20.
    ResultList* list(int i);

    QLabel* status = nullptr;
};

} // namespace lumorra::testing
