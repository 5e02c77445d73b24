#include "database/campos.h"
#include "tests/support/empresa.h"
#include "tests/support/error_provocado.h"

#include "database/db_dll.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class CamposTest : public Empresa
{
protected:
    void SetUp() override
    {
        Empresa::SetUp();
        Ejecuta({
            QStringLiteral("CREATE TABLE LECTURAS (Id INT, Codigo VARCHAR(10), Cantidad FLOAT, Alta DATETIME)"),
            QStringLiteral("INSERT INTO LECTURAS VALUES (1, '  AB  ', 12.5, '2024-01-05')"),
            QStringLiteral("INSERT INTO LECTURAS VALUES (2, NULL, NULL, NULL)"),
            QStringLiteral("INSERT INTO LECTURAS VALUES (3, '', 0, NULL)"),
        });
    }
    void Lee(int id)
    {
        rs.Open(QStringLiteral("SELECT Codigo, Cantidad, Alta FROM LECTURAS WHERE Id = %1").arg(id), gDB().gCnn());
        ASSERT_FALSE(rs.Eof());
    }
    ado::Recordset rs;
};

// Every form reads one row alike: by name or by position, Null as the empty
// text, a value that is there with its own type and blanks.
TEST_F(CamposTest, NullReadsAsEmptyTextAndAValueKeepsItsType)
{
    const struct
    {
        const char *nombre;
        int id;
        const char *columna;
        int indice;
        bool nulo;
        const char *sinRecortar;
        const char *recortado;
        Variant::Type tipo;
    } cases[] = {
        {"a text with blanks", 1, "Codigo", 0, false, "  AB  ", "AB", Variant::Type::String},
        {"a Null text", 2, "Codigo", 0, true, "", "", Variant::Type::String},
        {"an empty text is not Null", 3, "Codigo", 0, false, "", "", Variant::Type::String},
        {"a number keeps its type", 1, "Cantidad", 1, false, "12.5", "12.5", Variant::Type::Double},
        {"a Null number", 2, "Cantidad", 1, true, "", "", Variant::Type::String},
        {"a Null date", 2, "Alta", 2, true, "", "", Variant::Type::String},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.nombre);
        Lee(c.id);
        const QString columna = QString::fromLatin1(c.columna);
        EXPECT_EQ(EsNulo(rs, columna), c.nulo);
        EXPECT_EQ(CampoSinRecortar(rs, columna), QString::fromLatin1(c.sinRecortar));
        EXPECT_EQ(Campo(rs, columna), QString::fromLatin1(c.recortado));
        EXPECT_EQ(TextoNoNulo(rs.Fields(columna).Value()), QString::fromLatin1(c.sinRecortar));
        const Variant porNombre = CampoValor(rs, columna);
        const Variant porIndice = CampoValor(rs, c.indice);
        EXPECT_EQ(porNombre.type(), c.tipo);
        EXPECT_EQ(porIndice.type(), c.tipo);
        EXPECT_EQ(porIndice.toString(), porNombre.toString());
        rs.Close();
    }
}

// Callers tell a list without a column by the recordset's own error: no
// form may read a missing field as Null.
TEST_F(CamposTest, AFieldTheRowLacksIsItemNotFound)
{
    Lee(1);
    const std::function<void()> lecturas[] = {
        [&] { Campo(rs, QStringLiteral("NoEsta")); },
        [&] { CampoValor(rs, QStringLiteral("NoEsta")); },
        [&] { CampoValor(rs, 3); },
        [&] { EsNulo(rs, QStringLiteral("NoEsta")); },
    };
    for (const auto &leer : lecturas)
        EXPECT_EQ(RaisedNumber(leer), vberr::ItemNotFound);
}

} // namespace
