#pragma once
// The share texts and the addresses of the five web share dialogs. Pure
// text work: the settings window's share page opens or copies what these
// give.
#include <QString>

namespace lumorra {

enum class ShareService { QzoneShare, TencentWeibo, SinaWeibo, Renren, Tieba };

// "Lumorra官方网站 - Tessaly网络Lumorra神器"
QString shareTitle();
// The recommendation, ending in the product page's address.
QString recommendationText(const QString& productPage);
// What "QQ好友" puts on the clipboard: the title with "!", CR LF, the
// recommendation.
QString shareClipboardText(const QString& productPage);
// The message after the copy.
QString shareCopiedMessage();

// What a web share button says when sites.ini names no ShareEndpoint.
QString shareEndpointMissingText();

// The page address as the share dialogs take it: each ':' as %3A and each
// '/' as %2F, nothing else touched.
QString encodedPageAddress(const QString& productPage);
// `text` in the GBK code page for a query: every byte outside ASCII as %XX
// (upper-case hex), a space as %20, '!' as %21, other ASCII as it is.
QString gbkQueryText(const QString& text);

// Where each service's share dialog lives under the share endpoint base
// ("/qzone", …).
QString shareServicePath(ShareService service);
// The whole address of a service's share dialog. `endpointBase` is the
// ShareEndpoint role's base URL.
QString shareAddress(ShareService service, const QString& endpointBase, const QString& productPage);

} // namespace lumorra
