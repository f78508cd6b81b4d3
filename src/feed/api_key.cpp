#include "feed/api_key.h"

#include "core/program_dir.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

namespace lumorra::feed {

QString apiKeyFile()
{
    return QDir(programDir()).filePath(QStringLiteral("torznab-api-key"));
}

QString keptApiKey(QString* problem)
{
    const QString path = apiKeyFile();
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly)) {
        const QString key = QString::fromLatin1(existing.readAll()).trimmed();
        // Whatever it holds now, only its owner may read it.
        existing.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (key.size() >= 16)
            return key;
    }
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    QString key;
    for (quint32 w : words)
        key += QStringLiteral("%1").arg(w, 8, 16, QLatin1Char('0'));
    QFile::remove(path);
    QFile file(path);
    // Created owner-only: no moment in which another user could read it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || file.write(key.toLatin1() + '\n') < 0 || !file.flush()) {
        if (problem)
            *problem = QStringLiteral("the API key cannot be kept in %1: %2").arg(path, file.errorString());
        return {};
    }
    return key;
}

bool sameKey(const QString& a, const QString& b)
{
    const QByteArray x = a.toUtf8(), y = b.toUtf8();
    unsigned char diff = x.size() == y.size() ? 0 : 1;
    for (qsizetype i = 0; i < x.size(); ++i)
        diff |= static_cast<unsigned char>(x[i] ^ (i < y.size() ? y[i] : 0));
    return diff == 0;
}

} // namespace lumorra::feed
