#include "stock/ast.h"
#include "stock/numeracion_stock.h"
#include "tests/support/numeracion.h"

#include "tests/support/grabacion.h"
#include "tests/support/impresion_qt.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

const QString kTodosUsados = QStringLiteral(
    "Todos los talonarios del comprobante   PE se encuentran utilizados, debe dar de alta un nuevo talonario para "
    "el comprobante   PE");

// What the book choice gives back.
struct Propuesta
{
    QString sucursal = QStringLiteral("entrada");
    QString numero = QStringLiteral("entrada");
    QString letra;
    QString hasta = QStringLiteral("entrada");
    bool modifica = false;
};

// A book of the type whose last number is given.
Libro DelTipo(const char *codigo, const char *ultimo = "120")
{
    return Con(Con(Libro(), &Libro::codigo, codigo), &Libro::ultimo, ultimo);
}

// The next stock id of type PE, with what the call leaves in the branch and the letter.
struct IdAsignado
{
    Variant id;
    QString sucursal;
    QString letra;
};

IdAsignado Asigna(const QString &sucursal = QStringLiteral("0001"))
{
    IdAsignado r{Variant(), sucursal, QStringLiteral("X")};
    r.id = AsignarNumeroComprobante(QStringLiteral("PE"), r.sucursal, r.letra);
    return r;
}

class Talonarios : public BaseNumeracion
{
protected:
    Propuesta Elige(const QString &letra,
                    const QString &fecha = QString(),
                    const QString &unegocio = QStringLiteral("   1"),
                    const QString &tipo = QStringLiteral("  PE"))
    {
        Propuesta p;
        p.letra = letra;
        Obtener_Nro_Comprobante_Contable(tipo, p.sucursal, p.numero, p.letra, p.modifica, fecha, unegocio, p.hasta);
        return p;
    }
};

