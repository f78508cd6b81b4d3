#pragma once
// The program's settings file: a private-profile (INI) file in the system's
// ANSI code page. On disk the bytes are GB18030 (a superset of GBK, so a file
// written by a GBK Windows system reads back unchanged); a UTF-8 file with a
// byte-order mark is read as UTF-8.
#include <QString>

namespace lumorra {

// Reads one value the way the platform's private-profile read does:
//  - a missing or unreadable file, section or key gives `def`;
//  - section and key names compare ASCII case-insensitively, surrounding
//    blanks ignored; the first matching section and key win;
//  - the value loses its surrounding blanks, then one pair of matching
//    single or double quotes that encloses all of it;
//  - the result (value or default) is cut to 254 ANSI bytes, the room a
//    255-byte buffer leaves beside its terminator, never inside a
//    double-byte character; a default loses its trailing blanks.
QString GetFromINI(const QString& section, const QString& key,
                   const QString& def, const QString& path);

// Writes one value, keeping every other section, key and comment. The new
// file is written to a temporary file beside the old one and renamed over
// it, so an interrupted write never leaves a broken file. Returns false when
// nothing was written: the file cannot be read or replaced, the directory is
// not writable, or a name or value would break the file's line structure
// (line breaks anywhere, '=' in a key, ']' in a section name).
bool WriteToINI(const QString& section, const QString& key,
                const QString& value, const QString& path);

// A switch counts as on when its value contains 是 anywhere.
bool isOn(const QString& value);

// The keys of the program's settings, shared by the start-up that reads them
// and the settings window that writes them.
namespace settingkey {
inline const QString kSkin = QStringLiteral("软件皮肤");
inline const QString kNewYearMusic = QStringLiteral("新年音乐");
inline const QString kKillPlayer = QStringLiteral("关闭快播");
inline const QString kKillNetwork = QStringLiteral("关闭协议");
inline const QString kNoPlayerAtStart = QStringLiteral("禁止启动");
inline const QString kAgreement = QStringLiteral("阅读协议");
inline const QString kBlockAds = QStringLiteral("屏蔽快播广告");
inline const QString kReleaseMemory = QStringLiteral("清理内存");
} // namespace settingkey

// The program's own settings: "qmtb.ini" in the program directory, one
// section "信息设置".
class SettingsStore {
public:
    // Follows the program directory at each call (tests move it).
    SettingsStore() = default;
    // A store over another file (same section).
    explicit SettingsStore(const QString& path) : m_path(path) {}

    static QString section();       // "信息设置"
    static QString defaultPath();   // programDir() + "/qmtb.ini"

    QString path() const;
    QString value(const QString& key, const QString& def = QString()) const;
    bool setValue(const QString& key, const QString& value) const;
    bool isOn(const QString& key) const;

private:
    QString m_path;
};

} // namespace lumorra
