// lumorra-icons OUTDIR SIZE…: writes the program's icon as
// OUTDIR/SIZExSIZE/apps/lumorra.png for each size, the hicolor theme's
// layout. Run by the build; needs no display (offscreen platform).
#include "app/painted_icons.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: lumorra-icons OUTDIR SIZE...\n");
        return 2;
    }
    for (const QString& sizeText : args.mid(2)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        if (!ok || size < 8 || size > 1024) {
            std::fprintf(stderr, "lumorra-icons: bad size %s\n", qPrintable(sizeText));
            return 2;
        }
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(args.at(1)).arg(size);
        QDir().mkpath(dir);
        if (!lumorra::programIcon(size).save(dir + QStringLiteral("/lumorra.png"), "PNG")) {
            std::fprintf(stderr, "lumorra-icons: cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
