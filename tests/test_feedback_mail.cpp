// The feedback form of the real main window against a real SMTP server
// (aiosmtpd, AUTH required): what a failed check shows, a mail received with
// the exact subject and body, STARTTLS with the certificate checked, a
// refused login, a silent server, a missing [mail] section, and the limit of
// two feedbacks per run; and which connection each Security choice makes,
// so that a password only crosses a plain connection when the user wrote
// Security=none. The slots
// run in order on one window: the sent counter lives for the window's run.
#include "feedback/feedback_form.h"
#include "core/feedback_rules.h"
#include "feedback/mail_sender.h"
#include "lists/status_line.h"
#include "net/site_config.h"
#include "modal_answerer.h"
#include "program_window.h"
#include "smtp_test_server.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace lumorra;
using lumorra::testing::ModalAnswerer;
using lumorra::testing::ProgramWindow;
using lumorra::testing::SmtpTestServer;

namespace {

const QString kFailed = QStringLiteral("反馈失败!错误原因");
const QString kNoStartTls = QStringLiteral("邮件服务器不提供加密连接(STARTTLS),邮件未发送(");

// What the server saw of AUTH.
enum class AuthSeen { None, InPlainText, OverTls };

AuthSeen authSeen(const SmtpTestServer& server)
{
    AuthSeen seen = AuthSeen::None;
    for (const SmtpTestServer::Command& c : server.commands()) {
        if (!c.verb.startsWith("AUTH"))
            continue;
        if (!c.tls)
            return AuthSeen::InPlainText;
        seen = AuthSeen::OverTls;
    }
    return seen;
}

// The headers of a received mail, unfolded, and its body.
QByteArray headerOf(const QByteArray& mail, const QByteArray& name)
{
    const QByteArray head = mail.left(mail.indexOf("\r\n\r\n"));
    const QByteArray unfolded = QByteArray(head).replace("\r\n ", " ");
    for (const QByteArray& line : unfolded.split('\n')) {
        if (line.startsWith(name + ":"))
            return line.mid(name.size() + 1).trimmed();
    }
    return {};
}

QString decodedSubject(const QByteArray& mail)
{
    QByteArray utf8;
    for (const QByteArray& word : headerOf(mail, "Subject").split(' '))
        if (word.startsWith("=?UTF-8?B?") && word.endsWith("?="))
            utf8 += QByteArray::fromBase64(word.mid(10, word.size() - 12));
    return QString::fromUtf8(utf8);
}

QByteArray decodedBody(const QByteArray& mail)
{
    return QByteArray::fromBase64(mail.mid(mail.indexOf("\r\n\r\n") + 4));
}

} // namespace

Q_DECLARE_METATYPE(SmtpTestServer::Mode)
Q_DECLARE_METATYPE(lumorra::MailSecurity)
Q_DECLARE_METATYPE(AuthSeen)

class FeedbackMailTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ProgramWindow> m_window;
    FeedbackForm* m_form = nullptr;
    QComboBox* m_subject = nullptr;
    QPlainTextEdit* m_message = nullptr;
    QCheckBox* m_reply = nullptr;
    QRadioButton* m_qq = nullptr;
    QRadioButton* m_email = nullptr;
    QLineEdit* m_contact = nullptr;
    QPushButton* m_send = nullptr;

    template <typename T>
    T* control(const char* name)
    {
        return m_window->get()->findChild<T*>(QString::fromLatin1(name));
    }

    void fill(int topic, const QString& message, int way = 0, const QString& contact = {})
    {
        m_subject->setCurrentIndex(topic);
        m_message->setPlainText(message);
        m_reply->setChecked(way != 0);
        if (way == 1)
            m_qq->setChecked(true);
        if (way == 2)
            m_email->setChecked(true);
        m_contact->setText(contact);
    }

    // Starts a server of `mode` and points the program's [mail] at it.
    std::unique_ptr<SmtpTestServer> serve(SmtpTestServer::Mode mode)
    {
        auto server = std::make_unique<SmtpTestServer>(mode);
        QString error;
        if (!server->start(&error))
            qFatal("%s", qPrintable(error));
        SiteConfig::current().setMail(server->settings());
        return server;
    }

