#pragma once
// How a fuzz target reads its input: a few leading bytes choose what is
// called and with which numbers, the rest is the text under test.
//
// The text is the remaining bytes as UTF-8 (invalid sequences become U+FFFD,
// as a fetched page's do), or, when the first byte has its top bit set, as
// raw UTF-16 units, so that lone surrogates and NULs reach the code too.
#include <QString>

#include <cstddef>
#include <cstdint>

namespace lumorra::fuzz {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size)
    {
        m_utf16 = size > 0 && (data[0] & 0x80) != 0;
    }

    // The next byte (0 once the input is used up).
    uint8_t byte()
    {
        if (m_pos >= m_size)
            return 0;
        return m_data[m_pos++];
    }

    // The rest of the input as text.
    QString text()
    {
        const uint8_t* rest = m_data + m_pos;
        const size_t n = m_size - m_pos;
        m_pos = m_size;
        if (m_utf16)
            return QString(reinterpret_cast<const QChar*>(rest), qsizetype(n / 2));
        return QString::fromUtf8(reinterpret_cast<const char*>(rest), qsizetype(n));
    }

    // The rest split at the first NUL byte into two texts (a pattern and a
    // subject, a key and a file …).
    std::pair<QString, QString> twoTexts()
    {
        const QString all = text();
        const qsizetype cut = all.indexOf(QChar(0));
        if (cut < 0)
            return {all, QString()};
        return {all.left(cut), all.mid(cut + 1)};
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_utf16 = false;
};

// Stops the run when a property the code promises does not hold.
inline void require(bool holds)
{
    if (!holds)
        __builtin_trap();
}

} // namespace lumorra::fuzz
