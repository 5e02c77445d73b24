// consulta BASE [TABLA|SELECT] [options]: runs the library's lookup on a
// database file and prints what the lookup driver hands back.
#include "database/db_dll.h"
#include "database/estilo_formularios.h"
#include "lookup/lib_clscons3.h"
#include "platform/ui/ui.h"
#include "startup/inicio.h"
#include "tools/consola.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

const char *const kUso = "usage: consulta BASE [TABLA|SELECT] [options]\n"
                         "  TABLA|SELECT            a table or view name, or a whole SELECT (default V_MA_ARTICULOS)\n"
                         "  --usuario U             database user (ADMIN)\n"
                         "  --clave TEXTO           text put in the first search box (Clave)\n"
                         "  --campo-busqueda C      search column (CampoBusqueda)\n"
                         "  --where W               filter when the mask has none (Where)\n"
                         "  --opcional SQL          statement for a name without a mask (SentenciaOpcional)\n"
                         "  --arbol                 the tree dialog (TreeView)\n"
                         "  --valores-default L     values whose rows start ticked (ValoresDefault)\n"
                         "  --devueltos A,B         captions of the columns returned (CmpsDevueltos)\n"
                         "  --checks                pick several rows (Checks)\n"
                         "  --cantidades            quantity keys on (UsaCantidades)\n"
                         "  --campo-devuelto C      column whose value is returned (CampoDevuelto)\n"
                         "  --sin-mascaras          no query masks: the table's own fields\n"
                         "  --mascaras RUTA         query-mask file (default: consultas.vgr in the program folder)\n"
                         "  --sentencia             print the statement only; no dialog, no display needed\n"
                         "After the dialog closes it prints ValorDevuelto, Valores and Cantidades, and the\n"
                         "caller's variables as the driver leaves them: it resets CmpsDevueltos, Checks\n"
                         "and CampoDevuelto after every call, so they read Nothing, False and \"\".\n"
                         "The dialog needs a display (xvfb-run -a consulta ...). Errors of a run that\n"
                         "shows nothing go to standard error, with a non-zero exit code.\n";

QString Texto(const QString &s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString Lista(const Coleccion &c)
{
    if (!c)
        return QStringLiteral("Nothing");
    QStringList items;
    for (const Variant &v : *c)
        items << Texto(v.toString());
    return QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']');
}

void Imprime(const char *nombre, const QString &valor)
{
    std::printf("%-16s %s\n", nombre, valor.toLocal8Bit().constData());
}

// What the command line asks for.
struct Pedido
{
    QString base, sql = QStringLiteral("V_MA_ARTICULOS"), usuario = QStringLiteral("ADMIN");
    QString clave, campoBusqueda, where, opcional, valoresDefault, campoDevuelto, mascaras;
    QStringList devueltos;
    bool arbol = false, checks = false, cantidades = false, sinMascaras = false, soloSentencia = false;
    bool hayDevueltos = false;
};

// Nothing when an argument is unknown or lacks its value.
std::optional<Pedido> LeeArgumentos(const QStringList &args)
{
    Pedido p;
    int posicional = 0;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const auto valor = [&](QString &destino) {
            if (i + 1 >= args.size())
                return false;
            destino = args[++i];
            return true;
        };
        bool ok = true;
        if (a == "--usuario")
            ok = valor(p.usuario);
        else if (a == "--clave")
            ok = valor(p.clave);
        else if (a == "--campo-busqueda")
            ok = valor(p.campoBusqueda);
        else if (a == "--where")
            ok = valor(p.where);
        else if (a == "--opcional")
            ok = valor(p.opcional);
        else if (a == "--valores-default")
            ok = valor(p.valoresDefault);
        else if (a == "--campo-devuelto")
            ok = valor(p.campoDevuelto);
        else if (a == "--mascaras")
            ok = valor(p.mascaras);
        else if (a == "--devueltos") {
            QString lista;
            ok = valor(lista);
            p.devueltos = lista.split(QLatin1Char(','), Qt::SkipEmptyParts);
            p.hayDevueltos = true;
        } else if (a == "--arbol")
            p.arbol = true;
        else if (a == "--checks")
            p.checks = true;
        else if (a == "--cantidades")
            p.cantidades = true;
        else if (a == "--sin-mascaras")
            p.sinMascaras = true;
        else if (a == "--sentencia")
            p.soloSentencia = true;
        else if (a.startsWith(QLatin1String("--")))
            ok = false;
        else if (posicional++ == 0)
            p.base = a;
        else if (posicional == 2)
            p.sql = a;
        else
            ok = false;
        if (!ok)
            return std::nullopt;
    }
    return p;
}

