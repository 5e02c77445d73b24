#include "startup/inicio.h"

#include "database/configuracion.h"
#include "database/db_dll.h"
#include "database/globales.h"
#include "lookup/lib_clscons3.h"
#include "platform/component/component.h"
#include "platform/runtime/app.h"
#include "platform/runtime/end.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"
#include "startup/archivo_consultas.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

std::optional<QString> &lineaFijada()
{
    static std::optional<QString> linea;
    return linea;
}

QString ParametrosDesdeIni()
{
    ClsComponente &c = gComponente();
    const QString seccion = gEntorno().NombrePC().toUpper() + QStringLiteral("|") + gEntorno().UsuarioPC().toUpper()
                            + QStringLiteral("BaseDeDatos");
    const QString ini = QStringLiteral("VI000vi.INI");
    const QString bar = QStringLiteral("|");
    const QString servidor = c.QuitaCaracteres(gIni().LeeValor(ini, seccion, QStringLiteral("Servidor"), QString()),
                                               bar);
    const QString base = c.QuitaCaracteres(gIni().LeeValor(ini, seccion, QStringLiteral("DbName"), QString()), bar);
    const QString usuario = c.QuitaCaracteres(c.DecodificaClave(
                                                  gIni().LeeValor(ini,
                                                                  seccion,
                                                                  QStringLiteral("Usuario"),
                                                                  c.CodificaClave(QStringLiteral("Velgora")))),
                                              bar);
    const QString clave = c.QuitaCaracteres(c.DecodificaClave(
                                                gIni().LeeValor(ini,
                                                                seccion,
                                                                QStringLiteral("UserPassWord"),
                                                                c.CodificaClave(QStringLiteral("quenabo")))),
                                            bar);
    return QStringLiteral("@server=") + servidor + QStringLiteral("; @dbname= ") + base + QStringLiteral("; @usuario= ")
           + usuario + QStringLiteral("; @Password= ") + clave + QStringLiteral("; @ParametroAdicional=; @Caja=1;")
           + kCodigoAcceso;
}

} // namespace

QString LineaDeComandos()
{
    if (lineaFijada())
        return *lineaFijada();
    const QStringList args = QCoreApplication::arguments();
    return args.mid(1).join(QLatin1Char(' '));
}

void FijaLineaDeComandos(std::optional<QString> linea)
{
    lineaFijada() = std::move(linea);
}

QString LeeParametro(const QString &Parametros, const QString &Clave, const QString &absent)
{
    // Entry by entry: a key matches only as the whole name before its "=", so
    // "@Usuario" never reads "@UsuarioLogeado" and a value never hides a key.
    const QStringList entradas = Parametros.split(QLatin1Char(';'));
    for (const QString &entrada : entradas) {
        const int igual = entrada.indexOf(QLatin1Char('='));
        const QString nombre = (igual < 0 ? entrada : entrada.left(igual)).trimmed();
        if (!vb::EqualsText(nombre, Clave))
            continue;
        if (igual < 0)
            return QString();
        // A value in double quotes (a path with blanks) is the text inside
        // them: every use of the value reads it so, once.
        QString valor = entrada.mid(igual + 1).trimmed();
        if (valor.size() >= 2 && valor.startsWith(QLatin1Char('"')) && valor.endsWith(QLatin1Char('"')))
            valor = valor.mid(1, valor.size() - 2).trimmed();
        return valor;
    }
    return absent;
}

QString ArmaSeccionPC(const QString &NombrePC, const QString &UsuarioPC)
{
    QString seccion = NombrePC.toUpper() + QStringLiteral("|") + UsuarioPC.toUpper();
    if (seccion.trimmed().size() > 50)
        seccion = seccion.left(50);
    return seccion;
}

QString ExtraeNombreServidor(const QString &Servidor)
{
    QString s = Servidor;
    const int barra = s.indexOf(QLatin1Char('/'));
    if (barra >= 0)
        s = s.mid(barra + 1);
    const int dosPuntos = s.indexOf(QLatin1Char(':'));
    if (dosPuntos >= 0)
        s = s.left(dosPuntos);
    return s;
}