TEST_F(Talonarios, TheBookIsChosenByOrderRangeExpiryAndUnit)
{
    const Libro base;
    auto libro = [&](int talonario, std::initializer_list<std::pair<QString Libro::*, const char *>> cambios) {
        Libro l = base;
        l.talonario = talonario;
        for (const auto &[campo, valor] : cambios)
            l = Con(l, campo, valor);
        return l;
    };
    // A case gives what differs from a first book of unit 1 asked for letter X.
    const struct
    {
        const char *nombre;
        std::vector<Libro> libros;
        const char *letra = "X";
        const char *fecha = "";
        const char *unegocio = "   1";
        // expected
        const char *sucursal = "0001";
        const char *numero = "00000001";
        const char *letraFinal = "X";
        const char *hasta = "99999999";
        int talonario = 1; // TalonarioActual, 9 when left as it was
        bool modifica = false;
        bool todosUsados = false;
    } casos[] = {
        {.nombre = "a fresh book proposes 1", .libros = {libro(1, {})}},
        {.nombre = "the column holds the next number",
         .libros = {libro(1, {{&Libro::ultimo, "57"}, {&Libro::hasta, "500"}, {&Libro::sucursal, "3"}})},
         .sucursal = "0003",
         .numero = "00000057",
         .hasta = "00000500"},
        {.nombre = "numbers compare by value",
         .libros = {libro(1, {{&Libro::ultimo, "57"}, {&Libro::hasta, "100"}})},
         .numero = "00000057",
         .hasta = "00000100"},
        {.nombre = "a book issues its last number",
         .libros = {libro(1, {{&Libro::ultimo, "500"}, {&Libro::hasta, "500"}})},
         .numero = "00000500",
         .hasta = "00000500"},
        {.nombre = "an exhausted first book gives way",
         .libros = {libro(1, {{&Libro::ultimo, "501"}, {&Libro::hasta, "500"}}), libro(2, {{&Libro::ultimo, "7"}})},
         .numero = "00000007",
         .talonario = 2},
        {.nombre = "a fresh book starts at its first number",
         .libros = {libro(1, {{&Libro::desde, "1001"}, {&Libro::hasta, "2000"}})},
         .numero = "00001001",
         .hasta = "00002000"},
        {.nombre = "a current number below the range moves up to it",
         .libros = {libro(1, {{&Libro::ultimo, "57"}, {&Libro::desde, "1001"}, {&Libro::hasta, "2000"}})},
         .numero = "00001001",
         .hasta = "00002000"},
        {.nombre = "the first book used up, the next one fresh",
         .libros = {libro(1, {{&Libro::ultimo, "1001"}, {&Libro::hasta, "1000"}}),
                    libro(2, {{&Libro::desde, "1001"}, {&Libro::hasta, "2000"}})},
         .numero = "00001001",
         .hasta = "00002000",
         .talonario = 2},
        {.nombre = "a range past 99999999 ends there",
         .libros = {libro(1, {{&Libro::ultimo, "99999999"}, {&Libro::hasta, "200000000"}})},
         .numero = "99999999"},
        {.nombre = "... and is used up after it",
         .libros = {libro(1, {{&Libro::ultimo, "100000000"}, {&Libro::hasta, "200000000"}})},
         .sucursal = "entrada",
         .numero = "entrada",
         .hasta = "entrada",
         .talonario = 9,
         .todosUsados = true},
        {.nombre = "a range without an end issues nothing",
         .libros = {libro(1, {{&Libro::hasta, "NULL"}})},
         .sucursal = "entrada",
         .numero = "entrada",
         .hasta = "entrada",
         .talonario = 9,
         .todosUsados = true},
        {.nombre = "every book exhausted",
         .libros = {libro(1, {{&Libro::ultimo, "501"}, {&Libro::hasta, "500"}}),
                    libro(2, {{&Libro::ultimo, "600"}, {&Libro::hasta, "20"}})},
         .sucursal = "entrada",
         .numero = "entrada",
         .hasta = "entrada",
         .talonario = 9,
         .todosUsados = true},
        {.nombre = "every book expired",
         .libros = {libro(1, {{&Libro::vence, "'01/03/2024'"}})},
         .fecha = "02/03/2024",
         .sucursal = "entrada",
         .numero = "entrada",
         .hasta = "entrada",
         .talonario = 9},
        {.nombre = "expiry is by the day, not by the text",
         .libros = {libro(1, {{&Libro::vence, "'01/04/2024'"}})},
         .fecha = "15/03/2024"},
        {.nombre = "a book is good on its expiry day",
         .libros = {libro(1, {{&Libro::vence, "'15/03/2024'"}})},
         .fecha = "15/03/2024 18:30"},
        {.nombre = "an expired book is skipped",
         .libros = {libro(1, {{&Libro::vence, "'14/03/2024'"}}), libro(2, {{&Libro::ultimo, "30"}})},
         .fecha = "15/03/2024",
         .numero = "00000030",
         .talonario = 2},
        {.nombre = "an exhausted book before an expired one is still reported",
         .libros = {libro(1, {{&Libro::ultimo, "501"}, {&Libro::hasta, "500"}}),
                    libro(2, {{&Libro::vence, "'14/03/2024'"}})},
         .fecha = "15/03/2024",
         .sucursal = "entrada",
         .numero = "entrada",
         .hasta = "entrada",
         .talonario = 9,
         .todosUsados = true},
        {.nombre = "no date: expiry does not count", .libros = {libro(1, {{&Libro::vence, "'01/01/2020'"}})}},
        {.nombre = "the user's unit first",
         .libros = {libro(1, {}), libro(2, {{&Libro::unegocio, "   2"}, {&Libro::ultimo, "80"}})},
         .unegocio = "   2",
         .numero = "00000080",
         .talonario = 2},
        {.nombre = "no book of the unit: any of the type",
         .libros = {libro(3, {{&Libro::unegocio, "   5"}, {&Libro::ultimo, "11"}}),
                    libro(4, {{&Libro::unegocio, "   6"}})},
         .unegocio = "   2",
         .numero = "00000011",
         .talonario = 3},
        {.nombre = "no unit: any of the type",
         .libros = {libro(3, {{&Libro::unegocio, "   5"}, {&Libro::ultimo, "11"}})},
         .unegocio = "",
         .numero = "00000011",
         .talonario = 3},
        {.nombre = "a letter the book does not issue",
         .libros = {libro(1, {{&Libro::letras, "AB"}, {&Libro::letra, "A"}, {&Libro::ultimo, "4"}})},
         .letra = "C",
         .numero = "00000004",
         .letraFinal = "A"},
        {.nombre = "a blank letter is X",
         .libros = {libro(1, {{&Libro::letras, "AXB"}, {&Libro::ultimo, "4"}})},
         .letra = "  ",
         .numero = "00000004"},
        {.nombre = "the letter searched ignoring case",
         .libros = {libro(1, {{&Libro::letras, "ab"}, {&Libro::letra, "B"}, {&Libro::ultimo, "4"}})},
         .letra = "b",
         .numero = "00000004",
         .letraFinal = "b"},
        {.nombre = "a book without letters issues X",
         .libros = {libro(1, {{&Libro::letras, ""}, {&Libro::ultimo, "4"}})},
         .letra = "A",
         .numero = "00000004"},
        {.nombre = "the operator may change the number",
         .libros = {libro(1, {{&Libro::modifica, "1"}})},
         .modifica = true},
        {.nombre = "a Null switch reads as on", .libros = {libro(1, {{&Libro::modifica, "NULL"}})}, .modifica = true},
        {.nombre = "no book at all",
         .libros = {libro(1, {{&Libro::codigo, "  RM"}})},
         .letra = "A",
         .sucursal = "1",
         .numero = "1",
         .hasta = "entrada",
         .talonario = 9},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        Ejecuta(QStringLiteral("DELETE FROM V_TA_CPTE"));
        Libros(c.libros);
        TalonarioActual = 9;
        operador.clear();
        const Propuesta p = Elige(QString::fromUtf8(c.letra), QString::fromUtf8(c.fecha), QString::fromUtf8(c.unegocio));
        EXPECT_EQ(p.sucursal, QString::fromUtf8(c.sucursal));
        EXPECT_EQ(p.numero, QString::fromUtf8(c.numero));
        EXPECT_EQ(p.letra, QString::fromUtf8(c.letraFinal));
        EXPECT_EQ(p.hasta, QString::fromUtf8(c.hasta));
        EXPECT_EQ(TalonarioActual, c.talonario);
        EXPECT_EQ(p.modifica, c.modifica);
        EXPECT_EQ(operador.prompts(), c.todosUsados ? QStringList{kTodosUsados} : QStringList{});
        if (c.todosUsados) {
            EXPECT_EQ(operador.last().style, ui::vbOKOnly);
            EXPECT_TRUE(operador.last().title.isNull());
        }
    }
}

