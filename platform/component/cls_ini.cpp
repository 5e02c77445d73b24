#include "platform/component/cls_ini.h"

#include "platform/runtime/app.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <ini.h>

namespace {

struct Lookup {
    QString section;
    QString key;
    QString value;
    bool found = false;
};

// The suite's INI files are single-byte Latin-1 text.
int onEntry(void *user, const char *section, const char *name, const char *value)
{
    auto *lookup = static_cast<Lookup *>(user);
    if (lookup->found)
        return 1;
    if (QString::compare(QString::fromLatin1(section).trimmed(), lookup->section, Qt::CaseInsensitive) != 0
        || QString::compare(QString::fromLatin1(name), lookup->key, Qt::CaseInsensitive) != 0)
        return 1;
    QString text = QString::fromLatin1(value);
    // A value written between quotes is read without them, as the platform did.
    if (text.size() >= 2 && text.front() == text.back()
        && (text.front() == QLatin1Char('"') || text.front() == QLatin1Char('\'')))
        text = text.mid(1, text.size() - 2);
    lookup->value = text;
    lookup->found = true;
    return 1;
}

} // namespace

QString ClsIni::RutaArchivo(const QString &file)
{
    QString path = file;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!path.contains(QLatin1Char('/')))
        path = AppPath() + QLatin1Char('/') + path;
    if (QFileInfo::exists(path))
        return path;
    // Files copied from the suite's Windows machines keep their own spelling.
    const QFileInfo info(path);
    const QStringList entries = info.dir().entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries)
        if (QString::compare(entry, info.fileName(), Qt::CaseInsensitive) == 0)
            return info.dir().filePath(entry);
    return path;
}

QString ClsIni::LeeValor(const QString &file, const QString &section, const QString &key, const QString &Default)
{
    QFile in(RutaArchivo(file));
    if (!in.open(QIODevice::ReadOnly))
        return Default;
    const QByteArray content = in.readAll();
    Lookup lookup{section.trimmed(), key.trimmed(), {}, false};
    ini_parse_string(content.constData(), onEntry, &lookup);
    return lookup.found ? lookup.value : Default;
}
