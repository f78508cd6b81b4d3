// The feedback form's checks in their order, the mail it lays out, and the
// message as it goes over the wire: encoded subject, base64 body, headers
// that no input can split.
#include "core/feedback_rules.h"
#include "core/mail_message.h"

#include <QList>
#include <QRegularExpression>
#include <QTimeZone>
#include <QtTest>

using namespace lumorra;

Q_DECLARE_METATYPE(lumorra::FeedbackInput)

namespace {

const QString kLength = QStringLiteral("请输入大于5小于500个字符的内容...");
const QString kWrongQQ = QStringLiteral("您输入的QQ号码有误!请您检查!");
const QString kWrongEmail = QStringLiteral("您的E-mail地址输入错误!请您检查!");

FeedbackInput form(const QString& message, bool reply = false, int way = 0, const QString& contact = {})
{
    FeedbackInput in;
    in.topic = QStringLiteral("产品其他问题咨询");
    in.message = message;
    in.wantsReply = reply;
    in.byQQ = way == 1;
    in.byEmail = way == 2;
    in.contact = contact;
    return in;
}

// The headers of a composed message, unfolded, by name; and its body.
struct Parsed {
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    QByteArray header(const QByteArray& name) const
    {
        for (const auto& h : headers)
            if (h.first.compare(name, Qt::CaseInsensitive) == 0)
                return h.second;
        return {};
    }
};

Parsed parse(const QByteArray& message)
{
    Parsed p;
    const qsizetype split = message.indexOf("\r\n\r\n");
    const QList<QByteArray> lines = message.left(split).split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith(' ') && !p.headers.isEmpty()) {
            p.headers.last().second += line;
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        p.headers.append({line.left(colon), line.mid(colon + 1).trimmed()});
    }
    p.body = message.mid(split + 4);
    return p;
}

// The text of "=?UTF-8?B?…?=" words separated by blanks. Each word is
// decoded on its own, as mail readers do: a character split between two
// words would come out as replacement characters.
QString decodeWords(const QByteArray& value)
{
    QString text;
    for (const QByteArray& word : value.split(' ')) {
        if (word.isEmpty())
            continue;
        if (!word.startsWith("=?UTF-8?B?") || !word.endsWith("?="))
            return QStringLiteral("<not an encoded-word: %1>").arg(QString::fromLatin1(word));
        text += QString::fromUtf8(QByteArray::fromBase64(word.mid(10, word.size() - 12)));
    }
    return text;
}

} // namespace

class FeedbackRulesTest : public QObject {
    Q_OBJECT
private slots:
    void checksRunInOrder_data();
    void checksRunInOrder();
    void mailLayout();
    void subjectSurvivesEncodingAndFolding();
    void bodyGoesAsBase64OfCrLfLines();
    void headersHoldNoLineBreakFromInput();
    void dateIsInEnglishWithOffset();
};

