#include "core/usage_agreement.h"

#include "core/settings_store.h"

namespace lumorra {

QString usageAgreementText()
{
    return QStringLiteral(
        "用户使用协议：\r\n"
        "\r\n"
        "一，使用者必须为十八周岁以上及八十周岁以下\r\n"
        "二，本功能是因广大网友反馈而增加的功能\r\n"
        "三，获取到的资源均来自网络，与Tessaly、开发者无关\r\n"
        "四，本程序只作为资源的采集、分析、整理\r\n"
        "五，请勿将本程序用于非法用途\r\n"
        "六，如发现用户以本程序危害到我们名声，将立即终止本功能的使用！\r\n"
        "\r\n"
        "是否能保证遵守？");
}

QString agreementRequiredText()
{
    return QStringLiteral("请先阅读使用协议并严格遵守!");
}

bool agreementAccepted()
{
    return SettingsStore().isOn(settingkey::kAgreement);
}

bool acceptAgreement()
{
    return SettingsStore().setValue(settingkey::kAgreement, QStringLiteral("是"));
}

} // namespace lumorra
