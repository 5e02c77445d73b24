#include "platform/runtime/files.h"
#include "platform/runtime/app.h"
#include "platform/runtime/strings.h"
#include "tests/support/error_provocado.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vb;

namespace {

class FilesTest : public ::testing::Test
{
protected:
    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    static QByteArray bytesOf(const QString &p)
    {
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    QTemporaryDir m_dir;
};

TEST_F(FilesTest, AppendCreatesThenAddsLinesInLatin1)
{
    const QString log = path("VGELI.LOG");
    {
        SequentialFile f(log, OpenMode::Append);
        f.PrintLine(QStringLiteral("año ") + Chr(255));
    }
    {
        SequentialFile f(log, OpenMode::Append);
        f.Print(QStringLiteral("b"));
        f.PrintLine(QStringLiteral("€")); // outside Latin-1
    }
    EXPECT_EQ(bytesOf(log), QByteArray("a\xF1o \xFF\r\nb?\r\n"));
    EXPECT_EQ(FileLen(log), 11);
}

TEST_F(FilesTest, OutputTruncatesAndInputReadsLines)
{
    const QString p = path("datos.txt");
    {
        SequentialFile f(p, OpenMode::Output);
        f.PrintLine(QStringLiteral("viejo"));
    }
    {
        SequentialFile f(p, OpenMode::Output);
        f.Print(QStringLiteral("uno\r\ndos\nTres\rcuatro\r\n\r\nñ"));
    }
    SequentialFile in(p, OpenMode::Input);
    QStringList lines;
    while (!in.Eof())
        lines << in.LineInput();
    EXPECT_EQ(lines,
              (QStringList{QStringLiteral("uno"),
                           QStringLiteral("dos"),
                           QStringLiteral("Tres"),
                           QStringLiteral("cuatro"),
                           QString(),
                           QStringLiteral("ñ")}));
    EXPECT_EQ(RaisedNumber([&] { in.LineInput(); }), vberr::InputPastEnd);
    EXPECT_EQ(RaisedNumber([&] { in.PrintLine(QStringLiteral("x")); }), vberr::BadFileMode);
}

TEST_F(FilesTest, OpenFailuresRaiseTheRunTimeErrors)
{
    struct Case
    {
        QString path;
        OpenMode mode;
        int error;
    };
    const Case cases[] = {
        {path("falta.txt"), OpenMode::Input, vberr::FileNotFound},
        {path("no/existe/x.txt"), OpenMode::Append, vberr::PathNotFound},
        {path("no/existe/x.txt"), OpenMode::Input, vberr::PathNotFound},
        {m_dir.path(), OpenMode::Output, vberr::PathFileAccess},
        {QString(), OpenMode::Output, vberr::BadFileNameOrNumber},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(RaisedNumber([&] { SequentialFile f(c.path, c.mode); }), c.error);
    }
    SequentialFile closed;
    EXPECT_EQ(RaisedNumber([&] { closed.PrintLine(QStringLiteral("x")); }), vberr::BadFileNameOrNumber);
}

TEST_F(FilesTest, RandomRecordsOfFixedLength)
{
    const QString p = path("consultas.vgr");
    {
        RandomFile f(p, 6); // created when missing
        EXPECT_EQ(f.RecordCount(), 0);
        f.Put(1, QStringLiteral("uno"));
        f.Put(3, QStringLiteral("tres") + Chr(255) + Chr(0));
        f.Put(1, QStringLiteral("ñandú!"));
        EXPECT_EQ(RaisedNumber([&] { f.Put(2, QStringLiteral("siete77")); }), vberr::BadRecordLength);
        EXPECT_EQ(RaisedNumber([&] { f.Put(0, QStringLiteral("x")); }), vberr::BadRecordNumber);
    }
    EXPECT_EQ(bytesOf(p),
              QByteArray("\xF1"
                         "and\xFA!      tres\xFF",
                         17)
                  + QByteArray(1, '\0'));
    RandomFile f(p, 6);
    EXPECT_EQ(f.RecordCount(), 3);
    EXPECT_EQ(f.Get(1), QStringLiteral("ñandú!"));
    EXPECT_EQ(f.Get(2), QStringLiteral("      ")); // skipped over: blanks
    EXPECT_EQ(f.Get(3), QStringLiteral("tres") + Chr(255) + Chr(0));
    EXPECT_FALSE(f.Eof());
    EXPECT_EQ(f.Get(4), StringOf(6, QChar(0)));
    EXPECT_TRUE(f.Eof());
    EXPECT_EQ(RaisedNumber([&] { f.Get(0); }), vberr::BadRecordNumber);
    EXPECT_EQ(RaisedNumber([&] { RandomFile bad(path("x.vgr"), 0); }), vberr::BadRecordLength);
}

TEST_F(FilesTest, ExistenceLengthKillAndName)
{
    const QString a = path("a.txt"), b = path("b.txt");
    EXPECT_FALSE(FileExists(a));
    EXPECT_FALSE(FileExists(m_dir.path())); // a folder is no file
    EXPECT_FALSE(FileExists(QString()));
    EXPECT_EQ(RaisedNumber([&] { FileLen(a); }), vberr::FileNotFound);
    {
        SequentialFile f(a, OpenMode::Output);
        f.Print(QStringLiteral("abc"));
    }
    EXPECT_TRUE(FileExists(a));
    EXPECT_EQ(FileLen(a), 3);
    Name(a, b);
    EXPECT_FALSE(FileExists(a));
    EXPECT_TRUE(FileExists(b));
    {
        SequentialFile f(a, OpenMode::Output);
    }
    EXPECT_EQ(RaisedNumber([&] { Name(a, b); }), vberr::FileAlreadyExists);
    EXPECT_EQ(RaisedNumber([&] { Name(path("zz"), path("yy")); }), vberr::FileNotFound);
    Kill(b);
    EXPECT_FALSE(FileExists(b));
    EXPECT_EQ(RaisedNumber([&] { Kill(b); }), vberr::FileNotFound);
}

TEST_F(FilesTest, WriteQuotesEachFieldAndEndsTheLine)
{
    const QString p = path("CONSULTASLEN.VGR");
    {
        SequentialFile f(p, OpenMode::Output);
        f.Write({QStringLiteral("VT_MA_ARTICULOS"), QStringLiteral("1440|2880|975|")});
        f.Write({QStringLiteral("Año"), QString()});
    }
    EXPECT_EQ(bytesOf(p), QByteArray("\"VT_MA_ARTICULOS\",\"1440|2880|975|\"\r\n\"A\xF1o\",\"\"\r\n"));
}

struct InputCase
{
    const char *nombre;
    QByteArray bytes;
    QStringList fields; // every field up to the end of the file
    friend void PrintTo(const InputCase &c, std::ostream *os) { *os << c.nombre; }
};

class InputFields : public FilesTest, public ::testing::WithParamInterface<InputCase>
{};

TEST_P(InputFields, ReadsFieldByFieldThenStopsAtTheEnd)
{
    const InputCase &c = GetParam();
    const QString p = path("in.txt");
    {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
    }
    SequentialFile in(p, OpenMode::Input);
    QStringList got;
    while (!in.Eof() && got.size() < 10)
        got << in.Input();
    EXPECT_EQ(got, c.fields);
    EXPECT_EQ(RaisedNumber([&] { in.Input(); }), vberr::InputPastEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Files,
    InputFields,
    ::testing::Values(InputCase{"crlf", "\"A\",\"1|2|\"\r\n\"B\",\"3|\"\r\n", {"A", "1|2|", "B", "3|"}},
                      InputCase{"lf_only", "\"A\",\"1|2|\"\n\"B\",\"3|\"\n", {"A", "1|2|", "B", "3|"}},
                      InputCase{"cr_only_and_no_end", "\"A\",\"1|\"\r\"B\",\"2|\"", {"A", "1|", "B", "2|"}},
                      // A line end separates fields as a comma does.
                      InputCase{"one_field_a_line", "\"A\"\r\n\"1|\"\r\n", {"A", "1|"}},
                      InputCase{"unquoted_trimmed", "  V_CLIENTES , 1500|3000| \r\n", {"V_CLIENTES", "1500|3000|"}},
                      InputCase{"quoted_keeps_blanks_and_commas", "\" a, b \",\"\"\r\n", {" a, b ", ""}},
                      InputCase{"junk_after_the_quote", "\"A\"xy,\"B\"\r\n", {"A", "B"}},
                      InputCase{"latin1", "\"A\xF1o\",\"\xFF\"\r\n", {QStringLiteral("Año"), Chr(255)}}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST_F(FilesTest, ReplaceFileTakesTheTargetsPlaceInOneStep)
{
    const QString from = path("CONSULTASLEN.AUX");
    const QString to = path("CONSULTASLEN.VGR");
    {
        SequentialFile f(to, OpenMode::Output);
        f.PrintLine(QStringLiteral("viejo"));
    }
    {
        SequentialFile f(from, OpenMode::Output);
        f.PrintLine(QStringLiteral("nuevo"));
    }
    ReplaceFile(from, to);
    EXPECT_FALSE(FileExists(from));
    EXPECT_EQ(bytesOf(to), QByteArray("nuevo\r\n"));
    EXPECT_EQ(RaisedNumber([&] { ReplaceFile(from, to); }), vberr::FileNotFound);
    EXPECT_EQ(bytesOf(to), QByteArray("nuevo\r\n"));
    // A folder in the way: the rename fails and the file stays as it was.
    QDir(m_dir.path()).mkpath(QStringLiteral("carpeta/dentro"));
    EXPECT_EQ(RaisedNumber([&] { ReplaceFile(to, path("carpeta")); }), vberr::PathFileAccess);
    EXPECT_EQ(bytesOf(to), QByteArray("nuevo\r\n"));
}

TEST(AppFolder, SetFolderThenEnvironmentThenExecutablesFolder)
{
    const QString saved = AppPath();
    const QByteArray savedEnv = qgetenv("ANULACION_APPDIR");
    SetAppPath(QString());
    qputenv("ANULACION_APPDIR", "/srv/suite/");
    EXPECT_EQ(AppPath(), QStringLiteral("/srv/suite")); // no trailing separator
    SetAppPath(QStringLiteral("/tmp/propia/"));
    EXPECT_EQ(AppPath(), QStringLiteral("/tmp/propia")); // the set folder wins
    SetAppPath(QString());
    qunsetenv("ANULACION_APPDIR");
    EXPECT_EQ(AppPath(), QCoreApplication::applicationDirPath());
    if (!savedEnv.isNull())
        qputenv("ANULACION_APPDIR", savedEnv);
    SetAppPath(saved);
}

TEST(PathText, TrailingSeparator)
{
    EXPECT_EQ(WithTrailingSeparator(QStringLiteral("/a/b")), QStringLiteral("/a/b/"));
    EXPECT_EQ(WithTrailingSeparator(QStringLiteral("/a/b/")), QStringLiteral("/a/b/"));
    EXPECT_EQ(WithTrailingSeparator(QStringLiteral("C:\\a\\")), QStringLiteral("C:\\a\\"));
}

} // namespace
