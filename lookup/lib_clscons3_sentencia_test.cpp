// The statement a lookup shows, built from a mask, from the table's fields or
// passed through, and what the caller's variables hold afterwards.
#include "lookup/lib_clscons3.h"

#include "tests/support/empresa_consulta.h"

namespace {

class Sentencia : public ConConsultas
{
protected:
    struct Resultado
    {
        std::optional<QString> sentencia;
        QString campo;
        QString where;
    };
    Resultado arma(const QString &sql,
                   const QString &campo = {},
                   const QString &where = {},
                   const QString &opcional = {})
    {
        Resultado r{std::nullopt, campo, where};
        r.sentencia = driver().ArmaSentenciaConsulta(sql, r.campo, r.where, opcional);
        return r;
    }
};

// Masks as start-up writes them, plus a few of the test's own.
const std::initializer_list<MascaraPrueba> kMascaras = {
    {"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|", ""},
    {"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|", ""},
    {"PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|", ""},
    {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|", ""},
    {"TECNICOS 2", "V_TA_TECNICOS", "|IDTECNICO|NOMBRE|", ""},
    {"UNIDADES", "V_TA_UNIDAD", "", ""},
    {"DEPOSITOS", "V_TA_DEPOSITO", "|DESCRIPCION|", ""},
    {"PROVEEDORES DE BAJA", "  vt_proveedores_baja", "|RAZON_SOCIAL|CODIGO|", "Dada_De_Baja = 1"},
};

TEST_F(Sentencia, MaskRoad)
{
    mascaras(kMascaras);
    Ejecuta(QStringLiteral("CREATE VIEW vt_proveedores_baja AS SELECT * FROM VT_PROVEEDORES"));
    struct Caso
    {
        const char *sql, *campo, *where;
        const char *sentencia, *campoDespues;
    };
    const Caso casos[] = {
        // Found without regard to case or surrounding blanks; the default filter of the view.
        {"  vt_clientes ",
         "",
         "",
         "SELECT TOP 1000 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES WHERE Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL",
         "RAZON_SOCIAL"},
        {"V_MA_ARTICULOS",
         "",
         "",
         "SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS WHERE SUSPENDIDO = 0 ORDER BY DESCRIPCION",
         "DESCRIPCION"},
        // The caller's search column stays and orders the list.
        {"VT_PROVEEDORES",
         "CODIGO",
         "",
         "SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM VT_PROVEEDORES WHERE Dada_De_Baja = 0 ORDER BY CODIGO",
         "CODIGO"},
        // Where over the default filter, wrapped.
        {"VT_PROVEEDORES",
         "",
         "CODIGO > '1'",
         "SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM VT_PROVEEDORES WHERE  (CODIGO > '1')  ORDER BY RAZON_SOCIAL",
         "RAZON_SOCIAL"},
        {"v_ma_articulos",
         "",
         "(IDUNIDAD = '  UN')",
         "SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS WHERE (IDUNIDAD = '  UN') ORDER BY DESCRIPCION",
         "DESCRIPCION"},
        // The mask's own filter over Where.
        {"VT_PROVEEDORES_BAJA",
         "",
         "CODIGO > '1'",
         "SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM vt_proveedores_baja WHERE Dada_De_Baja = 1 ORDER BY RAZON_SOCIAL",
         "RAZON_SOCIAL"},
        // The first of two records for one view; a view with no default filter.
        {"V_TA_TECNICOS", "", "", "SELECT TOP 1000 NOMBRE,IDTECNICO FROM V_TA_TECNICOS ORDER BY NOMBRE", "NOMBRE"},
        {"V_TA_TECNICOS",
         "",
         "NOMBRE <> ''",
         "SELECT TOP 1000 NOMBRE,IDTECNICO FROM V_TA_TECNICOS WHERE  (NOMBRE <> '')  ORDER BY NOMBRE",
         "NOMBRE"},
        // An empty column list selects every column when the caller names the search column.
        {"V_TA_UNIDAD", "IDUNIDAD", "", "SELECT TOP 1000 * FROM V_TA_UNIDAD ORDER BY IDUNIDAD", "IDUNIDAD"},
        {"V_TA_DEPOSITO",
         "IDDEPOSITO",
         "",
         "SELECT TOP 1000 DESCRIPCION FROM V_TA_DEPOSITO ORDER BY IDDEPOSITO",
         "IDDEPOSITO"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.sql + std::string(" / ") + c.campo + " / " + c.where);
        [&] {
            const Resultado r = arma(QString::fromLatin1(c.sql),
                                     QString::fromLatin1(c.campo),
                                     QString::fromLatin1(c.where));
            ASSERT_TRUE(r.sentencia);
            EXPECT_EQ(*r.sentencia, QString::fromLatin1(c.sentencia));
            EXPECT_EQ(r.campo, QString::fromLatin1(c.campoDespues));
            EXPECT_NO_THROW(filas(*r.sentencia)) << "the statement opens on the schema";
        }();
    }
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Sentencia, MaskWithoutTwoColumnsAndNoSearchColumnTellsTheOperator)
{
    mascaras(kMascaras);
    for (const char *vista : {"V_TA_UNIDAD", "V_TA_DEPOSITO"}) {
        SCOPED_TRACE(vista);
        [&] {
            operador.clear();
            const Resultado r = arma(QString::fromLatin1(vista), QString(), QStringLiteral("x = 1"));
            EXPECT_FALSE(r.sentencia);
            EXPECT_TRUE(r.campo.isEmpty());
            EXPECT_EQ(r.where, QStringLiteral(" (x = 1) ")) << "Where is wrapped on every road";
            ASSERT_EQ(operador.requests().size(), 1u);
            const ui::Request &m = operador.last();
            EXPECT_EQ(m.prompt, QStringLiteral("Debe configurar la consulta para esta tabla"));
            EXPECT_EQ(m.title, QStringLiteral("Aviso al operador"));
            EXPECT_EQ(m.icon, ui::vbInformation);
            EXPECT_EQ(m.buttons, QStringList{QStringLiteral("Aceptar")});
        }();
    }
}

TEST_F(Sentencia, ViewNamesCleanedOfNulsAndByte255)
{
    TipoMascaraConsulta m;
    m.NombreMascara = QStringLiteral("VENDEDORES");
    m.VistaMascara = QStringLiteral("V_TA_VEN") + QChar(0) + QStringLiteral("DEDORES") + QChar(0xFF);
    m.CamposMascara = QStringLiteral("|NOMBRE|IDVENDEDOR|");
    m.FiltroMascara = QChar(0) + QStringLiteral(" NOMBRE <> 'X' ") + QChar(0xFF);
    QByteArray bytes = m.aBytes();
    // A last record cut short (an interrupted write) is no mask: the lookup
    // goes without one, from the table's own columns and under the name as
    // asked, not the mask's view.
    escribeMascaras(bytes.left(700));
    const Resultado r = arma(QStringLiteral("v_ta_vendedores"));
    ASSERT_TRUE(r.sentencia);
    EXPECT_EQ(*r.sentencia, QStringLiteral("SELECT TOP 1000 NOMBRE,IDVENDEDOR FROM v_ta_vendedores ORDER BY NOMBRE"));

    escribeMascaras(bytes);
    EXPECT_EQ(*arma(QStringLiteral("V_TA_VENDEDORES")).sentencia,
              QStringLiteral(
                  "SELECT TOP 1000 NOMBRE,IDVENDEDOR FROM V_TA_VENDEDORES WHERE NOMBRE <> 'X' ORDER BY NOMBRE"));
}

TEST_F(Sentencia, FallbackBuildsTheColumnsFromTheTableReversed)
{
    Ejecuta(
        QStringLiteral("CREATE TABLE PRUEBA_ITEMS (ID int, CODIGO varchar(10), DESCRIPCION varchar(60), PRECIO1 money, "
                       "FECHAHORA_GRABACION datetime)"));
    Ejecuta(QStringLiteral(
        "CREATE TABLE PRUEBA_NOTAS (ID int, NOMBRE varchar(10), CODIGO varchar(4), DETALLE varchar(60))"));
    mascaras(kMascaras);
    struct Caso
    {
        const char *sql, *campo, *opcional;
        const char *sentencia, *campoDespues;
    };
    const Caso casos[] = {
        {"PRUEBA_ITEMS",
         "",
         "",
         "SELECT TOP 1000 PRECIO1,DESCRIPCION,CODIGO FROM PRUEBA_ITEMS ORDER BY DESCRIPCION",
         "DESCRIPCION"},
        // The last of DESCRIPCION, NOMBRE and DETALLE wins over the caller's column.
        {"PRUEBA_NOTAS",
         "CODIGO",
         "",
         "SELECT TOP 1000 DETALLE,CODIGO,NOMBRE FROM PRUEBA_NOTAS ORDER BY DETALLE",
         "DETALLE"},
        // Without one of them, the first field.
        {"V_MA_PRECIOS",
         "LISTA",
         "",
         "SELECT TOP 1000 PRECIO,LISTA,IDARTICULO FROM V_MA_PRECIOS ORDER BY IDARTICULO",
         "IDARTICULO"},
        // The caller's statement, unchanged, for a name without a mask.
        {"PRUEBA_ITEMS", "CODIGO", "select CODIGO from PRUEBA_ITEMS", "select CODIGO from PRUEBA_ITEMS", "CODIGO"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.sql);
        [&] {
            const Resultado r = arma(QString::fromLatin1(c.sql),
                                     QString::fromLatin1(c.campo),
                                     QStringLiteral("x = 1"),
                                     QString::fromLatin1(c.opcional));
            ASSERT_TRUE(r.sentencia);
            EXPECT_EQ(*r.sentencia, QString::fromLatin1(c.sentencia)) << "no filter on this road";
            EXPECT_EQ(r.campo, QString::fromLatin1(c.campoDespues));
            EXPECT_NO_THROW(filas(*r.sentencia));
        }();
    }
    // The optional statement is only for a name without a mask.
    EXPECT_EQ(*arma(QStringLiteral("V_TA_TECNICOS"), {}, {}, QStringLiteral("select 1")).sentencia,
              QStringLiteral("SELECT TOP 1000 NOMBRE,IDTECNICO FROM V_TA_TECNICOS ORDER BY NOMBRE"));
}

TEST_F(Sentencia, MasksOffOrNoFileTakeTheFallback)
{
    const QString esperada = QStringLiteral("SELECT TOP 1000 NOMBRE,IDTECNICO FROM V_TA_TECNICOS ORDER BY NOMBRE");
    // With no file yet the fallback reads the table's fields.
    EXPECT_EQ(*arma(QStringLiteral("V_TA_TECNICOS")).sentencia,
              QStringLiteral("SELECT TOP 1000 NOMBRE,IDTECNICO FROM V_TA_TECNICOS ORDER BY NOMBRE"));
    mascaras({{"TECNICOS", "V_TA_TECNICOS", "|IDTECNICO|", "NOMBRE = 'X'"}});
    driver().gUsarMascarasConsultas = false;
    EXPECT_EQ(*arma(QStringLiteral("V_TA_TECNICOS")).sentencia, esperada);
    // A folder where the file should be.
    driver().gUsarMascarasConsultas = true;
    driver().gRutaMascaraConsultas = dir.path();
    EXPECT_EQ(*arma(QStringLiteral("V_TA_TECNICOS")).sentencia, esperada);
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Sentencia, FallbackOnAMissingTableSelectsEverything)
{
    operador.answer(ui::vbOK);
    const Resultado r = arma(QStringLiteral("NO_EXISTE"), QStringLiteral("CODIGO"));
    ASSERT_TRUE(r.sentencia);
    EXPECT_EQ(*r.sentencia, QStringLiteral("SELECT TOP 1000  *  FROM NO_EXISTE ORDER BY CODIGO"));
    EXPECT_GE(operador.requests().size(), 1u) << "the data layer told the operator";
}

TEST_F(Sentencia, SelectPassesThroughOnArticlesView)
{
    mascaras(kMascaras);
    Configura(QStringLiteral("TopConsArt"), QStringLiteral("5"));
    const char *casos[][2] = {
        {"select IDARTICULO from V_MA_ARTICULOS where IDARTICULO like 'A%'",
         "select IDARTICULO from VT_MA_ARTICULOS where IDARTICULO like 'A%'"},
        {"Select * From v_ma_articulos, V_MA_ARTICULOS", "Select * From VT_MA_ARTICULOS, VT_MA_ARTICULOS"},
        {"SELECT * FROM VT_CLIENTES", "SELECT * FROM VT_CLIENTES"},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c[0]);
        [&] {
            const Resultado r = arma(QString::fromLatin1(c[0]), QString(), QStringLiteral("a = 1"));
            ASSERT_TRUE(r.sentencia);
            EXPECT_EQ(*r.sentencia, QString::fromLatin1(c[1])) << "no limit, filter or order";
            EXPECT_TRUE(r.campo.isEmpty());
            EXPECT_EQ(r.where, QStringLiteral(" (a = 1) "));
        }();
    }
}

TEST_F(Sentencia, WhereWrapping)
{
    const char *casos[][2] = {
        {"", ""},
        {"x", "x"},
        {"  x  ", "  x  "}, // one character once trimmed
        {"a=1", " (a=1) "},
        {"(a=1) or (b=2)", "(a=1) or (b=2)"},
        {" (a=1)", " ( (a=1)) "},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(arma(QStringLiteral("select 1"), {}, QString::fromLatin1(c[0])).where, QString::fromLatin1(c[1]));
    }
}

TEST_F(Sentencia, RowLimitFromTopConsArt)
{
    mascaras(kMascaras);
    const char *casos[][2] = {
        {nullptr, "1000"}, // no row
        {" ", "1000"},
        {"0", "1000"},
        {"abc", "1000"},
        {"250", "250"},
        {"250.5", "250"},
        {"251.5", "252"},
        {"  75 filas", "75"},
        {"1E12", "1000"}, // beyond a whole number: the default stays
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c[0] ? c[0] : "(missing)");
        Ejecuta(QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE CLAVE = 'TopConsArt'"));
        if (c[0])
            Configura(QStringLiteral("TopConsArt"), QString::fromLatin1(c[0]));
        EXPECT_EQ(*arma(QStringLiteral("V_TA_TECNICOS")).sentencia,
                  QStringLiteral("SELECT TOP %1 NOMBRE,IDTECNICO FROM V_TA_TECNICOS ORDER BY NOMBRE")
                      .arg(QString::fromLatin1(c[1])));
    }
}

} // namespace
