// leebase BASE CONSULTA: reads a database file made by demodb from a shell,
// as the program reads it (the sqlite3 shell lacks its text collation).
#include "tools/lee_base.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2) {
        std::fputs("usage: leebase BASE CONSULTA\n"
                   "  BASE      a database file made by demodb\n"
                   "  CONSULTA  one SELECT as the program writes it (\"SELECT TC, COUNT(*) FROM V_MV_CPTE GROUP BY "
                   "TC\")\n",
                   stderr);
        return 2;
    }
    QTextStream salida(stdout);
    QString error;
    const int r = LeeBase(args[0], args[1], salida, error);
    salida.flush();
    if (r != 0)
        std::fprintf(stderr, "leebase: %s\n", error.toLocal8Bit().constData());
    return r;
}