TEST_F(Talonarios, AVoucherDateThatIsNoDateGoesToTheErrorTreatment)
{
    Libros({Libro()});
    operador.answer(ui::vbIgnore);
    const Propuesta ignorada = Elige(QStringLiteral("X"), QStringLiteral("32/13/2024"));
    ASSERT_EQ(operador.requests().size(), 1u);
    EXPECT_TRUE(operador.requests()[0].title.contains(QStringLiteral("Obtener_Nro_Comprobante_Contable")));
    // Ignored: the choice goes on without an expiry test.
    EXPECT_EQ(ignorada.numero, QStringLiteral("00000001"));

    operador.clear();
    operador.answer(ui::vbAbort);
    const Propuesta dejada = Elige(QStringLiteral("X"), QStringLiteral("mañana"));
    EXPECT_EQ(dejada.numero, QStringLiteral("entrada"));
    EXPECT_EQ(operador.requests().size(), 1u);
}

TEST_F(Talonarios, TheBookReadHoldsItsRows)
{
    Libros({Libro()});
    Elige(QStringLiteral("X"), QString(), QStringLiteral("   2"));
    EXPECT_EQ(
        EnviadasCon(QStringLiteral("V_TA_CPTE")),
        (QStringList{"SELECT * FROM V_TA_CPTE WITH (UPDLOCK, ROWLOCK) WHERE CODIGO = '  PE' AND UNEGOCIO = '   2' "
                     "ORDER BY TALONARIO",
                     "SELECT * FROM V_TA_CPTE WITH (UPDLOCK, ROWLOCK) WHERE CODIGO = '  PE' ORDER BY TALONARIO"}));
}

TEST(TCEquivalente, TheTypeWhoseNumberingIsShared)
{
    // Configuration rows answer the configured types; the others need no database.
    auto &rec = AttachRecording(gDB().gCnn(), ado::Platform::SqlServer);
    ado::RowSet fila;
    fila.columns = {{QStringLiteral("VALOR"), ado::ColumnKind::Text, 20, {}, {}},
                    {QStringLiteral("valoraux"), ado::ColumnKind::Text, 20, {}, {}}};
    fila.rows = {{Variant("  FCC "), Variant("")}};
    rec.answer(QStringLiteral("CLAVE = 'EQU_FC'"), fila);
    ado::RowSet ninguna = fila;
    ninguna.rows.clear();
    rec.answer(QStringLiteral("CLAVE = 'EQU_"), ninguna);
    const struct
    {
        const char *tipo;
        const char *equivalente;
    } casos[] = {
        {"FC", "FCC"},
        {" fc ", "FCC"},
        {"NC", ""},
        {"CBFP", "CBFP"},
        {" gf", "gf"},
        {"NCCP", "NCCP"},
        {"RM", ""},
        {"", ""},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.tipo);
        EXPECT_EQ(ObtieneTCEquivalente(QString::fromUtf8(c.tipo)), QString::fromUtf8(c.equivalente));
    }
    EXPECT_EQ(rec.calls().filter(QStringLiteral("EQU_")).size(), 3);
    gDB().gCnn().Close();
}

