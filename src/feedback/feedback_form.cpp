#include "feedback/feedback_form.h"

#include "core/mail_message.h"
#include "feedback/mail_sender.h"
#include "lists/status_line.h"
#include "net/site_config.h"
#include "ui/message_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

namespace lumorra {

namespace {

template <typename T>
T* control(QWidget* page, const char* name)
{
    return page->findChild<T*>(QString::fromLatin1(name));
}

// The separators of the topic list: 17 hyphens, never a topic.
bool isSeparator(const QString& entry)
{
    return !entry.isEmpty() && entry == QString(entry.size(), u'-');
}

} // namespace

FeedbackForm::FeedbackForm(QWidget* page)
    : QObject(page), m_page(page)
{
    m_subject = control<QComboBox>(page, "subject");
    m_txtMessage = control<QPlainTextEdit>(page, "txtMessage");
    m_replyWantedBox = control<QCheckBox>(page, "Check4");
    m_option5 = control<QRadioButton>(page, "Option5");
    m_option6 = control<QRadioButton>(page, "Option6");
    m_contactBox = control<QLineEdit>(page, "Text24");
    m_cmdSend = control<QPushButton>(page, "CmdSend");
    m_sender = new MailSender(this);

    connect(m_sender, &MailSender::finished, this, &FeedbackForm::sendEndedWith);
    if (m_cmdSend)
        connect(m_cmdSend, &QPushButton::clicked, this, &FeedbackForm::CmdSend_Click);
    if (m_subject)
        connect(m_subject, &QComboBox::currentIndexChanged, this, &FeedbackForm::subject_Click);
}

FeedbackForm::~FeedbackForm() = default;

bool FeedbackForm::isSending() const
{
    return m_sender->isBusy();
}

void FeedbackForm::subject_Click()
{
    if (!m_subject)
        return;
    const int position = m_subject->currentIndex();
    if (position >= 0 && isSeparator(m_subject->itemText(position)))
        m_subject->setCurrentIndex(0);
}

FeedbackInput FeedbackForm::input() const
{
    FeedbackInput in;
    in.topic = m_subject ? m_subject->currentText() : QString();
    if (m_txtMessage) {
        // The box keeps line breaks as LF; the mail, and the length the
        // checks count, have CR LF as a multi-line text box gives them.
        in.message = m_txtMessage->toPlainText();
        in.message.replace(u'\n', QStringLiteral("\r\n"));
    }
    in.wantsReply = m_replyWantedBox && m_replyWantedBox->isChecked();
    in.byQQ = m_option5 && m_option5->isChecked();
    in.byEmail = m_option6 && m_option6->isChecked();
    in.contact = m_contactBox ? m_contactBox->text() : QString();
    return in;
}

void FeedbackForm::focus(FeedbackFocus where)
{
    QWidget* target = nullptr;
    switch (where) {
    case FeedbackFocus::None: break;
    case FeedbackFocus::Topic: target = m_subject; break;
    case FeedbackFocus::Message: target = m_txtMessage; break;
    case FeedbackFocus::Contact: target = m_contactBox; break;
    }
    if (target)
        target->setFocus();
}

void FeedbackForm::CmdSend_Click()
{
    if (m_sender->isBusy())
        return;
    if (m_sentCount >= kFeedbacksPerRun) {
        showInfo(m_page->window(), feedbackLimitMessage());
        StatusLine::set(feedbackLimitStatus());
        return;
    }
    const FeedbackInput in = input();
    const FeedbackCheck check = checkFeedback(in);
    if (!check.passed()) {
        StatusLine::set(check.status);
        focus(check.focus);
        return;
    }

    if (m_cmdSend)
        m_cmdSend->setEnabled(false);
    StatusLine::set(feedbackSendingStatus());

    const MailSettings settings = SiteConfig::current().mail();
    if (!settings.isComplete()) {
        // The program has no mailbox of its own to fall back on.
        sendEndedWith(false, mailNotConfiguredText());
        return;
    }
    MailMessage mail;
    mail.from = settings.from;
    mail.to = settings.to;
    mail.subject = feedbackSubject(in.topic);
    mail.body = feedbackBody(in);
    mail.date = QDateTime::currentDateTime();
    mail.messageId = newMessageId(settings.from);
    m_sender->send(settings, composeMail(mail));
}

void FeedbackForm::sendEndedWith(bool ok, const QString& description)
{
    if (ok) {
        StatusLine::set(feedbackSentStatus());
        ++m_sentCount;
    } else {
        StatusLine::set(feedbackFailedStatus(description));
    }
    if (m_cmdSend)
        m_cmdSend->setEnabled(true);
    emit sendEnded(ok);
}

} // namespace lumorra
