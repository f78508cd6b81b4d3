#pragma once
// Reads a found resource's detail page into its link, with the resolver of
// the first of the row's sources that has one (the eMule detail page to its
// ed2k link, a film page to its qvod link …). One resolve at a time: a new
// one supersedes the running one.
#include <QObject>
#include <QPointer>
#include <QString>

namespace lumorra {

class SourceEngine;
struct MergedRow;

class RowResolve : public QObject {
    Q_OBJECT
public:
    explicit RowResolve(QObject* parent = nullptr);

    // Starts reading `row`'s detail page; `tag` comes back with the answer.
    // False, after saying why in `refusal`, when the row has no detail page
    // or none of its sources a resolver.
    bool start(const MergedRow& row, int tag, QString* refusal);
    void cancel();
    bool isRunning() const;

    static QString noResolverText(); // "该资源的来源没有可解析的详情页"
    static QString noDetailText();   // "该资源没有详情页"
    static QString notFoundText();   // "详情页中没有找到链接"

signals:
    void resolved(int tag, const QString& link);
    void failed(int tag, const QString& reason);

private:
    QPointer<SourceEngine> m_engine;
    int m_tag = -1;
    QString m_link;
};

} // namespace lumorra