// The proposal moved past what is already taken, type by type.
class Verificacion : public Talonarios
{
protected:
    Propuesta Verifica(const QString &tipo, const QString &letra = QStringLiteral("X"), bool verifica = true)
    {
        Propuesta p;
        p.letra = letra;
        Obtener_Nro_Comprobante(tipo,
                                p.sucursal,
                                p.numero,
                                p.letra,
                                p.modifica,
                                verifica,
                                QStringLiteral("no se usa"),
                                QStringLiteral("   1"));
        return p;
    }
    void Asiento(const char *tc, const char *numero, const char *sucursal = "0001", const char *letra = "X")
    {
        Ejecuta(
            QStringLiteral(
                "INSERT INTO MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA, SECUENCIA) VALUES ('%1', '%2', '%3', '%4', 1)")
                .arg(QLatin1String(tc), QLatin1String(sucursal), QLatin1String(numero), QLatin1String(letra)));
    }
    void Viaje(const char *tc, const char *id)
    {
        Ejecuta(QStringLiteral("INSERT INTO MV_VIAJES (TC, idcomprobante) VALUES ('%1', '%2')")
                    .arg(QLatin1String(tc), QLatin1String(id)));
    }
    void Venta(const char *tc, const char *id)
    {
        Ejecuta(QStringLiteral("INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, FECHA) VALUES ('%1', '%2', '01/01/2024')")
                    .arg(QLatin1String(tc), QLatin1String(id)));
    }
    void Control(const char *tc, const char *numero)
    {
        Ejecuta(
            QStringLiteral("INSERT INTO V_MV_CTROL_CPTE (TC, SUCURSAL, NUMERO, LETRA) VALUES ('%1', '0001', '%2', 'X')")
                .arg(QLatin1String(tc), QLatin1String(numero)));
    }
};

TEST_F(Verificacion, JournalEntriesMoveTheNumberPastTheHighestOne)
{
    Libros({Con(DelTipo(" CMV"), &Libro::sistema, "'Contable'")});
    // Both stored forms of the type count; other branches and letters do not.
    Asiento(" CMV", "00000120");
    Asiento("CMV", "00000130");
    Asiento(" CMV", "00000900", "0002");
    Asiento(" CMV", "00000950", "0001", "A");
    const Propuesta p = Verifica(QStringLiteral("CMV"));
    EXPECT_EQ(p.numero, QStringLiteral("00000131"));
    EXPECT_EQ(EnviadasCon(QStringLiteral("MAX(NUMERO)")),
              QStringList{
                  "SELECT MAX(NUMERO) AS ULTIMO From MV_ASIENTOS WHERE TC IN ('CMV',' CMV') AND SUCURSAL= '0001' "
                  "AND LETRA = 'X'"});
    // The control row of a number handed out only when no entry holds it.
    EXPECT_TRUE(EnviadasCon(QStringLiteral("V_MV_CTROL_CPTE")).isEmpty());
}

