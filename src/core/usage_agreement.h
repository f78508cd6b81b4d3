#pragma once
// The usage agreement of the online-video page: its text, the refusal shown
// while it is not accepted, and whether the settings say it was accepted.
// Shared by the window's agreement box and the command line.
#include <QString>

namespace lumorra {

// The agreement, lines separated by CR LF, ending in the question.
QString usageAgreementText();
// "请先阅读使用协议并严格遵守!"
QString agreementRequiredText();
// The settings file records the agreement as accepted ("阅读协议" holds 是).
bool agreementAccepted();
// Records the agreement as accepted, as ticking the window's box does.
bool acceptAgreement();

} // namespace lumorra
