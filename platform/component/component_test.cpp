#include "platform/component/component.h"

#include "platform/runtime/app.h"
#include "platform/runtime/steps.h"
#include "platform/ui/scripted_responder.h"
#include "tests/support/error_provocado.h"

#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Converters, ReadTheNumberWithEitherDecimalMark)
{
    struct Case
    {
        Variant in;
        double number;
        std::int64_t scaled; // Currency, ten-thousandths
        std::int32_t whole;
    } cases[] = {
        {"12.5", 12.5, 125000, 12}, // half to even
        {"12,5", 12.5, 125000, 12},
        {"13,5", 13.5, 135000, 14},
        {"  -3,25 kg", -3.25, -32500, -3},
        {"1.234,56", 1234.56, 12345600, 1235},
        {"1,234.56", 1234.56, 12345600, 1235},
        {"0,00005", 0.00005, 0, 0}, // fourth decimal, half to even
        {"0,00015", 0.00015, 2, 0},
        {"abc", 0, 0, 0},
        {"", 0, 0, 0},
        {Variant::null(), 0, 0, 0},
        {Variant(), 0, 0, 0},
        {Variant(2.75), 2.75, 27500, 3},
        {Variant(Currency::fromScaled(123456789)), 12345.6789, 123456789, 12346},
    };
    ClsComponente &c = gComponente();
    for (const Case &k : cases) {
        SCOPED_TRACE(k.in.isString() ? k.in.rawString().toStdString() : std::string("non-text"));
        EXPECT_DOUBLE_EQ(c.ConvierteADouble(k.in), k.number);
        EXPECT_EQ(c.ConvierteACurrency(k.in).scaled(), k.scaled);
        EXPECT_EQ(c.ConvierteALong(k.in), k.whole);
    }
}

TEST(Converters, CurrencyReadsEveryDigitOfTheText)
{
    // A Double would lose the last digits of large amounts.
    EXPECT_EQ(gComponente().ConvierteACurrency("922337203685477,5807").scaled(), 9223372036854775807LL);
    EXPECT_EQ(gComponente().ConvierteACurrency("-123456789012,34565").scaled(), -1234567890123456LL);
    EXPECT_EQ(gComponente().ConvierteACurrency("1,5E3").scaled(), 15000000);
    EXPECT_EQ(gComponente().ConvierteACurrency("&H10").scaled(), 160000);
}

TEST(Converters, OutOfRangeRaisesOverflow)
{
    EXPECT_EQ(RaisedNumber([&] { gComponente().ConvierteACurrency("922337203685478"); }), vberr::Overflow);
    EXPECT_EQ(RaisedNumber([&] { gComponente().ConvierteALong("3000000000"); }), vberr::Overflow);
}

TEST(ValorNoNulo, NeverNullAndUsableAsTextOrNumber)
{
    ClsComponente &c = gComponente();
    const Variant fromNull = c.ValorNoNulo(Variant::null());
    EXPECT_FALSE(fromNull.isNull());
    EXPECT_EQ(fromNull.toString(), QString());
    EXPECT_EQ(c.ConvierteADouble(fromNull), 0.0);
    EXPECT_EQ(c.ValorNoNulo(Variant()).toString(), QString());
    EXPECT_EQ(c.ValorNoNulo(Variant(5)), Variant(5));
    EXPECT_EQ(c.ValorNoNulo(Variant("  RM")), Variant("  RM"));
}

TEST(Codes, FormateaCodigoAndQuitaFormatoCodigo)
{
    struct Case
    {
        QString code;
        int width;
        QString formatted;
        QString plain;
    } cases[] = {
        {"RM", 4, "  RM", "RM"},
        {"RM  ", 4, "  RM", "RM"},
        {" 1", 4, "   1", "1"},
        {"ABCD", 4, "ABCD", "ABCD"},
        {"  RM", 4, "  RM", "RM"}, // at its width already
        {" RM ", 4, "  RM", "RM"},
        {"\tRM", 4, " \tRM", "\tRM"}, // a tab is no blank
        {QString::fromUtf8("Ñ€"), 4, QString::fromUtf8("  Ñ€"), QString::fromUtf8("Ñ€")},
        {"ABCDE", 4, "ABCDE", "ABCDE"}, // longer: unchanged
        {" ABCDE ", 4, " ABCDE ", "ABCDE"},
        {"", 4, "", ""},
        {"    ", 4, "", ""},
        {"ART-001", 25, QString(18, ' ') + "ART-001", "ART-001"},
        {QString(26, 'X'), 25, QString(26, 'X'), QString(26, 'X')},
    };
    ClsComponente &c = gComponente();
    for (const Case &k : cases) {
        SCOPED_TRACE(k.code.toStdString() + " / " + std::to_string(k.width));
        EXPECT_EQ(c.FormateaCodigo(k.code, k.width), k.formatted);
        EXPECT_EQ(c.QuitaFormatoCodigo(k.formatted), k.plain);
    }
    EXPECT_EQ(c.FormateaCodigo("FC"), "  FC"); // default width
}

