#include "form1_lists.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"

#include <QGridLayout>
#include <QLabel>

namespace lumorra::testing {

Form1Lists::Form1Lists()
{
    setObjectName(QStringLiteral("Form1"));
    auto* layout = new QGridLayout(this);
    for (int i = 1; i <= 20; ++i)
        layout->addWidget(new ResultList(QStringLiteral("ListView%1").arg(i), this), (i - 1) / 5, (i - 1) % 5);
    status = new QLabel(this);
    layout->addWidget(status, 4, 0, 1, 5);
    StatusLine::attach(status);
    // Large enough for every list to show its rows, so a click near a list's
    // top-left corner lands on the first one.
    resize(1600, 1000);
}

Form1Lists::~Form1Lists()
{
    StatusLine::attach(nullptr);
}

ResultList* Form1Lists::list(int i)
{
    return findResultList(this, QStringLiteral("ListView%1").arg(i));
}

} // namespace lumorra::testing
