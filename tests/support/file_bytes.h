#pragma once
// A file's bytes exactly as they stand on disk, for tests that check what the
// program wrote or hand it a file written byte by byte.
#include <QByteArray>
#include <QString>

namespace lumorra::testing {

// The whole file; empty when it cannot be read.
QByteArray readFileBytes(const QString& path);

// Replaces the file with `bytes`; false unless all of them were written.
bool writeFileBytes(const QString& path, const QByteArray& bytes);

} // namespace lumorra::testing
