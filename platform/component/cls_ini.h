#pragma once

#include <QString>

// Reader of the suite's INI file (VI000vi.INI), looked for in the application
// folder (AppPath()) when named without a folder.
class ClsIni
{
public:
    // The key's value, or Default when the file, the section or the key is
    // missing. Sections and keys are found without regard to case; section
    // names may hold "|" (the suite's "PC|USER" sections).
    QString LeeValor(const QString &file, const QString &section, const QString &key, const QString &Default = {});

    // Where a file named in LeeValor is looked for.
    static QString RutaArchivo(const QString &file);
};