void FeedbackRulesTest::checksRunInOrder_data()
{
    QTest::addColumn<FeedbackInput>("input");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("focus");

    const int none = int(FeedbackFocus::None), topic = int(FeedbackFocus::Topic),
              message = int(FeedbackFocus::Message), contact = int(FeedbackFocus::Contact);
    const QString ok;
    FeedbackInput noTopic = form(QString());
    noTopic.topic.clear();
    QTest::newRow("no topic comes before no message") << noTopic << QStringLiteral("请输入标题...") << topic;
    QTest::newRow("no message") << form({}) << QStringLiteral("请输入您要反馈的内容...") << message;
    QTest::newRow("4 characters") << form(QStringLiteral("四个字符")) << kLength << message;
    QTest::newRow("5 characters") << form(QStringLiteral("五个字符了")) << ok << none;
    QTest::newRow("500 characters") << form(QString(500, u'字')) << ok << none;
    QTest::newRow("501 characters") << form(QString(501, u'字')) << kLength << message;
    QTest::newRow("no reply: contact not looked at") << form(QStringLiteral("hello"), false, 0, QStringLiteral("x"))
                                                     << ok << none;
    QTest::newRow("reply, no way chosen") << form(QStringLiteral("hello"), true, 0)
                                          << QStringLiteral("请选择您的联系方式的种类") << none;
    QTest::newRow("QQ empty") << form(QStringLiteral("hello"), true, 1) << QStringLiteral("请输入您的QQ号码..")
                              << contact;
    QTest::newRow("QQ 12a45 not numeric") << form(QStringLiteral("hello"), true, 1, QStringLiteral("12a45"))
                                          << kWrongQQ << contact;
    QTest::newRow("QQ 1234 too short") << form(QStringLiteral("hello"), true, 1, QStringLiteral("1234"))
                                       << kWrongQQ << contact;
    QTest::newRow("QQ 12345") << form(QStringLiteral("hello"), true, 1, QStringLiteral("12345")) << ok << none;
    QTest::newRow("QQ with a line break") << form(QStringLiteral("hello"), true, 1, QStringLiteral("12345\r\n6"))
                                          << kWrongQQ << contact;
    QTest::newRow("e-mail empty") << form(QStringLiteral("hello"), true, 2)
                                  << QStringLiteral("请输入您的E-mail地址..") << contact;
    QTest::newRow("e-mail 14 without @") << form(QStringLiteral("hello"), true, 2, QStringLiteral("abcexample.com"))
                                         << kWrongEmail << contact;
    QTest::newRow("e-mail 6 with @") << form(QStringLiteral("hello"), true, 2, QStringLiteral("a@b.cn"))
                                     << kWrongEmail << contact;
    QTest::newRow("e-mail 14 with @") << form(QStringLiteral("hello"), true, 2, QStringLiteral("abc@example.cn"))
                                      << ok << none;
    QTest::newRow("e-mail with a line break")
        << form(QStringLiteral("hello"), true, 2, QStringLiteral("abc@example.cn\nBcc: x@y.z")) << kWrongEmail
        << contact;
}

void FeedbackRulesTest::checksRunInOrder()
{
    QFETCH(FeedbackInput, input);
    QFETCH(QString, status);
    QFETCH(int, focus);
    const FeedbackCheck check = checkFeedback(input);
    QCOMPARE(check.status, status);
    QCOMPARE(int(check.focus), focus);
    QCOMPARE(check.passed(), status.isEmpty());
}

void FeedbackRulesTest::mailLayout()
{
    QCOMPARE(feedbackSubject(QStringLiteral("产品建议/意见反馈")), QStringLiteral("产品建议/意见反馈 - Lumorra"));

    const QString message = QStringLiteral("第一行\r\n第二行");
    QCOMPARE(feedbackBody(form(message)), message);
    const QString rule = QStringLiteral("\r\n----------------------------------------------------\r\n");
    QCOMPARE(rule.size(), 56);
    QCOMPARE(feedbackBody(form(message, true, 1, QStringLiteral("12345"))),
             message + u' ' + rule + QStringLiteral("用户QQ联系方式：12345"));
    QCOMPARE(feedbackBody(form(message, true, 2, QStringLiteral("abc@example.cn"))),
             message + u' ' + rule + QStringLiteral("用户E-mail联系方式：abc@example.cn"));

    QCOMPARE(feedbackLimitMessage(),
             QStringLiteral("您已反馈过两次!为了防止恶意邮件\r\n \r\n每次只可进行两次反馈,请您重新打开软件即可再次反馈!"));
    QCOMPARE(feedbackFailedStatus(QStringLiteral("X")), QStringLiteral("反馈失败!错误原因X"));
}

