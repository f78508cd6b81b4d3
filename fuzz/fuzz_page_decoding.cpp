// A fetched body and its Content-Type as a hostile server sends them: the
// charset named (or not) and the bytes in any state.
#include "fuzz_input.h"

#include "net/page_fetcher.h"

#include <QByteArray>

using namespace lumorra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray all(reinterpret_cast<const char*>(data), qsizetype(size));
    // The header runs to the first line end; the body follows.
    const qsizetype end = all.indexOf('\n');
    const QByteArray contentType = end < 0 ? all : all.left(end);
    const QByteArray body = end < 0 ? QByteArray() : all.mid(end + 1);
    (void)charsetOf(contentType);
    (void)decodeBody(body, contentType);
    return 0;
}
