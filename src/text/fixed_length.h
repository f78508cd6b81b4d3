#pragma once
// Display width as the Chinese ANSI code page counts it, and padding to it.
#include <QString>
#include <QStringView>

namespace lumorra {

// Width of `text` in code-page bytes: GBK bytes for what GBK can encode (an
// ASCII character 1, a Chinese character 2), GB18030 bytes for the rest (4
// for most other characters), the same bytes the export file is written in.
int ansiDisplayWidth(QStringView text);

// Blanks (U+0020 only) removed at both ends, then blanks appended until the
// text is `width` bytes wide. A text already as wide or wider is returned
// trimmed but never cut; an empty text stays empty; width <= 0 only trims.
QString SetStringFixedLength(const QString& text, int width);

} // namespace lumorra
