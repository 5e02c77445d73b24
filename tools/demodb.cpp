// demodb PATH [--vouchers N] [--articles N] [--force]: creates a demo database file.
#include "tools/datos_demo.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString path;
    demodata::Options options;
    options.lookupSamples = true; // a database to try the lookups on
    options.entrySamples = true;  // and the loading of vouchers
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == "--force") {
            options.overwrite = true;
        } else if (a == "--vouchers" && i + 1 < args.size()) {
            bool ok = false;
            options.vouchers = args[++i].toInt(&ok);
            if (!ok || options.vouchers < 0) {
                std::fprintf(stderr, "demodb: --vouchers needs a whole number\n");
                return 2;
            }
        } else if (a == "--articles" && i + 1 < args.size()) {
            bool ok = false;
            options.articles = args[++i].toInt(&ok);
            if (!ok || options.articles < 1) {
                std::fprintf(stderr, "demodb: --articles needs a whole number of at least 1\n");
                return 2;
            }
        } else if (!a.startsWith("--") && path.isEmpty()) {
            path = a;
        } else {
            path.clear();
            break;
        }
    }
    if (path.isEmpty()) {
        std::fprintf(stderr, "usage: demodb PATH [--vouchers N] [--articles N] [--force]\n");
        return 2;
    }
    try {
        demodata::CreateDemoDatabase(path, options);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "demodb: %s\n", e.what());
        return 1;
    }
    std::printf("%s: %d vouchers, %d articles\n", qPrintable(path), options.vouchers, options.articles);
    return 0;
}
