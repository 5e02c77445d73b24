#include "database/db_dll.h"

#include <gtest/gtest.h>

namespace {

struct NombreCase
{
    const char *entrada;
    const char *resultado;
    const char *variable; // the caller's variable afterwards
};

template<std::size_t N, typename F>
void Recorre(const NombreCase (&cases)[N], F op)
{
    for (const auto &c : cases) {
        SCOPED_TRACE(c.entrada);
        QString nombre = QString::fromUtf8(c.entrada);
        EXPECT_EQ(op(nombre), QString::fromUtf8(c.resultado));
        EXPECT_EQ(nombre, QString::fromUtf8(c.variable));
    }
}

TEST(SchemaNames, StripOwnerAndStSTF)
{
    DB_Dll db;
    const NombreCase owner[] = {
        {"dbo.CLIENTES", "CLIENTES", "CLIENTES"},
        {"CLIENTES", "CLIENTES", "CLIENTES"},
        {"db.dbo.CLIENTES", "dbo.CLIENTES", "dbo.CLIENTES"},
    };
    Recorre(owner, [&](QString &n) { return db.StripOwner(n); });

    const NombreCase ultima[] = {
        {"db.dbo.CLIENTES", "dbo.CLIENTES", "dbo.CLIENTES"}, // three parts: the first goes
        {"dbo.CLIENTES", "CLIENTES", "dbo.CLIENTES"},
        {"CLIENTES", "CLIENTES", "CLIENTES"},
    };
    Recorre(ultima, [&](QString &n) { return db.stSTF(n, 1); });

    const NombreCase primera[] = {
        {"db.dbo.CLIENTES", "dbo.CLIENTES", "dbo.CLIENTES"},
        {"dbo.CLIENTES", "dbo", "dbo.CLIENTES"},
        {"CLIENTES", "CLIENTES", "CLIENTES"},
    };
    Recorre(primera, [&](QString &n) { return db.stSTF(n, 0); });
}

TEST(SchemaNames, BracketsConnectAndFolders)
{
    DB_Dll db;
    const NombreCase brackets[] = {
        {"MI TABLA", "[MI TABLA]", "MI TABLA"},
        {"[MI TABLA]", "[MI TABLA]", "[MI TABLA]"},
        {"TABLA", "TABLA", "TABLA"},
    };
    Recorre(brackets, [&](QString &n) { return db.AddBrackets(n); });

    const NombreCase sinBrackets[] = {
        {"[MI TABLA]", "MI TABLA", "[MI TABLA]"},
        {"TABLA", "TABLA", "TABLA"},
        {"[", "", "["},
        {"[]", "", "[]"},
    };
    Recorre(sinBrackets, [&](QString &n) { return db.StripBrackets(n); });

    const NombreCase connect[] = {
        {"TABLA ->BASE", "TABLA", "TABLA ->BASE"},
        {"TABLA", "TABLA", "TABLA"},
        {"->BASE", "", "->BASE"},
        {"a->b", "", "a->b"},
    };
    Recorre(connect, [&](QString &n) { return db.StripConnect(n); });

    const NombreCase carpetas[] = {
        {"C:\\VG\\datos.mdb", "C:\\VG", "C:\\VG\\datos.mdb"},
        {"/opt/vg/datos.db", "/opt/vg", "/opt/vg/datos.db"},
        {"datos.mdb", "", "datos.mdb"},
        {"/datos.db", "", "/datos.db"},
    };
    Recorre(carpetas, [&](QString &n) { return db.StripFileName(n); });
}

TEST(SchemaNames, ProviderNames)
{
    DB_Dll db;
    EXPECT_EQ(db.pSQLOLEDB(), QStringLiteral("SQLOLEDB"));
    EXPECT_EQ(db.pJETOLEDB40(), QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    EXPECT_EQ(db.pJETOLEDB35(), QStringLiteral("Microsoft.Jet.OLEDB.3.51"));
}

} // namespace
