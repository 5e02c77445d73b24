#include "stock/ast.h"
#include "tests/support/numeracion.h"

#include "platform/ado/sqlite_provider.h"
#include "tests/support/grabacion.h"
#include "tests/support/impresion_qt.h"

#include <gtest/gtest.h>

namespace {

const QString CR = QStringLiteral("\r");
const QString kVerifique = CR + CR
                           + QStringLiteral("Verifique los datos desde la TABLA DE COMPROBANTES y vuelta a Intentarlo");
const QString kLetraInvalida = QStringLiteral(" La letra Informada no es Valida, la misma debe ser A,B,C,E,R,X,M");
const QString kSinNumeracion = QStringLiteral("Debe configurar la numeracióN de Comprobantes");
const QString kSinTalonario = QStringLiteral(
    "Error en grabación del Comprobante, no se ha encontrado el comprobante configurado");

Libro Talonario(int numero, const char *desde, const char *hasta, const char *sucursal = "1")
{
    Libro l;
    l.talonario = numero;
    l.desde = QString::fromUtf8(desde);
    l.hasta = QString::fromUtf8(hasta);
    l.sucursal = QString::fromUtf8(sucursal);
    return l;
}

// One call of the book's advance, in the routine's order of arguments, with
// what it leaves in the letter and the statement text.
struct Llamada
{
    QString tipo = QStringLiteral("PE");
    QString sistema = QStringLiteral("STOCK");
    QString sucursal = QStringLiteral("0001");
    QString numero = QStringLiteral("58");
    QString letra = QStringLiteral("X");
    bool enSentencia = false; // statements handed back for the caller's transaction
    QString sentencia = QString();
    bool forzar = false;
};

Llamada Avanza(Llamada l)
{
    ActualizaNumeracionComprobante(l.tipo, l.sistema, l.sucursal, l.numero, l.letra, l.enSentencia, l.sentencia, l.forzar);
    return l;
}

class Validacion : public BaseNumeracion
{
protected:
    struct Resultado
    {
        bool valido;
        QString mensaje;
        QString letra;
    };
    Resultado Valida(const QString &numero,
                     const QString &letra = QStringLiteral("X"),
                     const QString &fecha = QString(),
                     const QString &tipo = QStringLiteral("PE"),
                     const QString &sucursal = QStringLiteral("0001"))
    {
        Resultado r{false, QString(), letra};
        r.valido = ValidaNumeracionComprobante(tipo, sucursal, numero, r.letra, r.mensaje, fecha);
        return r;
    }
};

TEST_F(Validacion, OnlyOneOfTheBooksLettersIsAccepted)
{
    Libro a = Talonario(2, "1", "500");
    a.letra = QStringLiteral("A");
    Libros({Talonario(1, "1", "500"), a});
    const struct
    {
        const char *letra;
        bool valida;
        const char *devuelta;
    } casos[] = {
        {"X", true, "X"},
        {"", true, "X"},
        {"   ", true, "X"},
        {" a ", true, "A"},
        {"Q", false, "Q"},
        {"A,B", false, "A,B"},
        {",", false, ","},
        {"AB", false, "AB"},
        {"X_", false, "X_"},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.letra);
        const Resultado r = Valida(QStringLiteral("7"), QString::fromUtf8(c.letra));
        EXPECT_EQ(r.valido, c.valida);
        EXPECT_EQ(r.mensaje, c.valida ? QString() : kLetraInvalida);
        EXPECT_EQ(r.letra, QString::fromUtf8(c.devuelta));
    }
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Validacion, TheNumberAgainstTheRangeOfItsBook)
{
    Libros({Talonario(1, "10", "500"), Talonario(2, "400", "900"), Talonario(3, "1", "99999999", "2")});
    const struct
    {
        const char *nombre;
        const char *numero;
        const char *sucursal;
        bool valido;
        int talonario;
        QString mensaje;
    } casos[] = {
        {"inside the first", "00000057", "0001", true, 1, {}},
        {"inside both: the later one", "450", "0001", true, 2, {}},
        {"read by its leading number", " 121", "1", true, 1, {}},
        {"inside the other branch's only", "950", "0002", true, 3, {}},
        {"below every range: the book left stays, and says so",
         "5",
         "0001",
         false,
         9,
         CR + "El Número de comprobante (5) no respeta el parametro NRO DESDE del comprobante (10) , Nro de Control: 9"
             + kVerifique},
        {"number 0", "0", "0001", false, 9, kVerifique},
        {"no number", "abc", "0001", false, 9, kVerifique},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        // A book of this type left by an earlier call.
        Ejecuta(QStringLiteral("DELETE FROM V_TA_CPTE WHERE TALONARIO = 9"));
        Libros({Talonario(9, "10", "20")});
        TalonarioActual = 9;
        const Resultado r = Valida(QString::fromUtf8(c.numero),
                                   QStringLiteral("X"),
                                   QString(),
                                   QStringLiteral("PE"),
                                   QString::fromUtf8(c.sucursal));
        EXPECT_EQ(r.valido, c.valido);
        EXPECT_EQ(TalonarioActual, c.talonario);
        EXPECT_EQ(r.mensaje, c.mensaje);
    }
}

