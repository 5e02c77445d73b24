#pragma once

#include <QFile>
#include <QString>

// An ODBC driver's library where Debian (or a local build) puts it; empty
// when it is not installed, and the test that needs it skips.
inline QString OdbcDriverLibrary(const char *file)
{
    for (const char *dir :
         {"/usr/lib/x86_64-linux-gnu/odbc/", "/usr/lib/aarch64-linux-gnu/odbc/", "/usr/lib/odbc/", "/usr/local/lib/"})
        if (QFile::exists(QString::fromLatin1(dir) + QString::fromLatin1(file)))
            return QString::fromLatin1(dir) + QString::fromLatin1(file);
    return {};
}