TEST_F(Verificacion, AFreeNumberOfAnUnlistedTypeLosesItsControlRow)
{
    Libros({DelTipo(" CMV"), DelTipo("  RM")});
    Control(" CMV", "00000120");
    Control("CMV", "00000120");
    Control(" CMV", "00000121");
    Control("  RM", "00000120");
    EXPECT_EQ(Verifica(QStringLiteral("CMV")).numero, QStringLiteral("00000120"));
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_CTROL_CPTE WHERE TC IN ('CMV', ' CMV')")), 1);
    EXPECT_EQ(Valor(QStringLiteral("SELECT NUMERO FROM V_MV_CTROL_CPTE WHERE TC IN ('CMV', ' CMV')")).toString(),
              QStringLiteral("00000121"));
    // A listed type keeps its control rows.
    EXPECT_EQ(Verifica(QStringLiteral("RM")).numero, QStringLiteral("00000120"));
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_CTROL_CPTE WHERE TC = '  RM'")), 1);
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Verificacion, TripsAndCashBillsMovePastTheStoredMaximum)
{
    Libros({DelTipo("  VJ", "40"), DelTipo("CBFP", "10")});
    const struct
    {
        const char *nombre;
        std::vector<std::pair<const char *, const char *>> viajes; // type as stored, id
        const char *tipo;
        const char *numero;
    } casos[] = {
        {"a free trip number", {{"  VJ", "000100000041X"}}, "VJ", "00000040"},
        {"a taken trip number: past the highest",
         {{"  VJ", "000100000040X"},
          {"VJ", "000100000044X"},
          {"  VJ", "000200000090X"},
          {"  VJ", "000100000095A"},
          {"  VA", "000100000099X"}},
         "VJ",
         "00000045"},
        {"the highest is the number itself", {{"  VJ", "000100000040X"}}, "VJ", "00000041"},
        {"taken as the trimmed type", {{"VJ", "000100000040X"}}, " vj", "00000041"},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        Ejecuta(QStringLiteral("DELETE FROM MV_VIAJES"));
        for (const auto &[tc, id] : c.viajes)
            Viaje(tc, id);
        EXPECT_EQ(Verifica(QString::fromUtf8(c.tipo)).numero, QString::fromUtf8(c.numero));
    }
    // Cash bills: the journal first, then the sales vouchers, never behind either.
    Asiento("CBFP", "00000010", "0001", "X");
    Asiento("CBFP", "00000011", "0001", "X");
    const struct
    {
        const char *venta;
        const char *numero;
    } facturas[] = {
        {"000100000015X", "00000016"},
        {"000100000012X", "00000013"},
        {"000100000009X", "00000012"},
    };
    for (const auto &f : facturas) {
        SCOPED_TRACE(f.venta);
        Ejecuta(QStringLiteral("DELETE FROM V_MV_CPTE"));
        Venta("CBFP", f.venta);
        EXPECT_EQ(Verifica(QStringLiteral("CBFP")).numero, QString::fromUtf8(f.numero));
    }
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Verificacion, PurchaseOrdersStayBelowTheirBooksEnd)
{
    const struct
    {
        const char *nombre;
        const char *hasta;
        std::vector<const char *> ids;
        const char *numero;
    } casos[] = {
        {"a free number", "500", {"000100000121A"}, "00000120"},
        {"taken: past the highest below the end", "500", {"000100000120A", "000100000130A", "000100000900A"}, "00000131"},
        {"taken, with a book up to the end of numbers", "99999999", {"000100000120A", "000100000900A"}, "00000901"},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        Ejecuta({QStringLiteral("DELETE FROM V_TA_CPTE"),
                 QStringLiteral("DELETE FROM C_MV_CPTE"),
                 QStringLiteral("DELETE FROM V_MV_CTROL_CPTE")});
        Libro oc = DelTipo("  OC");
        oc.letras = oc.letra = QStringLiteral("A");
        oc.hasta = QString::fromUtf8(c.hasta);
        Libros({oc});
        for (const char *id : c.ids)
            Ejecuta(QStringLiteral("INSERT INTO C_MV_CPTE (TC, IDCOMPROBANTE, SUCURSAL, NUMERO, LETRA, FECHA) "
                                   "VALUES ('  OC', '%1', '0001', '%2', 'A', '01/01/2024')")
                        .arg(QLatin1String(id), QLatin1String(id).mid(4, 8)));
        Ejecuta(QStringLiteral("INSERT INTO V_MV_CTROL_CPTE (TC, SUCURSAL, NUMERO, LETRA) VALUES ('  OC', '0001', "
                               "'00000120', 'A')"));
        EXPECT_EQ(Verifica(QStringLiteral("OC"), QStringLiteral("A")).numero, QString::fromUtf8(c.numero));
        const QStringList maximo = EnviadasCon(QStringLiteral("MAX(NUMERO)"));
        if (QLatin1String(c.numero) != QLatin1String("00000120")) {
            EXPECT_EQ(maximo,
                      QStringList{QStringLiteral("SELECT MAX(NUMERO) AS ULTIMO From C_MV_CPTE WHERE TC IN "
                                                 "('OC','  OC') AND SUCURSAL = '0001' AND NUMERO < '%1' AND "
                                                 "LETRA = 'A' ")
                                      .arg(QString::fromUtf8(c.hasta).rightJustified(8, '0'))});
        }
        // Orders have no journal entry and keep their control rows.
        EXPECT_TRUE(EnviadasCon(QStringLiteral("MV_ASIENTOS")).isEmpty());
        EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_CTROL_CPTE")), 1);
    }
}

TEST_F(Verificacion, WithoutVerifyingOnlyTheBookIsRead)
{
    Libros({DelTipo(" CMV")});
    Asiento(" CMV", "00000120");
    Control(" CMV", "00000120");
    const Propuesta p = Verifica(QStringLiteral("CMV"), QStringLiteral("X"), false);
    EXPECT_EQ(p.numero, QStringLiteral("00000120"));
    EXPECT_EQ(enviadas.size(), 1);
    EXPECT_TRUE(enviadas[0].contains(QStringLiteral("FROM V_TA_CPTE")));
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_CTROL_CPTE")), 1);
}

TEST_F(Verificacion, AnEmptyTypeLeavesEverythingUntouched)
{
    Libros({Libro()});
    TalonarioActual = 9;
    const Propuesta p = Verifica(QStringLiteral("   "));
    EXPECT_EQ(p.sucursal, QStringLiteral("entrada"));
    EXPECT_EQ(p.numero, QStringLiteral("entrada"));
    EXPECT_EQ(p.letra, QStringLiteral("X"));
    EXPECT_EQ(TalonarioActual, 9);
    EXPECT_TRUE(enviadas.isEmpty());
}

// The next stock voucher's id.
class IdStock : public Talonarios
{
protected:
    void Movimiento(const char *tc, const char *id)
    {
        Ejecuta(QStringLiteral("INSERT INTO V_MV_STOCK (TC, IdComprobante, Secuencia, Fecha, IdArticulo) "
                               "VALUES ('%1', '%2', 1, '01/01/2024', 'ART')")
                    .arg(QLatin1String(tc), QLatin1String(id)));
    }
    // A journal row of a cost of sale, branch 0001 and letter X.
    void Asiento(const char *numero)
    {
        Ejecuta(QStringLiteral("INSERT INTO MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA, SECUENCIA) "
                               "VALUES (' CMV', '0001', '%1', 'X', 1)")
                    .arg(QLatin1String(numero)));
    }
};

