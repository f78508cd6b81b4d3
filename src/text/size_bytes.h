#pragma once
// A size as sites write it ("4.69 GB", "987 MB", "1.2G", "700 KiB",
// "1,024 KB", "10 B") in bytes. Sites mean binary multiples: 1 KB = 1024 B.
#include <QString>

namespace lumorra {

// The bytes `text` names; -1 when it names none ("未知", "", "-1 GB", a
// number too large for 64 bits), so unknown sizes sort before every known one.
qint64 sizeInBytes(const QString& text);

} // namespace lumorra