TEST_F(Validacion, RangeMessagesNameTheLimitAndTheBook)
{
    Libros({Talonario(4, "100", "200")});
    TalonarioActual = 4;
    const struct
    {
        const char *numero;
        const char *mensaje;
    } casos[] = {
        {"250",
         "El Número de comprobante (250) no respeta el parametro NRO HASTA del comprobante (200) , Nro de Control: 4"},
        {"99",
         "El Número de comprobante (99) no respeta el parametro NRO DESDE del comprobante (100) , Nro de Control: 4"},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.numero);
        EXPECT_EQ(Valida(QString::fromUtf8(c.numero)).mensaje, CR + QString::fromUtf8(c.mensaje) + kVerifique);
    }
}

TEST_F(Validacion, ABookLeftByAnotherTypeOrBranchIsNoBook)
{
    Libro otroTipo = Talonario(5, "1", "500");
    otroTipo.codigo = QStringLiteral("  RM");
    Libros({otroTipo, Talonario(6, "1", "500", "2"), Talonario(1, "600", "700")});
    for (int dejado : {5, 6, 0}) {
        SCOPED_TRACE(dejado);
        TalonarioActual = std::int16_t(dejado);
        const Resultado r = Valida(QStringLiteral("57"));
        EXPECT_FALSE(r.valido);
        EXPECT_EQ(r.mensaje, kSinNumeracion);
        EXPECT_EQ(TalonarioActual, 0);
    }
}

TEST_F(Validacion, TheExaminationStopsAtAnExternalOrFreeBook)
{
    const struct
    {
        const char *nombre;
        std::vector<Libro> libros;
        const char *numero;
        bool valido;
        int talonario;
        QString mensaje;
    } casos[] = {
        {"an external first book is the book",
         {Con(Talonario(1, "1", "50"), &Libro::externo, "1"), Talonario(2, "1", "500")},
         "57",
         true,
         1,
         {}},
        {"free numbering is the book",
         {Con(Con(Talonario(1, "0", "0"), &Libro::modifica, "1"), &Libro::ultimo, "0"), Talonario(2, "1", "500")},
         "57",
         true,
         1,
         {}},
        {"zero range the operator may not change: examined on",
         {Talonario(1, "0", "0"), Talonario(2, "1", "500")},
         "57",
         true,
         2,
         {}},
        {"a book holding the number before the stop stays the book, with its own checks",
         {Con(Talonario(1, "1", "500"), &Libro::vence, "'01/01/2024'"),
          Con(Talonario(2, "1", "900"), &Libro::externo, "1"),
          Talonario(3, "1", "900")},
         "57",
         false,
         1,
         "El rango de numeracion del comprobante PE Control nro: 1 se encuenta vencida...! Debe dar de alta un nuevo "
         "talonario para el comprobante PE"
             + kVerifique},
        {"an external book is valid even for number 0",
         {Con(Talonario(1, "1", "50"), &Libro::externo, "1")},
         "0",
         true,
         1,
         {}},
        {"a Null external flag is not external",
         {Con(Talonario(1, "1", "50"), &Libro::externo, "NULL")},
         "57",
         false,
         0,
         kSinNumeracion},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        Ejecuta(QStringLiteral("DELETE FROM V_TA_CPTE"));
        Libros(c.libros);
        TalonarioActual = 0;
        const Resultado r = Valida(QString::fromUtf8(c.numero), QStringLiteral("X"), QStringLiteral("02/01/2024"));
        EXPECT_EQ(r.valido, c.valido);
        EXPECT_EQ(TalonarioActual, c.talonario);
        EXPECT_EQ(r.mensaje, c.mensaje);
    }
}