TEST_F(IdStock, TheBooksNumberUnlessTheStockAlreadyHoldsIt)
{
    const struct
    {
        const char *nombre;
        std::vector<std::pair<const char *, const char *>> movimientos;
        const char *id;
    } casos[] = {
        {"free", {{"  PE", "000100000119X"}, {"  RM", "000100000120X"}}, "000100000120X"},
        {"taken: past the highest of type, branch and letter",
         {{"  PE", "000100000120X"},
          {"  PE", "000100000457X"},
          {"  PE", "000200000999X"},
          {"  PE", "000100000998A"},
          {"  RM", "000100000999X"}},
         "000100000458X"},
    };
    Libros({DelTipo("  PE")});
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        Ejecuta(QStringLiteral("DELETE FROM V_MV_STOCK"));
        for (const auto &[tc, id] : c.movimientos)
            Movimiento(tc, id);
        const IdAsignado a = Asigna();
        EXPECT_EQ(a.id.toString(), QString::fromUtf8(c.id));
        EXPECT_EQ(a.sucursal, QStringLiteral("0001"));
        EXPECT_EQ(a.letra, QStringLiteral("X"));
    }
    EXPECT_EQ(
        EnviadasCon(QStringLiteral("From V_MV_STOCK")),
        (QStringList{"SELECT TC,IDCOMPROBANTE From V_MV_STOCK WHERE TC = '  PE' AND IDCOMPROBANTE = '000100000120X'",
                     "SELECT MAX(IDCOMPROBANTE) AS ULTIMO From V_MV_STOCK WHERE TC = '  PE' AND "
                     "SUBSTRING(IDCOMPROBANTE, 1, 4)= '0001' AND SUBSTRING(IDCOMPROBANTE, 13, 1)= 'X'"}));
}

TEST_F(IdStock, TheIdHasThirteenCharactersWhateverTheBookGave)
{
    const struct
    {
        const char *nombre;
        std::vector<Libro> libros;
        const char *id;
        const char *sucursal;
        int mensajes;
    } casos[] = {
        {"no book", {}, "000100000001X", "0001", 0},
        {"a book of branch 7",
         {Con(Con(Libro(), &Libro::sucursal, "7"), &Libro::ultimo, "3")},
         "000700000003X",
         "0007",
         0},
        {"every book used: no id, nothing numbered 0",
         {Con(Con(Libro(), &Libro::ultimo, "10"), &Libro::hasta, "9")},
         "",
         "1",
         1},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        Ejecuta(QStringLiteral("DELETE FROM V_TA_CPTE"));
        Libros(c.libros);
        operador.clear();
        const IdAsignado a = Asigna(QStringLiteral("1"));
        if (*c.id == '\0')
            EXPECT_TRUE(a.id.isEmpty()) << a.id.toString().toStdString();
        else
            EXPECT_EQ(a.id.toString(), QString::fromUtf8(c.id));
        EXPECT_EQ(a.sucursal, QString::fromUtf8(c.sucursal));
        EXPECT_EQ(int(operador.requests().size()), c.mensajes);
    }
}