void InicializaSistema(bool &ArmaParametros,
                       const QString &Parametros,
                       QString &CadenaConexion,
                       std::int32_t CursorLocation)
{
    DB_Dll &db = gDB();
    QString rutaAplicacion;
    QString parametros;
    QString servidor, base, usuario, clave;

    // Invalid-call errors skip their step; any other is shown and logged, and
    // ends start-up.
    Steps steps([&db](const ErrObject &err) -> int {
        if (err.Number == vberr::InvalidCall)
            return Steps::Ignore;
        return db.TratamientoErrores(err, std::nullopt, QStringLiteral("InicializaSistema"));
    });

    steps([&] { rutaAplicacion = gComponente().AgregaBarra(AppPath()); });
    steps([&] {
        gColorTextoFoco = 0;
        gColorFondoFoco = 0xFFFFFF;
    });
    steps([&] { parametros = Parametros.isEmpty() ? LineaDeComandos() : Parametros; });
    steps([&] {
        if (parametros.trimmed().isEmpty() && ArmaParametros)
            parametros = ParametrosDesdeIni();
    });
    steps([&] { gSeccionPC = ArmaSeccionPC(gEntorno().NombrePC(), gEntorno().UsuarioPC()); });
    steps([&] {
        gFlatToolbars = Variant(vb::Val(gIni().LeeValor(QStringLiteral("VI000vi.INI"),
                                                        gSeccionPC,
                                                        QStringLiteral("FlatToolbars"),
                                                        QStringLiteral("1"))));
    });

    if (!db.gOpenFlag) {
        steps([&] {
            gParametroAdicional = LeeParametro(parametros, QStringLiteral("@ParametroAdicional"));
            gMenu = LeeParametro(parametros, QStringLiteral("@Menu"));
            servidor = LeeParametro(parametros, QStringLiteral("@Server"));
            base = LeeParametro(parametros, QStringLiteral("@DbName"));
            usuario = LeeParametro(parametros, QStringLiteral("@Usuario"));
            clave = LeeParametro(parametros, QStringLiteral("@Password"));
            gUsuarioLogeado = LeeParametro(parametros, QStringLiteral("@UsuarioLogeado"));
            gCaja = LeeParametro(parametros, QStringLiteral("@Caja"), QStringLiteral("1"));
        });
        steps([&] {
            if (!servidor.trimmed().isEmpty() && servidor.startsWith(QLatin1Char('#'))) {
                servidor = servidor.mid(1);
                if (CadenaConexion.isEmpty())
                    CadenaConexion = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=") + base
                                     + QStringLiteral(";User Id=") + usuario + QStringLiteral(";Password=") + clave
                                     + QStringLiteral(";");
            }
        });
        steps([&] {
            db.gUsuario = usuario;
            db.gDBName = base;
            db.gUserPassWord = clave;
            db.gServidor = ExtraeNombreServidor(servidor);
        });
        steps([&] { db.OpenServerADODB(servidor.trimmed().isEmpty(), CursorLocation, CadenaConexion, true); });
        steps([&] {
            if (!db.gOpenFlag)
                steps.leave();
        });
        steps([&] { gUsuarioLogeado = db.gUsuario; });
        steps([&] {
            db.gCnn().setCommandTimeout(360);
            db.gCnn().setIsolationLevel(ado::adXactReadUncommitted);
        });
    }

    steps([&] {
        gCadenaODBC = QStringLiteral("DSN=") + db.gDBName + QStringLiteral("; UID=") + db.gUsuario
                      + QStringLiteral("; PWD=") + db.gUserPassWord;
    });
    steps([&] { gAplicacion().RutaAplicacion(rutaAplicacion); });
    steps([&] { gConsulta().gConnString = db.gConnString; });
    steps([&] { gConsulta().gUsarMascarasConsultas = true; });
    steps([&] {
        gConsulta().gRutaMascaraConsultas = gComponente().AgregaBarra(AppPath()) + QStringLiteral("consultas.vgr");
    });
    steps([&] {
        if (FaltaArchivoConsultas(gConsulta().gRutaMascaraConsultas))
            CreaArchivoConsultas();
    });
    steps([&] {
        if (!db.gDBName.isEmpty())
            CargaConfiguracion(rutaAplicacion);
    });
    steps([&] { db.gCnn().setDefaultDatabase(db.gDBName); });

    // No window may run without a connection.
    if (!db.gOpenFlag || db.gCnn().State() != ado::adStateOpen)
        vb::End();
}