private slots:
    void initTestCase()
    {
        m_window = std::make_unique<ProgramWindow>();
        QVERIFY(m_window->isValid());
        QVERIFY(m_window->show());
        QVERIFY(m_window->waitUntilUnlocked());
        m_window->get()->findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(7);
        m_window->get()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window->get()));

        m_form = m_window->get()->findChild<FeedbackForm*>();
        m_subject = control<QComboBox>("subject");
        m_message = control<QPlainTextEdit>("txtMessage");
        m_reply = control<QCheckBox>("Check4");
        m_qq = control<QRadioButton>("Option5");
        m_email = control<QRadioButton>("Option6");
        m_contact = control<QLineEdit>("Text24");
        m_send = control<QPushButton>("CmdSend");
        QVERIFY(m_form && m_subject && m_message && m_reply && m_qq && m_email && m_contact && m_send);
        QCOMPARE(m_subject->count(), 11);
    }

    void separatorsCannotBeChosen()
    {
        for (int separator : {2, 9}) {
            m_subject->setCurrentIndex(4);
            m_subject->setCurrentIndex(separator);
            QCOMPARE(m_subject->currentText(), QStringLiteral("产品其他问题咨询"));
        }
    }

    // What each failed check shows and where the focus goes, through the
    // window; nothing is sent (no server is even configured).
    void failedChecksFocusTheirField()
    {
        SiteConfig::current().setMail(MailSettings{});
        QSignalSpy ended(m_form, &FeedbackForm::sendEnded);
        struct Case {
            QString message;
            int way;
            QString contact;
            QString status;
            QWidget* focus;
        };
        const QList<Case> cases = {
            {QString(), 0, {}, QStringLiteral("请输入您要反馈的内容..."), m_message},
            {QStringLiteral("四个字符"), 0, {}, QStringLiteral("请输入大于5小于500个字符的内容..."), m_message},
            {QStringLiteral("hello"), 1, QStringLiteral("12a45"), QStringLiteral("您输入的QQ号码有误!请您检查!"), m_contact},
            {QStringLiteral("hello"), 2, QStringLiteral("a@b.cn"), QStringLiteral("您的E-mail地址输入错误!请您检查!"), m_contact},
        };
        for (const Case& c : cases) {
            fill(0, c.message, c.way, c.contact);
            m_send->setFocus();
            m_send->click();
            QCOMPARE(StatusLine::text(), c.status);
            QTRY_VERIFY(c.focus->hasFocus());
            QVERIFY(m_send->isEnabled());
        }
        QCOMPARE(ended.count(), 0);
        QCOMPARE(m_form->sentCount(), qint16(0));
    }

    void withoutMailServerFailsAtOnce()
    {
        SiteConfig::current().setMail(MailSettings{});
        QSignalSpy ended(m_form, &FeedbackForm::sendEnded);
        fill(0, QStringLiteral("没有配置邮件服务器时的反馈"));
        m_send->click();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).toBool(), false);
        QCOMPARE(StatusLine::text(),
            kFailed + QStringLiteral("未配置邮件服务器(请在sites.ini的[mail]一节填写Host、From和To)"));
        QVERIFY(m_send->isEnabled());
        QCOMPARE(m_form->sentCount(), qint16(0));
    }

    void refusedLoginReportsAndDoesNotCount()
    {
        auto server = serve(SmtpTestServer::Mode::Plain);
        MailSettings wrong = server->settings();
        wrong.password = QStringLiteral("not-the-password");
        SiteConfig::current().setMail(wrong);
        QSignalSpy ended(m_form, &FeedbackForm::sendEnded);
        fill(1, QStringLiteral("密码错误时的反馈"));
        m_send->click();
        QVERIFY(ended.wait(20000));
        QCOMPARE(ended.at(0).at(0).toBool(), false);
        const QString status = StatusLine::text();
        QVERIFY2(status.startsWith(kFailed + QStringLiteral("邮件服务器拒绝登录,帐号或密码有误(")),
                 qPrintable(status));
        QVERIFY(m_send->isEnabled());
        QCOMPARE(m_form->sentCount(), qint16(0));
        QVERIFY(server->received().isEmpty());
    }

    // The account set and Security left out, against a server without TLS:
    // the user reads why nothing went, and the password never left.
    void plainServerWithAccountIsRefused()
    {
        auto server = serve(SmtpTestServer::Mode::Plain);
        MailSettings unwritten = server->settings();
        unwritten.security = MailSecurity::Default;
        SiteConfig::current().setMail(unwritten);
        QSignalSpy ended(m_form, &FeedbackForm::sendEnded);
        fill(0, QStringLiteral("服务器没有加密时的反馈"));
        m_send->click();
        QVERIFY(ended.wait(20000));
        QCOMPARE(ended.at(0).at(0).toBool(), false);
        QVERIFY2(StatusLine::text().startsWith(kFailed + kNoStartTls), qPrintable(StatusLine::text()));
        QVERIFY(m_send->isEnabled());
        QCOMPARE(m_form->sentCount(), qint16(0));
        QVERIFY(authSeen(*server) == AuthSeen::None);
        QVERIFY(server->received().isEmpty());
    }

    // Each Security choice against each kind of server, through the sender
    // itself (the window's counter is kept for the sends below).
    void connectionFollowsSecurity_data()
    {
        using Mode = SmtpTestServer::Mode;
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<MailSecurity>("security");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("reason"); // how the failure reads
        QTest::addColumn<AuthSeen>("auth");

        const QString insecure = QStringLiteral("无法与邮件服务器建立安全连接(");
        QTest::newRow("no TLS, default")
            << Mode::Plain << MailSecurity::Default << false << kNoStartTls << AuthSeen::None;
        QTest::newRow("no TLS, starttls")
            << Mode::Plain << MailSecurity::StartTls << false << kNoStartTls << AuthSeen::None;
        QTest::newRow("no TLS, tls") << Mode::Plain << MailSecurity::Tls << false << insecure
                                     << AuthSeen::None;
        QTest::newRow("no TLS, none")
            << Mode::Plain << MailSecurity::None << true << QString() << AuthSeen::InPlainText;
        QTest::newRow("STARTTLS, default")
            << Mode::StartTls << MailSecurity::Default << true << QString() << AuthSeen::OverTls;
        // none is no TLS at all: this server then takes neither AUTH nor mail.
        QTest::newRow("STARTTLS, none") << Mode::StartTls << MailSecurity::None << false
                                        << QStringLiteral("邮件服务器拒绝了这封邮件(") << AuthSeen::None;
        QTest::newRow("TLS at once, tls")
            << Mode::ImplicitTls << MailSecurity::Tls << true << QString() << AuthSeen::OverTls;
    }

    void connectionFollowsSecurity()
    {
        QFETCH(SmtpTestServer::Mode, mode);
        QFETCH(MailSecurity, security);
        QFETCH(bool, ok);
        QFETCH(QString, reason);
        QFETCH(AuthSeen, auth);

        SmtpTestServer server(mode);
        QString error;
        QVERIFY2(server.start(&error), qPrintable(error));
        MailSettings settings = server.settings();
        settings.security = security;
        MailSender sender;
        QSignalSpy finished(&sender, &MailSender::finished);
        QVERIFY(sender.send(settings, "Subject: security\r\n\r\nbody\r\n"));
        QVERIFY(finished.wait(20000));
        const QString description = finished.at(0).at(1).toString();
        QCOMPARE(finished.at(0).at(0).toBool(), ok);
        QVERIFY2(reason.isEmpty() ? description.isEmpty() : description.startsWith(reason),
            qPrintable(description));
        QVERIFY(authSeen(server) == auth);
        const QList<SmtpTestServer::Mail> mails = server.received();
        QCOMPARE(mails.size(), ok ? 1 : 0);
        if (ok)
            QCOMPARE(mails[0].tls, auth == AuthSeen::OverTls);
    }

    // A server that takes the connection and never answers: the send gives
    // up after its time-out, and the window keeps running meanwhile.
    void silentServerTimesOut()
    {
        auto server = serve(SmtpTestServer::Mode::Silent);
        MailSettings quick = server->settings();
        quick.timeoutMs = 1500;
        SiteConfig::current().setMail(quick);
        QSignalSpy ended(m_form, &FeedbackForm::sendEnded);
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(50);
        fill(0, QStringLiteral("服务器不说话时的反馈"));
        m_send->click();
        QVERIFY(!m_send->isEnabled());
        QVERIFY(m_form->isSending());
        QCOMPARE(StatusLine::text(), QStringLiteral(" 正发送反馈,请稍等.."));
        QVERIFY(ended.wait(20000));
        QVERIFY2(ticks > 5, "the window's event loop stood still during the send");
        QCOMPARE(ended.at(0).at(0).toBool(), false);
        QVERIFY2(StatusLine::text().startsWith(kFailed + QStringLiteral("邮件服务器长时间没有回应(")),
                 qPrintable(StatusLine::text()));
        QVERIFY(m_send->isEnabled());
        QCOMPARE(m_form->sentCount(), qint16(0));
    }

    void sendsTheExactMail()
    {
        auto server = serve(SmtpTestServer::Mode::Plain);
        QSignalSpy ended(m_form, &FeedbackForm::sendEnded);
        // A line that starts with a dot tests the transparency both ways.
        const QString message = QStringLiteral("软件很好用!\n.第二行以点开头\n第三行 – ü 😀");
        fill(1, message, 1, QStringLiteral("12345"));
        m_send->click();
        QVERIFY(!m_send->isEnabled());
        QVERIFY(ended.wait(20000));
        QCOMPARE(ended.at(0).at(0).toBool(), true);
        QCOMPARE(StatusLine::text(), QStringLiteral("反馈成功,感谢您对Tessaly的支持!"));
        QVERIFY(m_send->isEnabled());
        QCOMPARE(m_form->sentCount(), qint16(1));
        // The form keeps its texts.
        QCOMPARE(m_message->toPlainText(), message);

        const QList<SmtpTestServer::Mail> mails = server->received();
        QCOMPARE(mails.size(), 1);
        const SmtpTestServer::Mail& mail = mails[0];
        QCOMPARE(mail.mailFrom, QByteArray("sender@lumorra.test"));
        QCOMPARE(mail.rcptTos, QList<QByteArray>{"service@tessaly.test"});
        QCOMPARE(mail.login, SmtpTestServer::user().toUtf8());
        QVERIFY(!mail.tls);
        QCOMPARE(decodedSubject(mail.content), QStringLiteral("产品建议/意见反馈 - Lumorra"));
        const QByteArray body = QStringLiteral("软件很好用!\r\n.第二行以点开头\r\n第三行 – ü 😀 \r\n"
                                               "----------------------------------------------------\r\n"
                                               "用户QQ联系方式：12345").toUtf8();
        QCOMPARE(decodedBody(mail.content), body);
        QCOMPARE(headerOf(mail.content, "From"), QByteArray("sender@lumorra.test"));
        QCOMPARE(headerOf(mail.content, "To"), QByteArray("service@tessaly.test"));
        QCOMPARE(headerOf(mail.content, "Content-Type"), QByteArray("text/plain; charset=UTF-8"));
        QVERIFY(!headerOf(mail.content, "Date").isEmpty());
        QVERIFY(headerOf(mail.content, "Message-ID").endsWith("@lumorra.test>"));
    }

    void sendsOverStartTls()
    {
        auto server = serve(SmtpTestServer::Mode::StartTls);
        QSignalSpy ended(m_form, &FeedbackForm::sendEnded);
        fill(10, QStringLiteral("通过加密连接发送的反馈"), 2, QStringLiteral("reply@example.cn"));

        // The server's certificate is checked: not trusted, no send.
        MailSettings untrusted = server->settings();
        untrusted.caFile.clear();
        SiteConfig::current().setMail(untrusted);
        m_send->click();
        QVERIFY(ended.wait(20000));
        QCOMPARE(ended.at(0).at(0).toBool(), false);
        QVERIFY2(StatusLine::text().startsWith(kFailed + QStringLiteral("无法与邮件服务器建立安全连接(")),
                 qPrintable(StatusLine::text()));
        QCOMPARE(m_form->sentCount(), qint16(1));
        QVERIFY(server->received().isEmpty());

        ended.clear();
        SiteConfig::current().setMail(server->settings());
        m_send->click();
        QVERIFY(ended.wait(20000));
        QVERIFY2(ended.at(0).at(0).toBool(), qPrintable(StatusLine::text()));
        QCOMPARE(m_form->sentCount(), qint16(2));
        const QList<SmtpTestServer::Mail> mails = server->received();
        QCOMPARE(mails.size(), 1);
        QVERIFY(mails[0].tls);
        QCOMPARE(decodedSubject(mails[0].content), QStringLiteral("广告/合作/代理咨询 - Lumorra"));
        QVERIFY(decodedBody(mails[0].content)
                    .endsWith(QStringLiteral("\r\n用户E-mail联系方式：reply@example.cn").toUtf8()));
    }

    void thirdClickIsRefused()
    {
        auto server = serve(SmtpTestServer::Mode::Plain);
        QSignalSpy ended(m_form, &FeedbackForm::sendEnded);
        ModalAnswerer answerer;
        fill(0, QStringLiteral("第三次反馈"));
        m_send->click();
        QCOMPARE(answerer.texts(),
            QStringList{QStringLiteral("您已反馈过两次!为了防止恶意邮件\r\n \r\n"
                                       "每次只可进行两次反馈,请您重新打开软件即可再次反馈!")});
        QCOMPARE(answerer.titles(), QStringList{QStringLiteral("Brenn系列软件")});
        QCOMPARE(answerer.icons(), QList<QMessageBox::Icon>{QMessageBox::Information});
        QCOMPARE(StatusLine::text(), QStringLiteral("反馈次数超出限制.."));
        QVERIFY(m_send->isEnabled());
        QCOMPARE(ended.count(), 0);
        QCOMPARE(m_form->sentCount(), qint16(2));
        QVERIFY(server->received().isEmpty());
    }

    // Ending the program while a send waits on a silent server: the sender
    // aborts it and lets go, well before the send's own time-out (ten
    // minutes here, beyond the test's limit) and without a late answer.
    void destroyingTheSenderAbortsItsSend()
    {
        auto server = serve(SmtpTestServer::Mode::Silent);
        MailSettings patient = server->settings();
        patient.timeoutMs = 600000;
        auto* sender = new MailSender;
        QSignalSpy finished(sender, &MailSender::finished);
        QVERIFY(sender->send(patient, "Subject: x\r\n\r\nbody\r\n"));
        QVERIFY(sender->isBusy());
        QVERIFY(!sender->send(patient, "second"));   // one send at a time
        delete sender;
        QCOMPARE(finished.count(), 0);
    }

    void cleanupTestCase()
    {
        m_window.reset();
    }
};

QTEST_MAIN(FeedbackMailTest)
#include "test_feedback_mail.moc"
