#include "core/feedback_rules.h"

#include "text/number_text.h"

namespace lumorra {

namespace {

const QString kEnterQQ = QStringLiteral("请输入您的QQ号码..");
const QString kWrongQQ = QStringLiteral("您输入的QQ号码有误!请您检查!");
const QString kEnterEmail = QStringLiteral("请输入您的E-mail地址..");
const QString kWrongEmail = QStringLiteral("您的E-mail地址输入错误!请您检查!");

bool holdsLineBreak(const QString& text)
{
    for (QChar c : text)
        if (c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return true;
    return false;
}

FeedbackCheck fail(const QString& status, FeedbackFocus focus = FeedbackFocus::None)
{
    return FeedbackCheck{status, focus};
}

} // namespace

FeedbackCheck checkFeedback(const FeedbackInput& in)
{
    if (in.topic.isEmpty())
        return fail(QStringLiteral("请输入标题..."), FeedbackFocus::Topic);
    if (in.message.isEmpty())
        return fail(QStringLiteral("请输入您要反馈的内容..."), FeedbackFocus::Message);
    if (in.message.size() < 5 || in.message.size() > 500)
        return fail(QStringLiteral("请输入大于5小于500个字符的内容..."), FeedbackFocus::Message);
    if (!in.wantsReply)
        return {};
    if (!in.byQQ && !in.byEmail)
        return fail(QStringLiteral("请选择您的联系方式的种类"));
    if (in.byQQ) {
        if (in.contact.isEmpty())
            return fail(kEnterQQ, FeedbackFocus::Contact);
        // A line break is no blank to the number test, so it fails here too.
        if (!isNumericText(in.contact))
            return fail(kWrongQQ, FeedbackFocus::Contact);
        if (in.contact.size() < 5)
            return fail(kWrongQQ, FeedbackFocus::Contact);
        return {};
    }
    if (in.contact.isEmpty())
        return fail(kEnterEmail, FeedbackFocus::Contact);
    if (!in.contact.contains(u'@'))
        return fail(kWrongEmail, FeedbackFocus::Contact);
    if (in.contact.size() < 12)
        return fail(kWrongEmail, FeedbackFocus::Contact);
    // An address is one line; anything after a line break would be a second
    // text pasted in under the contact line.
    if (holdsLineBreak(in.contact))
        return fail(kWrongEmail, FeedbackFocus::Contact);
    return {};
}

QString feedbackSubject(const QString& topic)
{
    return topic + QStringLiteral(" - Lumorra");
}

QString feedbackBody(const FeedbackInput& in)
{
    if (!in.wantsReply)
        return in.message;
    return in.message + QStringLiteral(" \r\n") + QString(52, u'-') + QStringLiteral("\r\n")
           + (in.byQQ ? QStringLiteral("用户QQ联系方式：") : QStringLiteral("用户E-mail联系方式："))
           + in.contact;
}

QString feedbackLimitMessage()
{
    return QStringLiteral("您已反馈过两次!为了防止恶意邮件\r\n \r\n"
                          "每次只可进行两次反馈,请您重新打开软件即可再次反馈!");
}

QString feedbackLimitStatus()
{
    return QStringLiteral("反馈次数超出限制..");
}

QString feedbackSendingStatus()
{
    return QStringLiteral(" 正发送反馈,请稍等..");
}

QString feedbackSentStatus()
{
    return QStringLiteral("反馈成功,感谢您对Tessaly的支持!");
}

QString feedbackFailedStatus(const QString& description)
{
    return QStringLiteral("反馈失败!错误原因") + description;
}

QString mailNotConfiguredText()
{
    return QStringLiteral("未配置邮件服务器(请在sites.ini的[mail]一节填写Host、From和To)");
}

} // namespace lumorra