TEST_F(Validacion, AnExpiredBookIsReportedByTheDay)
{
    Libros({Con(Talonario(3, "1", "500"), &Libro::vence, "'15/03/2024'")});
    const QString vencido = QStringLiteral(
                                "El rango de numeracion del comprobante PE Control nro: 3 se encuenta vencida...! "
                                "Debe dar de alta un nuevo talonario para el comprobante PE")
                            + kVerifique;
    const struct
    {
        const char *fecha;
        bool valido;
    } casos[]
        = {{"16/03/2024", false}, {"01/04/2024", false}, {"15/03/2024 23:00", true}, {"01/03/2024", true}, {"", true}};
    for (const auto &c : casos) {
        SCOPED_TRACE(c.fecha);
        const Resultado r = Valida(QStringLiteral("57"), QStringLiteral("X"), QString::fromUtf8(c.fecha));
        EXPECT_EQ(r.valido, c.valido);
        EXPECT_EQ(r.mensaje, c.valido ? QString() : vencido);
    }
    // No handler of its own: a date that is no date reaches the caller.
    EXPECT_THROW(Valida(QStringLiteral("57"), QStringLiteral("X"), QStringLiteral("15/15/2024")), VbException);
}

// The book's advance.
class Avance : public BaseNumeracion
{
protected:
    void SetUp() override
    {
        BaseNumeracion::SetUp();
        Libro pe = Talonario(1, "1", "99999999");
        pe.ultimo = QStringLiteral("57");
        Libro oc = pe;
        oc.codigo = QStringLiteral("  OC");
        Libro cmv = pe;
        cmv.codigo = QStringLiteral(" CMV");
        cmv.sistema = QStringLiteral("'Contable'");
        Libros({pe, oc, cmv});
    }
    QString Sentencia(const QString &tipo,
                      const QString &numero,
                      bool forzar = false,
                      const QString &previa = QStringLiteral("previa"),
                      const QString &sucursal = QStringLiteral("0001"))
    {
        return Avanza({.tipo = tipo,
                       .sucursal = sucursal,
                       .numero = numero,
                       .enSentencia = true,
                       .sentencia = previa,
                       .forzar = forzar})
            .sentencia;
    }
    Variant Ultimo(const QString &tc = QStringLiteral("  PE"))
    {
        return Valor(QStringLiteral("SELECT X_ULTIMO_NRO FROM V_TA_CPTE WHERE CODIGO = '%1'").arg(tc));
    }
};

const QString kUpdatePE58 = QStringLiteral(
    " UPDATE V_TA_CPTE SET X_ULTIMO_NRO = 58 WHERE CODIGO = '  PE' AND TALONARIO=1 AND (X_ULTIMO_NRO IS NULL OR "
    "X_ULTIMO_NRO < 58)");

