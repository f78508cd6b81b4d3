#pragma once
#include <QString>

namespace lumorra {

// ASCII passes unchanged (space, & = ? # % + / included); every other 16-bit
// unit becomes its UTF-8 bytes as %XX escapes, upper-case hex, surrogate
// halves encoded one by one.
QString UTF8_URLEncoding(const QString& text);

// For keywords placed into a URL's path or query: as UTF8_URLEncoding, and
// additionally escapes the ASCII characters that would change the URL's
// structure (space # & + % ? / = and controls), so a keyword stays one keyword;
// a character beyond the first plane is sent as its four UTF-8 bytes.
QString encodeKeyword(const QString& text);

} // namespace lumorra
