#pragma once
// "提取种子" on the eMule lists: fetch the selected row's detail page, take
// its first ed2k link and put it on the clipboard.
//
// The page and its link are the ed2k resolver's (the table's "ed2k" engine,
// the one the command line runs); here are the selection, the clipboard and
// the status line.
#include "sources/emule/ed2k_engine.h"
#include "sources/emule/ed2k_link_parse.h"

#include <QHash>
#include <QObject>
#include <QString>

class QWidget;

namespace lumorra {

class ResultList;

// Status text of the action (the others are the resolver's).
QString ed2kCopiedText();                          // "种子地址已提取并自动复制到剪贴板!"

// The action on form1's lists: fetch the selected row's page (its address is
// sub-item 3) and copy the link. The clipboard changes only when a link was
// found; a newer extraction supersedes a pending one.
class Ed2kExtraction : public QObject {
    Q_OBJECT
public:
    // The one under form1, created on first use.
    static Ed2kExtraction* of(QWidget* form1);
    void extract(const QString& listName);

signals:
    // The page was read: a link was copied, or the status line says why not.
    void extracted(bool copied);

private:
    explicit Ed2kExtraction(QWidget* form1);
    void resolved(const SourceOutcome& outcome);

    QWidget* m_form1;
    QHash<QString, ResultList*> m_lists;   // looked up on first use
    SourceEngine* m_resolver;
    QList<ListRow> m_link;                 // the running resolution's row
};

void extractEd2kLink(QWidget* form1, const QString& listName);

// The seven menu items.
void kctqzz_Click(QWidget* form1);   // ListView6
void yytqzz_Click(QWidget* form1);   // ListView7
void tqzzrj_Click(QWidget* form1);   // ListView8
void tqzzts_Click(QWidget* form1);   // ListView9
void tqzzjy_Click(QWidget* form1);   // ListView10
void tqzzzh_Click(QWidget* form1);   // ListView11
void tqdv_Click(QWidget* form1);     // ListView15

// Binds the seven items under form1 (before or after installRowActions).
void installEd2kExtraction(QWidget* form1);

} // namespace lumorra