TEST(Texts, QuitaCaracteresRemovesEveryOccurrenceOfEach)
{
    const QString c255 = QString(QChar(0xFF));
    const QString c0 = QString(QChar(0));
    struct Case
    {
        QString text, a, b, c, expected;
    } cases[] = {
        {"=sa=", "=", "", "", "sa"},
        {"a|b|c|", "|", "", "", "abc"},
        {"L1" + c255 + "S1\n" + c0, c0, c255, "\n", "L1S1"},
        {"sin cambios", "|", "", "", "sin cambios"},
        {"", "x", "", "", ""},
        {"aAa", "a", "", "", "A"}, // exact characters only
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.text.toStdString());
        EXPECT_EQ(gComponente().QuitaCaracteres(k.text, k.a, k.b, k.c), k.expected);
    }
}

TEST(Texts, ReemplazaMatchesCaseReemplazaTextoIgnoresIt)
{
    ClsComponente &c = gComponente();
    EXPECT_EQ(c.Reemplaza("a|b|c", "|", ","), "a,b,c");
    EXPECT_EQ(c.Reemplaza("v_ma_articulos", "V_MA_ARTICULOS", "X"), "v_ma_articulos");
    EXPECT_EQ(c.ReemplazaTexto("select * from v_ma_Articulos a", "V_MA_ARTICULOS", "VT_MA_ARTICULOS"),
              "select * from VT_MA_ARTICULOS a");
    EXPECT_EQ(c.Reemplaza("aaa", "aa", "b"), "ba"); // no overlap
    EXPECT_EQ(c.Reemplaza("abc", "", "x"), "abc");
}

TEST(Texts, CuentaPalabras)
{
    struct Case
    {
        QString text;
        int words;
    } cases[] = {{"", 0}, {"   ", 0}, {"len", 1}, {"len ", 1}, {"SELECT TOP 10\t*\r\nFROM  T", 6}};
    for (const Case &k : cases) {
        SCOPED_TRACE(k.text.toStdString());
        EXPECT_EQ(gComponente().CuentaPalabras(k.text), k.words);
    }
}

TEST(Texts, AgregaBarra)
{
    struct Case
    {
        QString path, expected;
    } cases[]
        = {{"/opt/suite", "/opt/suite/"}, {"/opt/suite/", "/opt/suite/"}, {"C:\\Suite\\", "C:\\Suite\\"}, {"", "/"}};
    for (const Case &k : cases) {
        SCOPED_TRACE(k.path.toStdString());
        EXPECT_EQ(gComponente().AgregaBarra(k.path), k.expected);
    }
}

TEST(Texts, EstaEnListaIgnoresCaseAndBlanks)
{
    const QStringList types{"FC", "TK", "FKFC", "NCP"};
    ClsComponente &c = gComponente();
    EXPECT_TRUE(c.EstaEnLista("fc", types));
    EXPECT_TRUE(c.EstaEnLista("  NCP", types));
    EXPECT_FALSE(c.EstaEnLista("NC", types));
    EXPECT_FALSE(c.EstaEnLista("", types));
}

TEST(Texts, ValorATexto)
{
    ClsComponente &c = gComponente();
    EXPECT_EQ(c.ValorATexto(Variant::null()), QString());
    EXPECT_EQ(c.ValorATexto(Variant("LOTE-1    ")), "LOTE-1    ");
    EXPECT_DOUBLE_EQ(c.ConvierteADouble(c.ValorATexto(Variant(2.5))), 2.5);
}

