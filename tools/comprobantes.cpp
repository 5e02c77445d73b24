// comprobantes BASE TC [FILTRO] [--usuario U]: shows the voucher lookup on a
// database file, as the voucher class does, and prints what it hands back.
#include "database/db_dll.h"
#include "database/estilo_formularios.h"
#include "lookup/frm_cons_comprobantes.h"
#include "platform/ui/default_instance.h"
#include "platform/ui/ui.h"
#include "startup/inicio.h"
#include "tools/consola.h"

#include <QApplication>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace {

const char *const kUso = "usage: comprobantes BASE TC [FILTRO] [--usuario U]\n"
                         "  TC      a voucher type (FC, RM, OC, T3...) or an alias (RM/PENDIENTES, FC/ANTICIPOS...)\n"
                         "  FILTRO  an SQL condition on the list (\"CUENTA = '      1000'\")\n"
                         "The list needs a display (xvfb-run -a comprobantes ...).\n";

void Imprime(const char *nombre, const QString &valor)
{
    std::printf("%-16s \"%s\"\n", nombre, valor.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char **argv)
{
    // The arguments are checked before the window system is needed.
    QStringList args = consola::Argumentos(argc, argv);
    QString usuario = QStringLiteral("ADMIN");
    if (const qsizetype at = args.indexOf(QStringLiteral("--usuario")); at >= 0 && at + 1 < args.size()) {
        usuario = args[at + 1];
        args.remove(at, 2);
    }
    if (args.size() < 2 || args.size() > 3 || !QFileInfo(args[0]).isFile()) {
        std::fputs(args.size() >= 2 ? "comprobantes: no such database file\n" : kUso, stderr);
        return 2;
    }
    if (!consola::HayPantalla()) {
        std::fputs("comprobantes: the list needs a display: run it under xvfb-run -a\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    ui::SetApplicationTitle(QStringLiteral("COMPROBANTES"));
    QApplication::setWindowIcon(IconoDelSistema());
    bool armar = false;
    QString cadena;
    InicializaSistema(armar,
                      QStringLiteral("@Server=sqlite;@DbName=%1;@Usuario=%2;@Password=;")
                          .arg(QFileInfo(args[0]).absoluteFilePath(), usuario),
                      cadena,
                      3);
    if (!gDB().gOpenFlag) {
        std::fprintf(stderr, "comprobantes: the connection did not open\n");
        return 1;
    }
    using Consulta = ui::DefaultInstance<FrmConsComprobantes>;
    FrmConsComprobantes &frm = Consulta::Get();
    frm.TC = args[1];
    frm.Filtro = args.value(2);
    frm.NroComprobante.clear();
    ui::ShowModal(frm);
    Imprime("TC", frm.TC);
    Imprime("Filtro", frm.Filtro);
    Imprime("NroComprobante", frm.NroComprobante);
    Imprime("IdComplemento", frm.IdComplemento);
    Imprime("Proveedor", frm.Proveedor);
    Consulta::Unload();
    ui::DestroyUnloaded();
    return 0;
}