// Runs the lookup's dialog and prints what the driver hands back.
void Consulta(Lib_ClsCons3 &c, Pedido &p)
{
    Coleccion cmps;
    if (p.hayDevueltos) {
        cmps = std::make_shared<QList<Variant>>();
        for (const QString &d : p.devueltos)
            cmps->append(Variant(d));
    }
    c.ConsultaSearch(p.sql, &cmps, p.clave, &p.campoBusqueda, &p.where, p.opcional, p.arbol, p.valoresDefault);

    Imprime("ValorDevuelto", Texto(c.ValorDevuelto.toString()));
    Imprime("Valores", Lista(c.Valores));
    Imprime("Cantidades", Lista(c.Cantidades));
    Imprime("CampoBusqueda", Texto(p.campoBusqueda));
    Imprime("Where", Texto(p.where));
    Imprime("CmpsDevueltos", Lista(cmps));
    Imprime("Checks", c.Checks ? QStringLiteral("True") : QStringLiteral("False"));
    Imprime("CampoDevuelto", Texto(c.CampoDevuelto));
}

} // namespace

int main(int argc, char **argv)
{
    // The arguments are checked before the window system is needed.
    std::optional<Pedido> pedido = LeeArgumentos(consola::Argumentos(argc, argv));
    if (!pedido) {
        std::fputs(kUso, stderr);
        return 2;
    }
    Pedido &p = *pedido;
    if (p.base.isEmpty() || !QFileInfo(p.base).isFile()) {
        std::fputs(p.base.isEmpty() ? kUso : "consulta: no such database file\n", stderr);
        return 2;
    }

    if (!p.soloSentencia && !consola::HayPantalla()) {
        std::fputs("consulta: the dialog needs a display: run it under xvfb-run -a\n", stderr);
        return 1;
    }
    // Printing the statement shows nothing: no display, and no box waits for
    // an operator; what one would say goes to standard error.
    if (p.soloSentencia)
        consola::SinPantalla();
    QApplication app(argc, argv);
    consola::OperadorAusente ausente("consulta");
    std::optional<ui::ScopedResponder> sinVentanas;
    if (p.soloSentencia)
        sinVentanas.emplace(ausente);
    ui::SetApplicationTitle(QStringLiteral("CONSULTA"));
    QApplication::setWindowIcon(IconoDelSistema());
    // Start-up as the suite's programs run it: the connection, the
    // configuration, the lookup driver and its query-mask file.
    bool armar = false;
    QString cadena;
    InicializaSistema(armar,
                      QStringLiteral("@Server=sqlite;@DbName=%1;@Usuario=%2;@Password=;")
                          .arg(QFileInfo(p.base).absoluteFilePath(), p.usuario),
                      cadena,
                      3);
    if (!gDB().gOpenFlag) {
        std::fprintf(stderr, "consulta: the connection did not open\n");
        return 1;
    }

    Lib_ClsCons3 &c = gConsulta();
    if (p.sinMascaras)
        c.gUsarMascarasConsultas = false;
    if (!p.mascaras.isEmpty())
        c.gRutaMascaraConsultas = QFileInfo(p.mascaras).absoluteFilePath();
    c.Checks = p.checks;
    c.UsaCantidades = p.cantidades;
    c.CampoDevuelto = p.campoDevuelto;

    Imprime("masks", c.gUsarMascarasConsultas ? c.gRutaMascaraConsultas : QStringLiteral("off"));
    if (p.soloSentencia) {
        const std::optional<QString> s = c.ArmaSentenciaConsulta(p.sql, p.campoBusqueda, p.where, p.opcional);
        Imprime("statement", s ? *s : QStringLiteral("(none)"));
        Imprime("CampoBusqueda", Texto(p.campoBusqueda));
        Imprime("Where", Texto(p.where));
        return ausente.errores() == 0 && s ? 0 : 1;
    }
    Consulta(c, p);
    return 0;
}
