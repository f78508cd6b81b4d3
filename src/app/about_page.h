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

    QLabel* m_label18 = nullptr;
    QLabel* m_label31 = nullptr;
    QLabel* m_label19 = nullptr;
    ClickLabel* m_label21 = nullptr;
    ClickLabel* m_label22 = nullptr;
    ClickLabel* m_label37_3 = nullptr;
    ClickLabel* m_label37_4 = nullptr;

    QComboBox* m_subject = nullptr;
    QPlainTextEdit* m_txtMessage = nullptr;
    QCheckBox* m_check4 = nullptr;
    QRadioButton* m_option5 = nullptr;
    QRadioButton* m_option6 = nullptr;
    QLineEdit* m_text24 = nullptr;
    QPushButton* m_cmdSend = nullptr;
    FeedbackForm* m_feedback = nullptr;
};

} // namespace lumorra
