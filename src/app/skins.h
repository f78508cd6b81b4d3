#pragma once
// Skins: nine Qt style sheets shipped beside the executable (or in the
// installed program's data folder) as "1.she" … "9.she". Attaching one replaces the look in force for every window of the
// program; a file that cannot be read leaves the look as it is.
#include <QString>

namespace lumorra {

inline constexpr int kSkinCount = 9;

// The skin file name for a skin index: 0 -> "/1.she" … 8 -> "/9.she"; any
// other index -> "/1.she".
QString skinFileNameForIndex(int index);

// The skin the program starts with for a "软件皮肤" value: only a whole number
// from 0 to 8 selects its own skin, anything else (9, -1, 2.5, letters) the
// first one. Returns the path skinFileForIndex gives.
QString skinFileFor(const QString& indexText);

// The skin index the settings window selects for a "软件皮肤" value: the
// leading number rounded to the nearest whole number, halves to the even
// neighbour ("2.5" -> 2, "3.5" -> 4). Out-of-range numbers come back as
// they are (clamped into int) for the caller to reject.
int settingsSkinIndex(const QString& indexText);

// programDir() + skinFileNameForIndex(index), or the installed program's
// copy when the program directory has none (shippedFile).
QString skinFileForIndex(int index);

// Reads the style sheet at `path` and puts it in force for the whole
// application. Returns false (and changes nothing) when the file cannot be
// read. The path is remembered either way (lastSkinRequest()).
bool attachSkin(const QString& path);

// The path of the most recent attach request, successful or not.
QString lastSkinRequest();
// The path of the skin in force; empty while none was attached.
QString attachedSkin();

} // namespace lumorra
