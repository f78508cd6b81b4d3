// The settings file reader: a qmtb.ini of any bytes (a hand-edited file, a
// file from another program, a broken disk) read key by key, then one value
// written into it and read back.
#include "fuzz_input.h"

#include "core/settings_store.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <unistd.h>

using namespace lumorra;
using lumorra::fuzz::require;

namespace {

QString scratchFile()
{
    static const QString path = QStringLiteral("/tmp/lumorra-fuzz-settings-%1.ini").arg(getpid());
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = scratchFile();
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const QString section = SettingsStore::section();
    for (const QString& key : {settingkey::kSkin, settingkey::kKillPlayer, settingkey::kAgreement,
                               settingkey::kReleaseMemory, QStringLiteral("x")}) {
        const QString value = GetFromINI(section, key, QStringLiteral("默认"), path);
        (void)isOn(value);
    }
    // A value written into whatever the file holds reads back as written.
    if (WriteToINI(section, settingkey::kSkin, QStringLiteral("7"), path))
        require(GetFromINI(section, settingkey::kSkin, QString(), path) == QStringLiteral("7"));
    return 0;
}
