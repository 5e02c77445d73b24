#include "platform/runtime/ini.h"

#include "platform/runtime/app.h"
#include "platform/runtime/strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

// The platform's profile rules, read directly: libinih cuts lines at 200
// bytes and names at 50, takes " ;" as a comment and an indented line as the
// previous value's continuation, none of which the suite's files expect.
namespace {

QString blanksTrimmed(QStringView s)
{
    auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    qsizetype b = 0, e = s.size();
    while (b < e && blank(s.at(b)))
        ++b;
    while (e > b && blank(s.at(e - 1)))
        --e;
    return s.mid(b, e - b).toString();
}

// The suite's INI files are single-byte Latin-1 text; one saved with a UTF-8
// mark is read as UTF-8.
QString fileText(const QByteArray &content)
{
    if (content.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(content.mid(3));
    return QString::fromLatin1(content);
}

} // namespace

QString vb::ProfilePath(const QString &file)
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
        if (vb::EqualsText(entry, info.fileName()))
            return info.dir().filePath(entry);
    return path;
}

QString vb::ProfileString(const QString &file, const QString &section, const QString &key, const QString &Default)
{
    QFile in(ProfilePath(file));
    if (!in.open(QIODevice::ReadOnly))
        return Default;
    const QString text = fileText(in.readAll());
    const QString wantedSection = blanksTrimmed(section);
    const QString wantedKey = blanksTrimmed(key);
    bool inSection = false;
    for (QStringView raw : QStringView(text).split(QLatin1Char('\n'))) {
        if (raw.endsWith(QLatin1Char('\r')))
            raw.chop(1);
        const QString line = blanksTrimmed(raw);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            const QString name = blanksTrimmed(QStringView(line).mid(1, close < 0 ? -1 : close - 1));
            inSection = vb::EqualsText(name, wantedSection);
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inSection || eq < 0)
            continue;
        if (!vb::EqualsText(blanksTrimmed(QStringView(line).left(eq)), wantedKey))
            continue;
        QString value = blanksTrimmed(QStringView(line).mid(eq + 1));
        // A value written between quotes is read without them, as the platform did.
        if (value.size() >= 2 && value.front() == value.back()
            && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')))
            value = value.mid(1, value.size() - 2);
        return value;
    }
    return Default;
}
