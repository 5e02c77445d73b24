#include "lookup/filtros_consulta.h"

#include "tests/support/impresion_qt.h"

#include <gtest/gtest.h>

namespace {

TEST(CoincideBusqueda, TrimmedPrefixWithoutCase)
{
    struct Caso
    {
        const char *celda, *valor;
        bool coincide;
    };
    const Caso casos[] = {
        {"  Abc  ", "ab", true},
        {"abc", " AB ", true},
        {"ab", "abc", false},
        {"x", "", true},
        {"", "", true},
        {"", "a", false},
        {"ñandú", "ÑAN", true},
        {" a b", "a b", true},
        {"ba", "a", false},
        {"AB", "ab  ", true},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(std::string(c.celda) + " / " + c.valor);
        EXPECT_EQ(CoincideBusqueda(QString::fromUtf8(c.celda), QString::fromUtf8(c.valor)), c.coincide);
    }
}

TEST(FiltroServidor, StatementByCase)
{
    struct Caso
    {
        const char *nombre;
        const char *sql; // as the dialog holds it after a load: one blank appended
        const char *sinOrden;
        const char *campo, *texto;
        bool contiene;
        const char *resultado, *orden;
    };
    const Caso casos[] = {
        {"no WHERE, ORDER BY",
         "SELECT A, NOMBRE FROM T ORDER BY A ",
         "SELECT A, NOMBRE FROM T ORDER BY A ",
         "NOMBRE",
         "ab",
         false,
         "SELECT A, NOMBRE FROM T  where LTRIM(NOMBRE) like 'ab%' ORDER BY A ",
         "ORDER BY A "},
        {"contains",
         "SELECT A, NOMBRE FROM T ORDER BY A ",
         "SELECT A, NOMBRE FROM T ORDER BY A ",
         "NOMBRE",
         "ab",
         true,
         "SELECT A, NOMBRE FROM T  where NOMBRE like '%ab%' ORDER BY A ",
         "ORDER BY A "},
        {"a second filter",
         "SELECT A, NOMBRE FROM T  where LTRIM(NOMBRE) like 'ab%' ORDER BY A  ",
         "SELECT A, NOMBRE FROM T  where LTRIM(NOMBRE) like 'ab%' ORDER BY A  ",
         "A",
         "x",
         false,
         "SELECT A, NOMBRE FROM T  where LTRIM(NOMBRE) like 'ab%'  and LTRIM(A) like 'x%' ORDER BY A  ",
         "ORDER BY A  "},
        {"WHERE, no order",
         "select A from T where B = 1 ",
         "select A from T where B = 1 ",
         "A",
         "x",
         true,
         "select A from T where B = 1  and A like '%x%' ",
         ""},
        {"order without order by: the last load's statement",
         "SELECT ORDEN FROM T ",
         "SELECT ORDEN FROM T ",
         "ORDEN",
         "1",
         false,
         "SELECT ORDEN FROM T  where LTRIM(ORDEN) like '1%' ",
         ""},
        {"lower-case order by",
         "select A from T order by A desc ",
         "select A from T order by A desc ",
         "A",
         "q",
         false,
         "select A from T  where LTRIM(A) like 'q%' order by A desc ",
         "order by A desc "},
        {"* in begins-with",
         "select A from T ",
         "select A from T ",
         "A",
         "a*b",
         false,
         "select A from T  where LTRIM(A) like 'a%b%' ",
         ""},
        {"* in contains",
         "select A from T ",
         "select A from T ",
         "A",
         "a*b",
         true,
         "select A from T  where A like '%a*b%' ",
         ""},
        {"a quote",
         "select A from T ",
         "select A from T ",
         "A",
         "O'Brien",
         false,
         "select A from T  where LTRIM(A) like 'O''Brien%' ",
         ""},
        {"a quote, contains",
         "select A from T ",
         "select A from T ",
         "A",
         "x' or '1'='1",
         true,
         "select A from T  where A like '%x'' or ''1''=''1%' ",
         ""},
        {"stock prefix",
         "select stk_ma_articulos.DESCRIPCION from stk_ma_articulos ",
         "select stk_ma_articulos.DESCRIPCION from stk_ma_articulos ",
         "DESCRIPCION",
         "t",
         true,
         "select stk_ma_articulos.DESCRIPCION from stk_ma_articulos  where stk_ma_articulos.DESCRIPCION like '%t%' ",
         ""},
        {"article prefix wins",
         "select V_MA_ARTICULOS.A, stk_ma_articulos.B from x ",
         "select V_MA_ARTICULOS.A, stk_ma_articulos.B from x ",
         "B",
         "t",
         false,
         "select V_MA_ARTICULOS.A, stk_ma_articulos.B from x  where LTRIM(v_ma_articulos.B) like 't%' ",
         ""},
        {"order by inside an earlier filter's quotes is no clause",
         "select A from T  where LTRIM(A) like 'order by%' ",
         "select A from T  where LTRIM(A) like 'order by%' ",
         "B",
         "1; DELETE FROM T --",
         false,
         "select A from T  where LTRIM(A) like 'order by%'  and LTRIM(B) like '1; DELETE FROM T --%' ",
         ""},
        {"where only in quotes, and in a name",
         "select [where] from T order by 'where' ",
         "select [where] from T order by 'where' ",
         "A",
         "x",
         true,
         "select [where] from T  where A like '%x%' order by 'where' ",
         "order by 'where' "},
        {"an article table named only in quotes gives no prefix",
         "select A from T  where A like '%v_ma_articulos.%' ",
         "select A from T  where A like '%v_ma_articulos.%' ",
         "B",
         "t",
         true,
         "select A from T  where A like '%v_ma_articulos.%'  and B like '%t%' ",
         ""},
        {"empty text",
         "select A from T ",
         "select A from T ",
         "A",
         "",
         false,
         "select A from T  where LTRIM(A) like '%' ",
         ""},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        const SentenciaFiltrada r = ArmaFiltroServidor(QString::fromUtf8(c.sql),
                                                       QString::fromUtf8(c.sinOrden),
                                                       QString::fromUtf8(c.campo),
                                                       QString::fromUtf8(c.texto),
                                                       c.contiene);
        EXPECT_EQ(r.SQL, QString::fromUtf8(c.resultado));
        EXPECT_EQ(r.SentenciaSinOrden, r.SQL);
        EXPECT_EQ(r.ClausulaOrden, QString::fromUtf8(c.orden));
    }
}

TEST(FiltroServidor, TheBoxKeepsWhatWasTyped)
{
    EXPECT_EQ(TextoCajaFiltro(QStringLiteral("a*b*"), false), QStringLiteral("a%b%"));
    EXPECT_EQ(TextoCajaFiltro(QStringLiteral("a*b'"), true), QStringLiteral("a*b'"));
    EXPECT_EQ(TextoCajaFiltro(QStringLiteral("O'Brien"), false), QStringLiteral("O'Brien"));
}

} // namespace