TEST_F(Avance, StatementsForTheCallersTransaction)
{
    const QString marca57 = QStringLiteral(
        "\r\n INSERT INTO V_MV_CTROL_CPTE (TC,SUCURSAL,NUMERO,LETRA) VALUES ('%1','0001','00000057','X')\r\n");
    const struct
    {
        const char *nombre;
        const char *tipo;
        const char *numero;
        bool forzar;
        QString sentencia;
    } casos[] = {
        {"the book's update alone", "PE", "58", false, kUpdatePE58},
        {"forced: the number's control row too", "PE", "58", true, kUpdatePE58 + marca57.arg("  PE")},
        {"the number as its value", "PE", " 58", false, kUpdatePE58},
        {"purchase orders mark their numbers",
         "OC",
         "58",
         false,
         QStringLiteral(
             " UPDATE V_TA_CPTE SET X_ULTIMO_NRO = 58 WHERE CODIGO = '  OC' AND TALONARIO=1 AND (X_ULTIMO_NRO "
             "IS NULL OR X_ULTIMO_NRO < 58)")
             + marca57.arg("  OC")},
        {"so do the accounting system's types",
         "CMV",
         "58",
         false,
         QStringLiteral(
             " UPDATE V_TA_CPTE SET X_ULTIMO_NRO = 58 WHERE CODIGO = ' CMV' AND TALONARIO=1 AND (X_ULTIMO_NRO "
             "IS NULL OR X_ULTIMO_NRO < 58)")
             + marca57.arg(" CMV")},
        {"a book at the number is left as it is", "PE", "57", false, "previa"},
        {"... but the number is still marked",
         "CMV",
         "57",
         false,
         "previa\r\n INSERT INTO V_MV_CTROL_CPTE (TC,SUCURSAL,NUMERO,LETRA) VALUES (' CMV','0001','00000056','X')\r\n"},
        {"a book past the number", "PE", "12", false, "previa"},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(Sentencia(QString::fromUtf8(c.tipo), QString::fromUtf8(c.numero), c.forzar), c.sentencia);
    }
    // Nothing ran: the statements are the caller's.
    EXPECT_EQ(Ultimo().toLong(), 57);
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_CTROL_CPTE")), 0);
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Avance, TheStatementsRunAsTheyShould)
{
    const QString primera = Sentencia(QStringLiteral("CMV"), QStringLiteral("58"), false, QString());
    gDB().EjecutaConsultaSQL(primera);
    EXPECT_EQ(gDB().gCnn().errors().Count(), 0);
    EXPECT_EQ(Ultimo(QStringLiteral(" CMV")).toLong(), 58);
    EXPECT_EQ(Valor(QStringLiteral("SELECT NUMERO FROM V_MV_CTROL_CPTE WHERE TC = ' CMV'")).toString(), "00000057");
    // Statements built before the book moved further: the book stays, the
    // second marking of the number fails on the key and stays in the errors.
    Ejecuta(QStringLiteral("UPDATE V_TA_CPTE SET X_ULTIMO_NRO = 57 WHERE CODIGO = ' CMV'"));
    const QString tardia = Sentencia(QStringLiteral("CMV"), QStringLiteral("58"), false, QString());
    Ejecuta(QStringLiteral("UPDATE V_TA_CPTE SET X_ULTIMO_NRO = 90 WHERE CODIGO = ' CMV'"));
    QString texto = tardia;
    gDB().EjecutaConsultaSQL(texto);
    ASSERT_GT(gDB().gCnn().errors().Count(), 0);
    EXPECT_EQ(gDB().gCnn().errors().Item(0).Number, ado::DB_E_INTEGRITYVIOLATION);
    EXPECT_EQ(Ultimo(QStringLiteral(" CMV")).toLong(), 90);
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Avance, DirectModeWritesTheBookRow)
{
    vb::FixClock(QDateTime(QDate(2024, 12, 10), QTime(11, 50, 37)));
    const Llamada directa = Avanza({.numero = " 121", .letra = "x", .sentencia = "sin tocar", .forzar = true});
    EXPECT_EQ(directa.sentencia, QStringLiteral("sin tocar"));
    EXPECT_EQ(directa.letra, QStringLiteral("X"));
    EXPECT_EQ(Ultimo(), Variant(121LL));
    EXPECT_EQ(Valor(QStringLiteral("SELECT fechahora_modificacion FROM V_TA_CPTE WHERE CODIGO = '  PE'")).toDate(),
              QDateTime(QDate(2024, 12, 10), QTime(11, 50)));
    // No control row in direct mode, and a book never goes back.
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_CTROL_CPTE")), 0);
    Avanza({.numero = "100", .letra = directa.letra, .sentencia = directa.sentencia});
    EXPECT_EQ(Ultimo().toLong(), 121);
    EXPECT_EQ(operador.requests().size(), 0u);
}

// Another operator's write lands between the read and the save.
class OtroOperador : public SpyProvider
{
public:
    using SpyProvider::SpyProvider;
    QString antes;
    bool updateRow(const QString &table,
                   const std::vector<ado::Column> &columns,
                   const std::vector<Variant> &original,
                   const std::vector<Variant> &current,
                   const std::vector<bool> &changed,
                   ado::Errors &errors,
                   std::int32_t &matched) override
    {
        if (!antes.isEmpty()) {
            ado::Errors ignorados;
            execute(antes, ignorados, nullptr, nullptr);
            antes.clear();
        }
        return SpyProvider::updateRow(table, columns, original, current, changed, errors, matched);
    }
};