TEST(Claves, CodificaClaveRoundTripsAnyText)
{
    const QString texts[] = {"Velgora",
                             "quenabo",
                             "",
                             " ",
                             "a|b=c;d",
                             "[Seccion]",
                             "Ñandú ñ €",
                             "Пароль",
                             "密码",
                             "emoji 😀",
                             QString(QChar(0)) + "x" + QChar(0xFF),
                             "0123abcdef"};
    ClsComponente &c = gComponente();
    for (const QString &t : texts) {
        SCOPED_TRACE(t.toStdString());
        const QString stored = c.CodificaClave(t);
        EXPECT_EQ(c.DecodificaClave(stored), t);
        // Safe in an INI line and in the suite's lists.
        for (QChar ch : stored) {
            EXPECT_TRUE(ch.isDigit() || (ch >= 'A' && ch <= 'F')) << stored.toStdString();
        }
        if (!t.isEmpty()) {
            EXPECT_NE(stored, t);
        }
    }
}

TEST(Claves, HandWrittenValueIsTakenAsItStands)
{
    EXPECT_EQ(gComponente().DecodificaClave("sa"), "sa");
    EXPECT_EQ(gComponente().DecodificaClave("ABC"), "ABC"); // odd length
}

class IniFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous = AppPath();
        SetAppPath(dir.path());
    }
    void TearDown() override { SetAppPath(previous); }
    void write(const QString &name, const QByteArray &content)
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QTemporaryDir dir;
    QString previous;
};

TEST_F(IniFile, FindsSectionsAndKeysWithoutRegardToCase)
{
    write("VI000vi.INI",
          "; configuración\r\n"
          "[Iconos]\r\n"
          "IconoDelSistema=ICONOTRO\r\n"
          "[ PC01|JUAN ]\r\n"
          "FlatToolbars = 0\r\n"
          "Vacia=\r\n"
          "[PC01|JUANBaseDeDatos]\r\n"
          "Servidor=SRV\\SQL2019\r\n"
          "Descripcion=Almac\xe9n\r\n"
          "Citado=\"Provider=SQLOLEDB;Data Source=SRV\"\r\n");
    struct Case
    {
        const char *section, *key, *expected;
    } cases[] = {
        {"Iconos", "IconoDelSistema", "ICONOTRO"},
        {"ICONOS", "iconodelsistema", "ICONOTRO"},
        {"pc01|juan", "FLATTOOLBARS", "0"},
        {"PC01|JUAN", "Vacia", ""}, // present but empty: not the default
        {"PC01|JUANBASEDEDATOS", "servidor", "SRV\\SQL2019"},
        {"PC01|JUANBaseDeDatos", "Descripcion", "Almacén"}, // Latin-1 file
        {"PC01|JUANBaseDeDatos", "Citado", "Provider=SQLOLEDB;Data Source=SRV"},
        {"PC01|JUAN", "Servidor", "(def)"},     // key of another section
        {"PC02|JUAN", "FlatToolbars", "(def)"}, // missing section
        {"Iconos", "Otra", "(def)"},            // missing key
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(std::string(k.section) + "/" + k.key);
        EXPECT_EQ(gIni().LeeValor("VI000vi.INI", QString::fromUtf8(k.section), QString::fromUtf8(k.key), "(def)"),
                  QString::fromUtf8(k.expected));
    }
}

TEST_F(IniFile, LongLinesIndentedKeysAndSemicolonsReadWhole)
{
    const QByteArray longValue = "Provider=SQLOLEDB ;Data Source=" + QByteArray(300, 'S');
    const QByteArray longSection = "WORKSTATION-ACCOUNTING-01.EXAMPLE.LOCAL|jperezBaseDeDatos";
    write("VI000vi.INI",
          "[" + longSection
              + "]\r\n"
                "  Servidor=SRV\r\n"
                "\tDbName = VENTAS ;2024\r\n"
                "Cadena="
              + longValue
              + "\r\n"
                "[Iconos]\n"
                "IconoDelSistema=X\n");
    struct Case
    {
        QString section, key, expected;
    } cases[] = {
        {QString::fromLatin1(longSection), "Servidor", "SRV"},        // indented: a key, not a continuation
        {QString::fromLatin1(longSection), "DbName", "VENTAS ;2024"}, // ";" inside a value is no comment
        {QString::fromLatin1(longSection), "Cadena", QString::fromLatin1(longValue)},
        {"Iconos", "IconoDelSistema", "X"},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.key.toStdString());
        EXPECT_EQ(gIni().LeeValor("VI000vi.INI", k.section, k.key, "(def)"), k.expected);
    }
}

