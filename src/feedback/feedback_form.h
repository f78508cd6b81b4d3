#pragma once
// The feedback form of the about page: the topic guard, the checks, the
// per-run limit, and the send through the mail server named in sites.ini.
// The send runs off the window's thread; CmdSend stays disabled until it
// ends, however it ends.
#include "core/feedback_rules.h"

#include <QObject>
#include <QtGlobal>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace lumorra {

class MailSender;

class FeedbackForm : public QObject {
    Q_OBJECT
public:
    // `page` holds the form's controls under their names.
    explicit FeedbackForm(QWidget* page);
    ~FeedbackForm() override;

    // --- handlers (public so the form can be driven as the user does) ---
    void CmdSend_Click();
    void subject_Click();

    // --- state, for tests ---
    qint16 sentCount() const { return m_sentCount; }
    bool isSending() const;
    // What the form would send now (checks aside).
    FeedbackInput input() const;

signals:
    // A send has ended, CmdSend is enabled again; `ok` when the server took
    // the mail. Not raised for clicks that the checks stopped.
    void sendEnded(bool ok);

private:
    void sendEndedWith(bool ok, const QString& description);
    void focus(FeedbackFocus where);

    QWidget* m_page;
    QComboBox* m_subject = nullptr;
    QPlainTextEdit* m_txtMessage = nullptr;
    QCheckBox* m_replyWantedBox = nullptr;   // Check4
    QRadioButton* m_option5 = nullptr;
    QRadioButton* m_option6 = nullptr;
    QLineEdit* m_contactBox = nullptr;   // Text24
    QPushButton* m_cmdSend = nullptr;
    MailSender* m_sender = nullptr;
    qint16 m_sentCount = 0;
};

} // namespace lumorra
