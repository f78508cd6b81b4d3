#pragma once
// SSTab1 page 7, "关于程序": the program's information and the feedback form.
#include <QWidget>

class QCheckBox;
class QLabel;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace lumorra {

class ClickLabel;
class FeedbackForm;

class AboutPage : public QWidget {
    Q_OBJECT
public:
    explicit AboutPage(QWidget* parent = nullptr);

    FeedbackForm* feedback() const { return m_feedback; }

private:
    // The reply controls are usable only while a reply is wanted.
    void Check4_Click();

    QLabel* m_versionLabel = nullptr;        // Label18
    QLabel* m_lastUpdatedLabel = nullptr;    // Label31
    QLabel* m_programNameLabel = nullptr;    // Label19
    ClickLabel* m_homePageLink = nullptr;    // Label21
    ClickLabel* m_forumLink = nullptr;       // Label22
    ClickLabel* m_downloadsLink = nullptr;   // Label37(3)
    ClickLabel* m_chatGroupLink = nullptr;   // Label37(4)
    ClickLabel* m_siteStatusLink = nullptr;  // opens the site status

    QComboBox* m_subject = nullptr;
    QPlainTextEdit* m_txtMessage = nullptr;
    QCheckBox* m_replyWantedBox = nullptr;   // Check4
    QRadioButton* m_option5 = nullptr;
    QRadioButton* m_option6 = nullptr;
    QLineEdit* m_contactBox = nullptr;   // Text24
    QPushButton* m_cmdSend = nullptr;
    FeedbackForm* m_feedback = nullptr;
};

} // namespace lumorra