TEST_F(IniFile, MissingFileGivesTheDefault)
{
    EXPECT_EQ(gIni().LeeValor("VI000vi.INI", "Iconos", "IconoDelSistema", "ICONVELGORA"), "ICONVELGORA");
    EXPECT_EQ(gIni().LeeValor("VI000vi.INI", "Iconos", "IconoDelSistema"), QString());
}

TEST_F(IniFile, FileCopiedWithOtherSpellingIsFound)
{
    write("vi000vi.ini", "[Iconos]\nIconoDelSistema=X\n");
    EXPECT_EQ(gIni().LeeValor("VI000vi.INI", "Iconos", "IconoDelSistema", "D"), "X");
}

TEST_F(IniFile, CredentialsStoredEncodedReadBack)
{
    ClsComponente &c = gComponente();
    write("VI000vi.INI", "[PC|USRBaseDeDatos]\nUsuario=" + c.CodificaClave("ventas;1=|").toLatin1() + "\n");
    EXPECT_EQ(c.DecodificaClave(
                  gIni().LeeValor("VI000vi.INI", "PC|USRBaseDeDatos", "Usuario", c.CodificaClave("Velgora"))),
              "ventas;1=|");
    EXPECT_EQ(c.DecodificaClave(
                  gIni().LeeValor("VI000vi.INI", "PC|USRBaseDeDatos", "UserPassWord", c.CodificaClave("quenabo"))),
              "quenabo");
}

TEST(MuestraError, ShowsNumberDescriptionAndRoutineAndReturnsTheAnswer)
{
    ErrObject err;
    err.Number = 3021;
    err.Description = "No hay registro actual.";
    err.Source = "ADODB.Recordset";
    for (int answer : {ui::vbAbort, ui::vbRetry, ui::vbIgnore}) {
        SCOPED_TRACE(answer);
        [&] {
            ui::ScriptedResponder responder;
            ui::ScopedResponder guard(responder);
            responder.answer(answer);
            EXPECT_EQ(gComponente().MuestraError(err, {}, "AbrirRecordset"), answer);
            ASSERT_EQ(responder.requests().size(), 1u);
            const ui::Request &r = responder.last();
            EXPECT_EQ(r.style, ui::vbAbortRetryIgnore + ui::vbCritical);
            EXPECT_EQ(r.buttons, QStringList({"Anular", "Reintentar", "Omitir"}));
            EXPECT_EQ(r.title, "Aviso al operador!!!");
            EXPECT_EQ(r.prompt,
                      "Se produjo el error 3021:\nNo hay registro actual.\nOrigen: ADODB.Recordset\n"
                      "Rutina: AbrirRecordset");
        }();
    }
}

TEST(MuestraError, DrivesTheStepsConvention)
{
    ui::ScriptedResponder responder;
    ui::ScopedResponder guard(responder);
    responder.answer(ui::vbRetry).answer(ui::vbIgnore);
    int tries = 0;
    bool later = false;
    Steps steps([](const ErrObject &e) { return gComponente().MuestraError(e, {}, "FORM_LOAD"); });
    steps([&] {
        if (++tries < 2)
            Raise(vberr::TypeMismatch);
        Raise(vberr::Overflow);
    });
    steps([&] { later = true; });
    EXPECT_EQ(tries, 2);
    EXPECT_TRUE(later);
    EXPECT_EQ(responder.unexpected(), 0);
    EXPECT_TRUE(responder.prompts()[1].startsWith("Se produjo el error 6:"));
}

TEST(MuestraError, DatabaseErrorShowsSqlStateAndNativeCode)
{
    ErrObject err;
    err.Number = -2147217900;
    err.Description = "Invalid object name 'V_MV_CPTE'.";
    err.SQLState = "42S02";
    err.NativeError = 208;
    const QString text = gComponente().TextoError(err, "CmdAceptar");
    EXPECT_TRUE(text.contains("Estado SQL: 42S02 (código nativo 208)")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("Rutina: CmdAceptar"));
}