// Vouchers numbered one after another at the ends of small books, as the
// posting numbers them: a consumption's id (PE) is stored and its book moved
// past it by the statement the book update hands back; a cost of sale (CMV)
// is numbered from the journal, where its number is stored. "" is no number.
TEST_F(IdStock, TheEndsOfTheBooks)
{
    const auto todos = [](const char *tipo) {
        return QStringLiteral("Todos los talonarios del comprobante %1 se encuentran utilizados, debe dar de alta un "
                              "nuevo talonario para el comprobante %1")
            .arg(QLatin1String(tipo));
    };
    const auto sinNumeros = [](const char *tipo, const char *ultimo) {
        return QStringLiteral(
                   "Ha ocurrido el Siguiente Error (6) No quedan números para el comprobante %1: el último es %2")
            .arg(QLatin1String(tipo), QLatin1String(ultimo));
    };
    const auto libro =
        [](const char *codigo, const char *desde, const char *hasta, const char *ultimo = "0", int talonario = 1) {
            Libro l = Con(Con(DelTipo(codigo, ultimo), &Libro::desde, desde), &Libro::hasta, hasta);
            l.talonario = talonario;
            return l;
        };
    const struct
    {
        const char *nombre;
        const char *tipo;
        std::vector<Libro> libros;
        std::vector<const char *> guardados = {}; // PE: ids in the stock; CMV: numbers in the journal
        std::vector<const char *> numeros;
        QStringList mensajes;
        const char *rutina = ""; // the routine whose error treatment speaks
    } casos[] = {
        {.nombre = "a book issues its last number, then says it is used up",
         .tipo = "PE",
         .libros = {libro("  PE", "1", "3")},
         .numeros = {"000100000001X", "000100000002X", "000100000003X", ""},
         .mensajes = {todos("PE")}},
        {.nombre = "a fresh book above 1 starts at its first number",
         .tipo = "PE",
         .libros = {libro("  PE", "1001", "1002")},
         .numeros = {"000100001001X", "000100001002X", ""},
         .mensajes = {todos("PE")}},
        {.nombre = "two books in sequence",
         .tipo = "PE",
         .libros = {libro("  PE", "1", "2"), libro("  PE", "3", "4", "0", 2)},
         .numeros = {"000100000001X", "000100000002X", "000100000003X", "000100000004X", ""},
         .mensajes = {todos("PE")}},
        {.nombre = "the stock already past the book's end",
         .tipo = "PE",
         .libros = {libro("  PE", "1", "3")},
         .guardados = {"000100000001X", "000100000003X"},
         .numeros = {""},
         .mensajes = {sinNumeros("PE", "00000003")},
         .rutina = "AsignarNumeroComprobante"},
        {.nombre = "a book ending at 99999999 issues it",
         .tipo = "PE",
         .libros = {libro("  PE", "1", "99999999", "99999999")},
         .numeros = {"000199999999X", ""},
         .mensajes = {todos("PE")}},
        {.nombre = "the stock at 99999999",
         .tipo = "PE",
         .libros = {libro("  PE", "1", "99999999", "120")},
         .guardados = {"000100000120X", "000199999999X"},
         .numeros = {""},
         .mensajes = {sinNumeros("PE", "99999999")},
         .rutina = "AsignarNumeroComprobante"},
        {.nombre = "the journal up to its book's last number",
         .tipo = "CMV",
         .libros = {libro(" CMV", "1", "3")},
         .numeros = {"000100000001X", "000100000002X", "000100000003X", ""},
         .mensajes = {sinNumeros("CMV", "00000003")},
         .rutina = "Obtener_Nro_Comprobante"},
        {.nombre = "the journal at 99999999",
         .tipo = "CMV",
         .libros = {libro(" CMV", "1", "99999999", "120")},
         .guardados = {"00000120", "99999999"},
         .numeros = {""},
         .mensajes = {sinNumeros("CMV", "99999999")},
         .rutina = "Obtener_Nro_Comprobante"},
        {.nombre = "every book of the journal's type used up",
         .tipo = "CMV",
         .libros = {libro(" CMV", "1", "3", "4")},
         .numeros = {""},
         .mensajes = {todos("CMV")}},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        [&] {
            Ejecuta({QStringLiteral("DELETE FROM V_TA_CPTE"),
                     QStringLiteral("DELETE FROM V_MV_STOCK"),
                     QStringLiteral("DELETE FROM MV_ASIENTOS")});
            Libros(c.libros);
            const bool stock = QLatin1String(c.tipo) == QLatin1String("PE");
            for (const char *guardado : c.guardados) {
                if (stock)
                    Movimiento("  PE", guardado);
                else
                    Asiento(guardado);
            }
            operador.clear();
            TalonarioActual = 0;
            QStringList numeros;
            for (std::size_t vez = 0; vez < c.numeros.size(); ++vez) {
                QString sucursal = QStringLiteral("0001");
                QString letra = QStringLiteral("X");
                QString id;
                if (stock) {
                    id = AsignarNumeroComprobante(QStringLiteral("PE"), sucursal, letra).toString();
                    if (!id.isEmpty()) {
                        Movimiento("  PE", id.toLatin1().constData());
                        QString sentencia;
                        ActualizaNumeracionComprobante(QStringLiteral("PE"),
                                                       QStringLiteral("STOCK"),
                                                       id.left(4),
                                                       QString::number(id.mid(4, 8).toLongLong() + 1),
                                                       letra,
                                                       true,
                                                       sentencia,
                                                       false);
                        Ejecuta(sentencia);
                    }
                } else {
                    // The cost of sale enters with the sale's branch and number.
                    QString numero = QStringLiteral("00000777");
                    bool modifica = false;
                    Obtener_Nro_Comprobante(QStringLiteral("CMV"),
                                            sucursal,
                                            numero,
                                            letra,
                                            modifica,
                                            true,
                                            QString(),
                                            QString());
                    if (!numero.isEmpty()) {
                        id = sucursal + numero + letra;
                        Asiento(numero.toLatin1().constData());
                    }
                }
                numeros << id;
            }
            QStringList esperados;
            for (const char *n : c.numeros)
                esperados << QString::fromLatin1(n);
            EXPECT_EQ(numeros, esperados);
            EXPECT_EQ(operador.prompts(), c.mensajes);
            if (*c.rutina != '\0') {
                ASSERT_FALSE(operador.requests().empty());
                EXPECT_TRUE(operador.last().title.contains(QLatin1String(c.rutina)))
                    << operador.last().title.toStdString();
            }
            // Nothing stored past the end of the numbers.
            EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK WHERE LEN(IdComprobante) <> 13")), 0);
            EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM MV_ASIENTOS WHERE LEN(NUMERO) <> 8")), 0);
        }();
    }
}