TEST_F(Avance, ASaveAfterAnotherOperatorsWriteIsRefused)
{
    ado::Errors errors;
    auto propio = std::make_unique<OtroOperador>(ado::SqliteProvider::open(base.path, errors), enviadas);
    OtroOperador &otro = *propio;
    gDB().gCnn().attachProvider(std::move(propio));
    const struct
    {
        const char *nombre;
        int respuesta;
        long long queda;
    } casos[] = {
        // A retry reads the row again and finds the book past the number.
        {"retried", ui::vbRetry, 200},
        {"abandoned", ui::vbAbort, 200},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        [&] {
            Ejecuta(QStringLiteral("UPDATE V_TA_CPTE SET X_ULTIMO_NRO = 57"));
            otro.antes = QStringLiteral("UPDATE V_TA_CPTE SET X_ULTIMO_NRO = 200 WHERE CODIGO = '  PE'");
            operador.clear();
            operador.answer(c.respuesta);
            Avanza({.numero = "121"});
            ASSERT_EQ(operador.requests().size(), 1u);
            EXPECT_TRUE(operador.requests()[0].title.contains(QStringLiteral("ActualizaNumeracionComprobante")));
            EXPECT_TRUE(operador.requests()[0].prompt.startsWith(
                QStringLiteral("Ha ocurrido el Siguiente Error (%1) ").arg(ado::DB_E_CONCURRENCYVIOLATION)));
            EXPECT_EQ(Ultimo().toLong(), c.queda);
        }();
    }
}

TEST_F(Avance, ABookThatCannotBeFoundIsNeverLeftInSilence)
{
    Libro externo = Talonario(1, "1", "500", "2");
    externo.codigo = QStringLiteral("  EX");
    externo.externo = QStringLiteral("1");
    Libro otraSucursal = Talonario(1, "1", "500", "2");
    otraSucursal.codigo = QStringLiteral("  OS");
    Libros({externo, otraSucursal});
    const struct
    {
        const char *nombre;
        const char *tipo;
        const char *letra;
        QString sentencia;
        QString aviso;
    } casos[] = {
        {"a type without books", "ZZ", "X", "previa", kSinTalonario},
        {"books of another branch only", "OS", "X", "previa", kSinTalonario},
        {"an externally numbered type", "EX", "X", "", {}},
        {"an invalid letter", "PE", "A,B", "previa", kLetraInvalida},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        [&] {
            operador.clear();
            const Llamada l = Avanza(
                {.tipo = c.tipo, .letra = c.letra, .enSentencia = true, .sentencia = "previa", .forzar = true});
            EXPECT_EQ(l.sentencia, c.sentencia);
            if (c.aviso.isEmpty()) {
                EXPECT_EQ(operador.requests().size(), 0u);
            } else {
                ASSERT_EQ(operador.requests().size(), 1u);
                EXPECT_EQ(operador.last().prompt, c.aviso);
                EXPECT_EQ(operador.last().title, QStringLiteral("ATENCION"));
                EXPECT_EQ(operador.last().icon, ui::vbCritical);
            }
        }();
    }
    // The direct mode writes nothing either.
    operador.clear();
    Avanza({.tipo = "OS"});
    EXPECT_EQ(operador.prompts(), QStringList{kSinTalonario});
    EXPECT_EQ(Ultimo(QStringLiteral("  OS")).toLong(), 0);
}

