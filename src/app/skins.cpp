#include "app/skins.h"

#include "core/program_dir.h"
#include "text/number_text.h"

#include <QApplication>
#include <QFile>

#include <cmath>
#include <limits>

// The skins' pictures are compiled into the static core library; without an
// explicit registration the linker would leave them out.
static void registerSkinImages()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(skin_images);
        return true;
    }();
    (void)registered;
}

namespace lumorra {

namespace {
QString& lastRequest()
{
    static QString path;
    return path;
}
QString& inForce()
{
    static QString path;
    return path;
}
} // namespace

QString skinFileNameForIndex(int index)
{
    if (index < 0 || index >= kSkinCount)
        index = 0;
    return QStringLiteral("/%1.she").arg(index + 1);
}

QString skinFileForIndex(int index)
{
    return shippedFile(skinFileNameForIndex(index));
}

QString skinFileFor(const QString& indexText)
{
    const double value = leadingNumber(indexText);
    int index = 0;
    if (value == std::floor(value) && value >= 0 && value < kSkinCount)
        index = int(value);
    return skinFileForIndex(index);
}

int settingsSkinIndex(const QString& indexText)
{
    const double rounded = std::nearbyint(leadingNumber(indexText));  // default mode: halves to even
    if (rounded >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (rounded <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(rounded);
}

bool attachSkin(const QString& path)
{
    registerSkinImages();
    lastRequest() = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString sheet = QString::fromUtf8(file.readAll());
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        app->setStyleSheet(sheet);
    inForce() = path;
    return true;
}

QString lastSkinRequest()
{
    return lastRequest();
}

QString attachedSkin()
{
    return inForce();
}

} // namespace lumorra