TEST_F(IdStock, LeavingOnAnErrorGivesEmpty)
{
    Libros({Libro()});
    Ejecuta(QStringLiteral("DROP TABLE V_MV_STOCK"));
    operador.answer(ui::vbAbort).answer(ui::vbAbort);
    EXPECT_TRUE(Asigna().id.isEmpty());
    ASSERT_EQ(operador.requests().size(), 2u);
    EXPECT_TRUE(operador.requests()[1].title.contains(QStringLiteral("AsignarNumeroComprobante")));
}

TEST(IdStockNuloMaximo, ANullMaximumRestartsAtOne)
{
    auto &rec = AttachRecording(gDB().gCnn(), ado::Platform::SqlServer);
    gUNegocio = QStringLiteral("   1");
    ado::RowSet libro;
    for (const char *c : {"Letras",
                          "X_ULTIMO_NRO",
                          "X_NRO_DESDE",
                          "X_NRO_HASTA",
                          "X_SUC_DEFAULT",
                          "VenceX",
                          "talonario",
                          "Modificanumeracion"})
        libro.columns.push_back({QString::fromLatin1(c), ado::ColumnKind::Unknown, 8, {}, {}});
    libro.rows = {
        {Variant("X"), Variant(120), Variant(1), Variant(999), Variant(1), Variant::null(), Variant(1), Variant(false)}};
    rec.answer(QStringLiteral("FROM V_TA_CPTE"), libro);
    rec.answer(QStringLiteral("MV_ASIENTOS"), NoRows());
    rec.answer(QStringLiteral("SELECT TC,IDCOMPROBANTE"), OneRow());
    ado::RowSet nulo;
    nulo.columns.push_back({QStringLiteral("ULTIMO"), ado::ColumnKind::Text, 13, {}, {}});
    nulo.rows = {{Variant::null()}};
    rec.answer(QStringLiteral("MAX(IDCOMPROBANTE)"), nulo);
    EXPECT_EQ(Asigna().id.toString(), QStringLiteral("000100000001X"));
    EXPECT_EQ(rec.calls().filter(QStringLiteral("WITH (UPDLOCK, ROWLOCK)")).size(), 1);
    gDB().gCnn().Close();
    gUNegocio.clear();
}

// The demo database's books continue its vouchers.
class DemoNumeracion : public BaseNumeracion
{
protected:
    DemoNumeracion()
        : BaseNumeracion(true)
    {}
};

TEST_F(DemoNumeracion, EveryDemoBookProposesAFreeNumber)
{
    for (const char *tipo : {"RM", "FC", "NC", "OC"}) {
        SCOPED_TRACE(tipo);
        Propuesta p;
        p.letra = QStringLiteral("A");
        Obtener_Nro_Comprobante(QString::fromLatin1(tipo),
                                p.sucursal,
                                p.numero,
                                p.letra,
                                p.modifica,
                                true,
                                QString(),
                                gUNegocio);
        const QString tc = QStringLiteral("'%1'").arg(QString::fromLatin1(tipo).rightJustified(4));
        EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE WHERE TC = %1 AND IDCOMPROBANTE = '%2'")
                             .arg(tc, p.sucursal + p.numero + p.letra)),
                  0);
        EXPECT_EQ(p.numero.toInt(),
                  Valor(QStringLiteral("SELECT MAX(NUMERO) FROM V_MV_CPTE WHERE TC = %1").arg(tc)).toString().toInt()
                      + 1);
    }
    EXPECT_EQ(Asigna().id.toString(), QStringLiteral("000100000001X"));
    EXPECT_EQ(ObtieneTipoRegCont(QStringLiteral("CMV")), QStringLiteral("   3"));
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Talonarios, AStockIdNeedsAVoucherType)
{
    Libros({Libro()});
    for (const char *tipo : {"", "   "}) {
        operador.clear();
        QString sucursal = QStringLiteral("0001");
        QString letra = QStringLiteral("X");
        EXPECT_TRUE(AsignarNumeroComprobante(QString::fromLatin1(tipo), sucursal, letra).isEmpty());
        ASSERT_EQ(operador.requests().size(), 1u);
        EXPECT_EQ(operador.requests()[0].prompt,
                  QStringLiteral("Ha ocurrido el Siguiente Error (5) Falta el tipo del comprobante a numerar"));
        EXPECT_TRUE(operador.requests()[0].title.contains(QStringLiteral("AsignarNumeroComprobante")));
    }
}

} // namespace
