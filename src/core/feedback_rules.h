#pragma once
// What the feedback form accepts and what the mail it sends says. No
// widgets: the form hands its texts over and shows what comes back.
#include <QString>

namespace lumorra {

// The form as the user left it.
struct FeedbackInput {
    QString topic;          // the text of `subject`
    QString message;        // `txtMessage`, line breaks as CR LF
    bool wantsReply = false;    // Check4
    bool byQQ = false;          // Option5
    bool byEmail = false;       // Option6
    QString contact;            // Text24
};

// Where the focus goes after a failed check.
enum class FeedbackFocus { None, Topic, Message, Contact };

struct FeedbackCheck {
    QString status;                       // empty when every check passed
    FeedbackFocus focus = FeedbackFocus::None;
    bool passed() const { return status.isEmpty(); }
};

// Two feedbacks per run of the program; a third click is refused.
inline constexpr int kFeedbacksPerRun = 2;

// The checks after the per-run limit, in order; the first that fails
// decides. Lengths are counted in 16-bit units of the texts as given.
FeedbackCheck checkFeedback(const FeedbackInput& input);

// The topic followed by " - Lumorra".
QString feedbackSubject(const QString& topic);
// The message, and the way back to the user when a reply is wanted.
QString feedbackBody(const FeedbackInput& input);

// The message box before "反馈次数超出限制..", and the status texts of a send.
QString feedbackLimitMessage();
QString feedbackLimitStatus();
QString feedbackSendingStatus();
QString feedbackSentStatus();
// "反馈失败!错误原因" followed by what went wrong.
QString feedbackFailedStatus(const QString& description);
// What a send without a configured mail server reports.
QString mailNotConfiguredText();

} // namespace lumorra