TEST(Entorno, HostAndLoginNames)
{
    EXPECT_FALSE(gEntorno().NombrePC().isEmpty());
    EXPECT_FALSE(gEntorno().UsuarioPC().isEmpty());
}

TEST(Entorno, AjustaFormularioKeepsTheWindowOnScreen)
{
    QWidget window;
    window.setGeometry(-500, -500, 100000, 300);
    gEntorno().AjustaFormulario(&window);
    const QRect area = window.screen()->availableGeometry();
    EXPECT_LE(window.width(), area.width());
    EXPECT_GE(window.x(), area.left());
    EXPECT_GE(window.y(), area.top());
}

TEST(Aplicacion, KeepsTheFolder)
{
    gAplicacion().RutaAplicacion("/opt/suite/");
    EXPECT_EQ(gAplicacion().Ruta(), "/opt/suite/");
}

TEST(Cartel, ShowsUpdatesAndCloses)
{
    ClsCartel cartel;
    cartel.Muestra("Procesando", 0);
    EXPECT_TRUE(cartel.Visible());
    EXPECT_EQ(cartel.Titulo(), "Procesando");
    cartel.Actualiza(0, "Borrando", "Comprobante 12 de 40");
    EXPECT_EQ(cartel.Titulo(), "Borrando");
    EXPECT_EQ(cartel.Detalle(), "Comprobante 12 de 40");
    cartel.Cierra();
    EXPECT_FALSE(cartel.Visible());
    cartel.Cierra(); // twice is harmless
    cartel.Actualiza(0, "Otra vez", "");
    EXPECT_TRUE(cartel.Visible());
}

TEST(Cartel, ATextLineBetweenTitleAndDetail)
{
    ClsCartel cartel;
    cartel.Actualiza(0, "Grabando", "ART1  TORNILLO", "1 de 3");
    EXPECT_EQ(cartel.Titulo(), "Grabando");
    EXPECT_EQ(cartel.Texto(), "ART1  TORNILLO");
    EXPECT_EQ(cartel.Detalle(), "1 de 3");
    // The shorter form clears the text line it does not give.
    cartel.Actualiza(0, "Borrando", "Comprobante 12 de 40");
    EXPECT_EQ(cartel.Texto(), QString());
    EXPECT_EQ(cartel.Detalle(), "Comprobante 12 de 40");
    cartel.Cierra();
}

TEST(DialogoArchivo, ThroughTheSeam)
{
    ui::ScriptedResponder responder;
    ui::ScopedResponder guard(responder);
    ClsDialogoArchivo dlg;
    dlg.Titulo = "Elegir archivo";
    dlg.DescripcionTipo = "Textos|*.txt;*.log|Todos|*.*";
    responder.chooseFile("/tmp/VGELI.LOG").chooseFile("");
    dlg.MuestraAbrir();
    EXPECT_EQ(dlg.NombreArchivo, "/tmp/VGELI.LOG");
    EXPECT_FALSE(dlg.FueCancelado);
    EXPECT_EQ(responder.last().title, "Elegir archivo");
    EXPECT_EQ(responder.last().defaultText, "Textos (*.txt *.log);;Todos (*)");
    dlg.MuestraAbrir();
    EXPECT_TRUE(dlg.FueCancelado);
    EXPECT_EQ(dlg.NombreArchivo, QString());
}

TEST(PreparaFormulario, GivesAnUntitledWindowTheProgramsTitle)
{
    ui::SetApplicationTitle("Anulación");
    QWidget titled, untitled;
    titled.setWindowTitle("Form1");
    gComponente().PreparaFormulario(&titled, 0);
    gComponente().PreparaFormulario(&untitled, false);
    gComponente().PreparaFormulario(nullptr);
    EXPECT_EQ(titled.windowTitle(), "Form1");
    EXPECT_EQ(untitled.windowTitle(), "Anulación");
    ui::SetApplicationTitle(QString());
}

TEST(ModuleObjects, CreatedOnceAndKept)
{
    EXPECT_EQ(&gComponente(), &gComponente());
    EXPECT_EQ(&gIni(), &gIni());
    EXPECT_EQ(&gCartel(), &gCartel());
}

} // namespace