void FeedbackRulesTest::subjectSurvivesEncodingAndFolding()
{
    // Short and long subjects, a character outside the 16-bit range among
    // them: every word and line stays within its limit, and the words
    // decode to the subject exactly.
    const QList<QString> subjects = {
        QStringLiteral("产品建议/意见反馈 - Lumorra"),
        QString(40, u'资') + QStringLiteral("😀") + QString(40, u'源') + QStringLiteral(" - Lumorra"),
        QStringLiteral("plain ascii"),
        QString(),
    };
    for (const QString& subject : subjects) {
        MailMessage mail;
        mail.from = QStringLiteral("a@b.test");
        mail.to = QStringLiteral("c@d.test");
        mail.subject = subject;
        mail.date = QDateTime::currentDateTime();
        const QByteArray raw = composeMail(mail);
        for (const QByteArray& line : raw.split('\n'))
            QVERIFY2(line.size() <= 77, line.constData());   // 76 and the CR
        const QByteArray value = parse(raw).header("Subject");
        for (const QByteArray& word : value.split(' '))
            QVERIFY2(word.size() <= 75, word.constData());
        QCOMPARE(decodeWords(value), subject);
    }
}

void FeedbackRulesTest::bodyGoesAsBase64OfCrLfLines()
{
    MailMessage mail;
    mail.from = QStringLiteral("a@b.test");
    mail.to = QStringLiteral("c@d.test");
    mail.subject = QStringLiteral("s");
    mail.date = QDateTime::currentDateTime();
    // 500 characters on one line are 1500 bytes in UTF-8: more than an SMTP
    // line may hold, unless encoded. Lone LF and CR become CR LF.
    mail.body = QString(500, u'长') + QStringLiteral("\n.dot line\rlast");
    const QByteArray raw = composeMail(mail);
    const Parsed p = parse(raw);
    QCOMPARE(p.header("Content-Type"), QByteArray("text/plain; charset=UTF-8"));
    QCOMPARE(p.header("Content-Transfer-Encoding"), QByteArray("base64"));
    QCOMPARE(p.header("MIME-Version"), QByteArray("1.0"));
    QVERIFY(p.body.endsWith("\r\n"));
    for (const QByteArray& line : p.body.split('\n'))
        QVERIFY(line.size() <= 77);
    QCOMPARE(QByteArray::fromBase64(p.body),
             (QString(500, u'长') + QStringLiteral("\r\n.dot line\r\nlast")).toUtf8());
}

void FeedbackRulesTest::headersHoldNoLineBreakFromInput()
{
    MailMessage mail;
    mail.from = QStringLiteral("a@b.test\r\nBcc: evil@x.test");
    mail.to = QStringLiteral("c@d.test\nX-Injected: 1");
    mail.subject = QStringLiteral("topic\r\nBcc: evil@x.test");
    mail.date = QDateTime::currentDateTime();
    mail.messageId = newMessageId(QStringLiteral("a@b.test"));
    const Parsed p = parse(composeMail(mail));
    QStringList names;
    for (const auto& h : p.headers)
        names << QString::fromLatin1(h.first);
    QCOMPARE(names, (QStringList{"Date", "From", "To", "Subject", "Message-ID", "MIME-Version",
                                 "Content-Type", "Content-Transfer-Encoding"}));
    QCOMPARE(decodeWords(p.header("Subject")), mail.subject);
    QVERIFY(QRegularExpression(QStringLiteral("^<[0-9a-f.]+@b\\.test>$"))
                .match(QString::fromLatin1(p.header("Message-ID")))
                .hasMatch());
    QVERIFY(newMessageId(QStringLiteral("a@b.test")) != newMessageId(QStringLiteral("a@b.test")));
}

void FeedbackRulesTest::dateIsInEnglishWithOffset()
{
    const QDateTime east(QDate(2014, 7, 1), QTime(9, 5, 0), QTimeZone(8 * 3600));
    QCOMPARE(mailDate(east), QByteArray("Tue, 01 Jul 2014 09:05:00 +0800"));
    const QDateTime west(QDate(2014, 12, 28), QTime(23, 59, 7), QTimeZone(-(3 * 3600 + 1800)));
    QCOMPARE(mailDate(west), QByteArray("Sun, 28 Dec 2014 23:59:07 -0330"));
}

QTEST_GUILESS_MAIN(FeedbackRulesTest)
#include "test_feedback_rules.moc"
