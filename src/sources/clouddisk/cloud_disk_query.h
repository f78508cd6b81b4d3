#pragma once
// The query side of the cloud-disk search: the input checks, the search
// engine address asked for each ticked service, and how each service
// answered.
#include "net/page_fetcher.h"
#include "sources/clouddisk/cloud_disk_parse.h"

#include <QList>
#include <QString>
#include <QtGlobal>

namespace lumorra::clouddisk {

// The status text that stops a search before anything is cleared, in the
// order the checks are made (keyword present, at least two 16-bit units, at
// least one service ticked); empty when the search may start.
QString inputProblem(const QString& keyword, bool anyTicked);

// "正在为您搜索[" + keyword as typed + "]相关资源..".
QString searchingText(const QString& keyword);

// By the shipped definition: base + "/s?wd=site%3A" + host + "%20" + encodedKeyword + "&pn=" + pageText
// + "&rn=50&ie=utf-8&rsv_page=1". The host and the page number go in as they
// are; the keyword must already be encoded with encodeKeyword.
QString searchUrl(const QString& base, const QString& host, const QString& encodedKeyword,
                  const QString& pageText);
// The same by the definition's search address ({base}, {host}, {keyword},
// {page}).
QString searchUrl(const SiteDefinition& def, const QString& base, const QString& host,
                  const QString& encodedKeyword, const QString& pageText);

// How one ticked service answered a search.
struct ServiceOutcome {
    int service = -1;          // box index
    bool pending = true;       // its page is still on the way
    int rows = 0;              // records its page holds
    qint64 elapsedMs = 0;      // from its request's start to its end
    QString failure;           // why it gave no usable page; empty when it did
};

// The outcome of service `service` whose request ended with `result`. A page
// that arrived with an error status or without a body counts its records
// all the same, and says what was wrong.
ServiceOutcome serviceOutcome(int service, const FetchResult& result);
ServiceOutcome serviceOutcome(const SiteDefinition& def, int service, const FetchResult& result);

// All a search keeps of a service's answer: how it answered and the rows cut
// from its page (none when no body arrived). Cut as soon as the answer is
// in, so the page itself need not wait for its turn in box order.
struct ServiceAnswer {
    ServiceOutcome outcome;
    QList<CloudDiskRow> rows;
};
ServiceAnswer cutServiceAnswer(int service, const FetchResult& result);
ServiceAnswer cutServiceAnswer(const SiteDefinition& def, int service, const FetchResult& result);

// The per-service report shown on Frame5's caption: a rich-text table with
// one line per ticked service in box order – caption, rows, milliseconds,
// failure reason ("等待应答.." while pending). Empty for no services.
QString serviceStatusTable(const QList<ServiceOutcome>& outcomes);

// One service as a plain line: "百度网盘  4个资源  12毫秒" or
// "华为网盘  失败：无法连接到服务器  3毫秒".
QString serviceStatusLine(const ServiceOutcome& outcome);

} // namespace lumorra::clouddisk
