#include "platform/component/cls_ini.h"

#include "platform/runtime/ini.h"

QString ClsIni::RutaArchivo(const QString &file)
{
    return vb::ProfilePath(file);
}

QString ClsIni::LeeValor(const QString &file, const QString &section, const QString &key, const QString &Default)
{
    return vb::ProfileString(file, section, key, Default);
}
