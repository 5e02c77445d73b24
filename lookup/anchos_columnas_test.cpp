#include "lookup/anchos_columnas.h"

#include "platform/runtime/files.h"
#include "platform/runtime/regional.h"
#include "tests/support/error_provocado.h"
#include "tests/support/impresion_qt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

class ArchivoDeAnchos : public ::testing::Test
{
protected:
    QString archivo() const { return dir.filePath(QStringLiteral("CONSULTASLEN.VGR")); }
    QString auxiliar() const { return dir.filePath(QStringLiteral("CONSULTASLEN.AUX")); }
    void escribe(const QByteArray &bytes) const
    {
        QFile f(archivo());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray contenido() const
    {
        QFile f(archivo());
        if (!f.open(QIODevice::ReadOnly))
            return "<sin archivo>";
        return f.readAll();
    }
    // Column -> width, as the reader hands them out (the last one wins).
    std::map<int, float> lee(const QString &tabla, int columnas, float minimo = 1) const
    {
        std::map<int, float> anchos;
        LeeAnchos(archivo(), tabla, columnas, minimo, [&](int k, float w) { anchos[k] = w; });
        return anchos;
    }
    QTemporaryDir dir;
};

struct LecturaCase
{
    const char *nombre;
    QByteArray file;
    const char *table;
    int columns;
    std::map<int, float> widths;
    float minimo = 1; // narrower widths are passed over
    friend void PrintTo(const LecturaCase &c, std::ostream *os) { *os << c.nombre; }
};

class LecturaDeAnchos : public ArchivoDeAnchos, public ::testing::WithParamInterface<LecturaCase>
{};

TEST_P(LecturaDeAnchos, ServesTheColumnsTheTablesLineReaches)
{
    const LecturaCase &c = GetParam();
    escribe(c.file);
    EXPECT_EQ(lee(QString::fromLatin1(c.table), c.columns, c.minimo), c.widths);
}

INSTANTIATE_TEST_SUITE_P(
    Lookup,
    LecturaDeAnchos,
    ::testing::Values(
        LecturaCase{"fewer_entries_than_columns",
                    "\"V_CLIENTES\",\"1500|3000|\"\r\n",
                    "V_CLIENTES",
                    3,
                    {{1, 1500}, {2, 3000}}},
        LecturaCase{"more_entries_than_columns",
                    "\"V_CLIENTES\",\"1500|3000|700|\"\r\n",
                    "V_CLIENTES",
                    2,
                    {{1, 1500}, {2, 3000}}},
        LecturaCase{"key_without_case",
                    "\"vt_ma_articulos\",\"1440|2880|975|\"\r\n",
                    "VT_MA_ARTICULOS",
                    3,
                    {{1, 1440}, {2, 2880}, {3, 975}}},
        LecturaCase{"other_tables_ignored",
                    "\"V_OTRA\",\"10|\"\r\n\"V_CLIENTES\",\"20|\"\r\n",
                    "V_CLIENTES",
                    1,
                    {{1, 20}}},
        LecturaCase{"lf_only", "\"V_OTRA\",\"10|\"\n\"V_CLIENTES\",\"20|30|\"\n", "V_CLIENTES", 2, {{1, 20}, {2, 30}}},
        // Every line of the key, in file order: the later one wins.
        LecturaCase{"repeated_key_applies_each",
                    "\"T\",\"1|2|\"\r\n\"T\",\"5|6|\"\r\n\"t\",\"7|8|\"\r\n",
                    "T",
                    2,
                    {{1, 7}, {2, 8}}},
        // A line that runs out of entries ends the reading: later lines are not read.
        LecturaCase{"short_line_ends_the_reading", "\"T\",\"5|\"\r\n\"T\",\"7|8|\"\r\n", "T", 2, {{1, 5}}},
        // Text that is no number, zero, a negative or too narrow a width keeps
        // the column's own; the entries after it still serve their columns.
        LecturaCase{"decimals_and_text", "\"T\",\"1234.5|abc|12,5|\"\r\n", "T", 3, {{1, 1234.5f}, {3, 12.5f}}},
        LecturaCase{"zero_negative_and_narrow",
                    "\"VT_MA_ARTICULOS\",\"0|-500|3000|40|120|\"\r\n",
                    "VT_MA_ARTICULOS",
                    5,
                    {{3, 3000}, {5, 120}},
                    100},
        LecturaCase{"too_wide", "\"T\",\"99999999999|100000|1E+30|\"\r\n", "T", 3, {{2, 100000}}},
        LecturaCase{"no_widths_field", "\"T\"", "T", 2, {}},
        LecturaCase{"empty_file", "", "T", 2, {}}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST_F(ArchivoDeAnchos, NoFileGivesNothingAndCreatesNothing)
{
    EXPECT_TRUE(lee(QStringLiteral("V_CLIENTES"), 3).empty());
    EXPECT_FALSE(QFile::exists(archivo()));
}

TEST(ClaveDeAnchos, StockArticlesShareTheLineOfTheArticlesView)
{
    EXPECT_EQ(ClaveAnchos(QStringLiteral("Stk_ma_articulos")), QStringLiteral("VT_MA_ARTICULOS"));
    EXPECT_EQ(ClaveAnchos(QStringLiteral("STK_MA_ARTICULOS")), QStringLiteral("VT_MA_ARTICULOS"));
    EXPECT_EQ(ClaveAnchos(QStringLiteral("V_MA_ARTICULOS")), QStringLiteral("V_MA_ARTICULOS"));
    EXPECT_EQ(ClaveAnchos(QStringLiteral("V_Clientes")), QStringLiteral("V_Clientes"));
}

TEST_F(ArchivoDeAnchos, SavingKeepsOtherTablesAndPutsTheTablesLineLast)
{
    escribe("\"V_CLIENTES\",\"1|2|\"\n\"VT_MA_ARTICULOS\",\"1440|2880|975|\"\n\"v_clientes\",\"9|\"\n");
    GrabaAnchos(archivo(), QStringLiteral("V_CLIENTES"), {1500, 3000, 1234.5f});
    EXPECT_EQ(contenido(),
              QByteArray("\"VT_MA_ARTICULOS\",\"1440|2880|975|\"\r\n"
                         "\"V_CLIENTES\",\"1500|3000|1234.5|\"\r\n"));
    EXPECT_FALSE(QFile::exists(auxiliar()));
    // What was saved is read back.
    EXPECT_EQ(lee(QStringLiteral("V_CLIENTES"), 3), (std::map<int, float>{{1, 1500}, {2, 3000}, {3, 1234.5f}}));
}

TEST_F(ArchivoDeAnchos, SavingWithoutAFileCreatesItWithTheOneLine)
{
    GrabaAnchos(archivo(), QStringLiteral("VT_MA_ARTICULOS"), {1440, 2880, 975});
    EXPECT_EQ(contenido(), QByteArray("\"VT_MA_ARTICULOS\",\"1440|2880|975|\"\r\n"));
}

TEST_F(ArchivoDeAnchos, WidthsAreWrittenWithTheWorkstationsDecimalMark)
{
    vb::ScopedRegional coma(vb::CommaDecimalSettings());
    GrabaAnchos(archivo(), QStringLiteral("T"), {1234.5f, 1e7f});
    EXPECT_EQ(contenido(), QByteArray("\"T\",\"1234,5|1E+07|\"\r\n"));
    EXPECT_EQ(lee(QStringLiteral("T"), 1), (std::map<int, float>{{1, 1234.5f}}));
}

TEST_F(ArchivoDeAnchos, AFailingRenameLeavesTheOldFileByteForByte)
{
    const QByteArray antes("\"V_CLIENTES\",\"1|2|\"\n\"VT_MA_ARTICULOS\",\"1440|\"\r\n");
    escribe(antes);
    int llamadas = 0;
    const auto fallaAlRenombrar = [&](const QString &desde, const QString &hacia) {
        ++llamadas;
        EXPECT_EQ(desde, auxiliar());
        EXPECT_EQ(hacia, archivo());
        Raise(vberr::PathFileAccess);
    };
    EXPECT_EQ(RaisedNumber([&] { GrabaAnchos(archivo(), QStringLiteral("V_CLIENTES"), {10}, fallaAlRenombrar); }),
              vberr::PathFileAccess);
    EXPECT_EQ(llamadas, 1);
    EXPECT_EQ(contenido(), antes);
    EXPECT_FALSE(QFile::exists(auxiliar()));
}

TEST_F(ArchivoDeAnchos, AnAuxiliaryFileThatCannotBeWrittenLeavesTheOldFile)
{
    const QByteArray antes("\"T\",\"1|\"\r\n");
    escribe(antes);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("CONSULTASLEN.AUX")));
    EXPECT_NE(RaisedNumber([&] { GrabaAnchos(archivo(), QStringLiteral("T"), {10}); }), 0);
    EXPECT_EQ(contenido(), antes);
}

} // namespace