// A book kept by system: found when the voucher type's own row is not.
TEST(AvanceTaComprobantes, TheBookOfTheSystemTable)
{
    auto &rec = AttachRecording(gDB().gCnn(), ado::Platform::SqlServer);
    gDB().gEsAdmin = true;
    ado::RowSet libro;
    for (const char *c : {"CODIGO",
                          "talonario",
                          "X_NRO_DESDE",
                          "X_NRO_HASTA",
                          "Modificanumeracion",
                          "Externo",
                          "X_SUC_DEFAULT",
                          "X_ULTIMO_NRO",
                          "Sistema",
                          "fechahora_modificacion"})
        libro.columns.push_back(
            {QString::fromLatin1(c), ado::ColumnKind::Unknown, 8, QStringLiteral("T"), QString::fromLatin1(c)});
    libro.rows = {{Variant("  PE"),
                   Variant(1),
                   Variant(1),
                   Variant(999),
                   Variant(false),
                   Variant(false),
                   Variant(1),
                   Variant(57),
                   Variant("Contable"),
                   Variant::null()}};
    // Validation finds the book; its own row is gone when the update reads it.
    rec.answer(QStringLiteral("_SUC_DEFAULT = 1"), libro);
    rec.answer(QStringLiteral("AND TALONARIO =1"), NoRows());
    rec.answer(QStringLiteral("FROM TA_Comprobantes"), libro);
    ui::ScriptedResponder operador;
    ui::ScopedResponder alcance(operador);
    const Llamada enSentencia = Avanza({.sistema = " STOCK ", .enSentencia = true});
    EXPECT_EQ(enSentencia.sentencia,
              QStringLiteral(
                  " UPDATE TA_Comprobantes SET X_ULTIMO_NRO = 58 WHERE CODIGO = '  PE' AND SISTEMA = 'STOCK' "
                  "AND TALONARIO = 1 AND (X_ULTIMO_NRO IS NULL OR X_ULTIMO_NRO < 58)\r\n INSERT INTO "
                  "V_MV_CTROL_CPTE (TC,SUCURSAL,NUMERO,LETRA) VALUES ('  PE','0001','00000057','X')\r\n"));
    EXPECT_TRUE(rec.calls().contains(QStringLiteral(
        "Query SELECT * FROM TA_Comprobantes WHERE CODIGO = '  PE' AND SISTEMA = 'STOCK' AND TALONARIO = 1")));
    // Direct mode writes that row.
    rec.clearCalls();
    Avanza({.letra = enSentencia.letra, .sentencia = enSentencia.sentencia});
    EXPECT_EQ(rec.calls().filter(QStringLiteral("Update")), QStringList{QStringLiteral("Update T")});
    EXPECT_EQ(operador.requests().size(), 0u);
    gDB().gCnn().Close();
    gDB().gEsAdmin = false;
    TalonarioActual = 0;
}

// Only a whole number within the book moves it: any other text is refused
// through the error treatment and builds nothing.
TEST_F(Avance, ANumberThatIsNoWholeNumberOrOutsideTheBookBuildsNothing)
{
    struct Caso
    {
        const char *numero;
        const char *mensaje; // empty: the statement is built
    };
    const std::vector<Caso> casos{
        {"58", ""},
        {" 100000000", ""},
        {"'", "El número del comprobante debe ser un número entero: \"'\""},
        {"2024-13-45", "El número del comprobante debe ser un número entero: \"2024-13-45\""},
        {"1;DROP TABLE X", "El número del comprobante debe ser un número entero: \"1;DROP TABLE X\""},
        {"12.5", "El número del comprobante debe ser un número entero: \"12.5\""},
        {"", "El número del comprobante debe ser un número entero: \"\""},
        {"100000001", "El número 100000001 está fuera del talonario del comprobante"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.numero);
        [&] {
            operador.clear();
            const QString sentencia = Sentencia(QStringLiteral("PE"), QString::fromUtf8(c.numero));
            if (*c.mensaje == '\0') {
                EXPECT_TRUE(sentencia.startsWith(QStringLiteral(" UPDATE V_TA_CPTE SET X_ULTIMO_NRO = ")))
                    << sentencia.toStdString();
                EXPECT_EQ(operador.requests().size(), 0u);
                return;
            }
            EXPECT_EQ(sentencia, QStringLiteral("previa"));
            ASSERT_EQ(operador.requests().size(), 1u);
            EXPECT_EQ(operador.requests()[0].prompt,
                      QStringLiteral("Ha ocurrido el Siguiente Error (5) ") + QString::fromUtf8(c.mensaje));
            EXPECT_TRUE(operador.requests()[0].title.contains(QStringLiteral("ActualizaNumeracionComprobante")));
        }();
    }
    EXPECT_EQ(Ultimo().toLong(), 57);
}

} // namespace
