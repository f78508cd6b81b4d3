// Whole cloud-disk search over all 24 services against a local engine that
// answers every request after a fixed delay (200 ms by default, or argv[1]
// ms), compared with one request on its own.
//
// Asking the services one after another would take 24 round-trips; asking
// them together takes as many as the HTTP client's connections per host
// allow (6 → 4 rounds), plus one cutting tick. Printed: one request's time,
// the whole search's time, their ratio (aim: at most 5), and when the first
// rows appeared.
#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "bench_result.h"
#include "bench_support.h"
#include "net/page_fetcher.h"
#include "net/url_encoding.h"
#include "net/site_config.h"
#include "programmable_sites.h"
#include "sources/clouddisk/cloud_disk_hosts.h"
#include "sources/clouddisk/cloud_disk_query.h"
#include "pages/clouddisk/cloud_disk_search.h"
#include "app/pages.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace lumorra;

namespace {

std::string resultPage(int records)
{
    std::string html = "<html><body><script>var r={\"query\":\"q\",\"data\":[";
    for (int i = 0; i < records; ++i)
        html += "{\"title\":\"电影合集 第" + std::to_string(i + 1) + "部_百度网盘\",\"url\":\"http://pan.baidu.com/s/1x"
            + std::to_string(i) + "\"},";
    return html + "]};</script></body></html>";
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Run {
    double wholeMs;
    double firstRowsMs;
    int rows;
};

Run runSearch(CloudDiskSearch* search, QPushButton* command1, ResultList* list)
{
    QEventLoop loop;
    QElapsedTimer clock;
    double firstRows = -1;
    auto rowsSeen = QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, [&] {
        if (firstRows < 0)
            firstRows = double(clock.nsecsElapsed()) / 1e6;
    });
    auto ended = QObject::connect(search, &CloudDiskSearch::searchEnded, &loop, &QEventLoop::quit);
    clock.start();
    command1->click();
    loop.exec();
    const double whole = double(clock.nsecsElapsed()) / 1e6;
    QObject::disconnect(rowsSeen);
    QObject::disconnect(ended);
    return {whole, firstRows, list->rowCount()};
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int delayMs = argc > 1 ? std::atoi(argv[1]) : 200;
    const int rounds = 5;

    ProgrammableSites sites;
    if (!sites.start(0)) {
        std::fprintf(stderr, "cannot start the sample server\n");
        return 1;
    }
    Answer page = Answer::html(resultPage(20));
    page.delayMs = delayMs;
    sites.program("/clouddisk/s", page);
    const QString base = QString::fromStdString(sites.roleUrl("CloudDiskSearch"));
    SiteConfig::current().setBase(QString::fromLatin1(role::CloudDiskSearch), base);

    // The window parts the search works on: page 0, the status line and the
    // two timers with their intervals.
    QWidget form1;
    form1.setObjectName(QStringLiteral("Form1"));
    auto* layout = new QVBoxLayout(&form1);
    layout->addWidget(createMainPage(0, &form1));
    auto* status = new QLabel(&form1);
    layout->addWidget(status);
    StatusLine::attach(status);
    auto* timer17 = new QTimer(&form1);
    timer17->setObjectName(QStringLiteral("Timer17"));
    timer17->setInterval(100);
    auto* timer18 = new QTimer(&form1);
    timer18->setObjectName(QStringLiteral("Timer18"));
    timer18->setInterval(1000);
    installRowActions(&form1);
    CloudDiskSearch* search = installCloudDiskSearch(&form1);

    auto* command1 = form1.findChild<QPushButton*>(QStringLiteral("Command1"));
    auto* text1 = form1.findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* check3 = form1.findChild<QCheckBox*>(QStringLiteral("Check3"));
    ResultList* list = findResultList(&form1, QStringLiteral("ListView1"));
    if (!command1 || !text1 || !check3 || !list || !search) {
        std::fprintf(stderr, "the cloud-disk page is incomplete\n");
        return 1;
    }
    command1->setEnabled(true);
    text1->setText(QStringLiteral("电影"));
    check3->setChecked(true);

    // One request alone, the same page as every service gets.
    const QString one = clouddisk::searchUrl(base, clouddisk::serviceHost(0), encodeKeyword(QStringLiteral("电影")),
                                             QStringLiteral("1"));
    bench::fetchAndWait(one);   // warm-up: connection set-up is not counted
    std::vector<double> single;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        bench::fetchAndWait(one);
        single.push_back(double(t.nsecsElapsed()) / 1e6);
    }

    runSearch(search, command1, list);   // warm-up: opens the client's connections
    std::vector<double> whole, first;
    int rows = 0;
    for (int i = 0; i < rounds; ++i) {
        const Run r = runSearch(search, command1, list);
        whole.push_back(r.wholeMs);
        first.push_back(r.firstRowsMs);
        rows = r.rows;
    }

    const double oneMs = median(single);
    const double wholeMs = median(whole);
    std::printf("services searched:        %d (server answers each after %d ms)\n", clouddisk::kServiceCount, delayMs);
    std::printf("rows listed per search:   %d\n", rows);
    std::printf("one request:              %.1f ms (median of %d)\n", oneMs, rounds);
    std::printf("whole search:             %.1f ms (median of %d; min %.1f, max %.1f)\n", wholeMs, rounds,
                *std::min_element(whole.begin(), whole.end()), *std::max_element(whole.begin(), whole.end()));
    std::printf("first rows shown after:   %.1f ms\n", median(first));
    std::printf("ratio whole / one:        %.2f (aim <= 5; one after another would be ~%d)\n", wholeMs / oneMs,
                clouddisk::kServiceCount);
    bench::result("cloud-disk search, 24 services at 200 ms: whole", wholeMs, 0, "ms",
                  bench::format("/ one request (%.0f ms) = %.2f (aim <= 5)", oneMs, wholeMs / oneMs));
    bench::result("cloud-disk search: first rows shown", median(first), 0, "ms",
                  bench::format("= %.2f x one request", median(first) / oneMs));
    return 0;
}
