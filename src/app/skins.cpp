#include "app/skins.h"

#include "platform/program_dir.h"

#include <QApplication>
#include <QFile>

#include <cmath>
#include <limits>

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

double settingNumber(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    qsizetype end = i;
    // An exponent counts only when at least one digit follows it.
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        qsizetype expDigits = 0;
        while (j < n && text[j].isDigit() && text[j].unicode() < 128) {
            ++j;
            ++expDigits;
        }
        if (expDigits > 0)
            end = j;
    }
    bool ok = false;
    const double value = text.mid(start, end - start).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

QString skinFileNameForIndex(int index)
{
    if (index < 0 || index >= kSkinCount)
        index = 0;
    return QStringLiteral("/%1.she").arg(index + 1);
}

QString skinFileForIndex(int index)
{
    return programDir() + skinFileNameForIndex(index);
}

QString skinFileFor(const QString& indexText)
{
    const double value = settingNumber(indexText);
    int index = 0;
    if (value == std::floor(value) && value >= 0 && value < kSkinCount)
        index = int(value);
    return skinFileForIndex(index);
}

int settingsSkinIndex(const QString& indexText)
{
    const double rounded = std::nearbyint(settingNumber(indexText));  // default mode: halves to even
    if (rounded >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (rounded <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(rounded);
}

bool attachSkin(const QString& path)
{
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
