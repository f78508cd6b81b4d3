// The URL encoders: whatever the text, the result is plain ASCII, and a
// keyword comes back whole from its escapes.
#include "fuzz_input.h"

#include "net/url_encoding.h"

#include <QByteArray>
#include <QStringDecoder>

using namespace lumorra;
using lumorra::fuzz::require;

namespace {

bool isAscii(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() > 0x7f)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    in.byte();
    const QString text = in.text();

    const QString plain = UTF8_URLEncoding(text);
    require(isAscii(plain));

    const QString keyword = encodeKeyword(text);
    require(isAscii(keyword));
    for (QChar c : keyword)
        require(c.unicode() > 0x20 && c.unicode() != 0x7f && !QStringLiteral(" #&+?/=").contains(c));
    // QUrl::fromPercentEncoding would drop a leading U+FEFF, which the
    // keyword does carry.
    if (text.isValidUtf16()) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        require(utf8.decode(QByteArray::fromPercentEncoding(keyword.toLatin1())) == text);
    }
    return 0;
}
