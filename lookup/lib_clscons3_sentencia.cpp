// The statement of a lookup: a SELECT passed through, the query mask of a
// table or view, or the table's own fields.
#include "lookup/lib_clscons3.h"

#include "database/configuracion.h"
#include "database/db_dll.h"
#include "platform/ado/sql_text.h"
#include "platform/component/component.h"
#include "platform/runtime/files.h"
#include "platform/runtime/format.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"
#include "platform/ui/ui.h"

namespace {

// Written as SQL, outside any quotes.
bool Tiene(const QString &texto, const QString &palabra)
{
    return vb::InStr(ado::codeOutsideQuotes(texto), palabra, vb::Compare::Text) > 0;
}

bool EnBlanco(const QString &texto)
{
    return vb::Trim(texto).isEmpty();
}

} // namespace

std::optional<QString> Lib_ClsCons3::ArmaSentenciaConsulta(const QString &SQL,
                                                           QString &CampoBusqueda,
                                                           QString &Where,
                                                           const QString &SentenciaOpcional)
{
    Steps paso = Steps::IgnoringErrors();
    paso([&] {
        if (vb::Len(vb::Trim(Where)) > 1 && vb::Left(Where, 1) != QLatin1String("("))
            Where = QStringLiteral(" (") + Where + QStringLiteral(") ");
    });

    // A limit that cannot be read keeps the default.
    std::int32_t limite = 1000;
    paso([&] {
        const double n = vb::Val(Cfg(QStringLiteral("TopConsArt")));
        if (n != 0)
            limite = vb::CLng(n);
    });

    if (Tiene(SQL, QStringLiteral("SELECT"))) {
        QString sentencia = SQL;
        paso([&] {
            if (Tiene(sentencia, QStringLiteral("V_MA_ARTICULOS")))
                sentencia = ado::replaceOutsideQuotes(sentencia,
                                                      QStringLiteral("V_MA_ARTICULOS"),
                                                      QStringLiteral("VT_MA_ARTICULOS"));
        });
        return sentencia;
    }

    if (gUsarMascarasConsultas) {
        if (std::optional<TipoMascaraConsulta> mascara = BuscaMascara(SQL)) {
            mMascara = *mascara;
            return SentenciaMascara(CampoBusqueda, Where, limite);
        }
    }
    if (!SentenciaOpcional.isEmpty())
        return SentenciaOpcional;
    return SentenciaCampos(SQL, CampoBusqueda, limite);
}

std::optional<TipoMascaraConsulta> Lib_ClsCons3::BuscaMascara(const QString &nombre)
{
    // No file, or one that cannot be read, takes the table's own fields as a
    // name without a mask does: the list still opens.
    if (!vb::FileExists(gRutaMascaraConsultas))
        return std::nullopt;
    const QString buscado = vb::Trim(nombre);
    std::optional<TipoMascaraConsulta> hallada;
    Steps::IgnoringRunTimeErrors()([&] {
        vb::RandomFile archivo(gRutaMascaraConsultas, TipoMascaraConsulta::LargoRegistro);
        // Whole records only: a fragment at the end (an interrupted write)
        // is no mask.
        const std::int64_t registros = vb::FileLen(gRutaMascaraConsultas) / TipoMascaraConsulta::LargoRegistro;
        for (std::int64_t r = 1; r <= registros && !hallada; ++r) {
            TipoMascaraConsulta m = TipoMascaraConsulta::deBytes(archivo.GetBytes(r));
            const QString vista = vb::Trim(mComponente().QuitaCaracteres(m.VistaMascara, vb::Chr(0), vb::Chr(255)));
            if (vb::EqualsText(vista, buscado))
                hallada = m;
        }
    });
    return hallada;
}

std::optional<QString> Lib_ClsCons3::SentenciaMascara(QString &CampoBusqueda, const QString &Where, std::int32_t limite)
{
    ClsComponente &c = mComponente();
    QString vista = vb::Trim(c.QuitaCaracteres(mMascara.VistaMascara, vb::Chr(0), vb::Chr(255)));

    QString columnas = vb::Trim(c.Reemplaza(mMascara.CamposMascara, QStringLiteral("|"), QStringLiteral(",")));
    if (columnas.startsWith(QLatin1Char(',')))
        columnas.remove(0, 1);
    if (columnas.endsWith(QLatin1Char(',')))
        columnas.chop(1);
    if (EnBlanco(columnas))
        columnas = QStringLiteral("*");

    if (CampoBusqueda.isEmpty()) {
        const int coma = vb::InStr(columnas, QStringLiteral(","));
        if (coma == 0) {
            ui::MsgBox(QStringLiteral("Debe configurar la consulta para esta tabla"),
                       ui::vbInformation + ui::vbOKOnly,
                       QStringLiteral("Aviso al operador"));
            return std::nullopt;
        }
        CampoBusqueda = vb::Left(columnas, coma - 1);
    }

    QString filtro = vb::Trim(c.QuitaCaracteres(mMascara.FiltroMascara, vb::Chr(0), vb::Chr(255)));
    if (EnBlanco(filtro) && !EnBlanco(Where))
        filtro = Where;
    if (vb::EqualsText(vista, QStringLiteral("VT_PROVEEDORES"))
        || vb::EqualsText(vista, QStringLiteral("VT_CLIENTES"))) {
        if (EnBlanco(filtro))
            filtro = QStringLiteral("Dada_De_Baja = 0");
    } else if (vb::EqualsText(vista, QStringLiteral("V_MA_ARTICULOS"))) {
        vista = QStringLiteral("VT_MA_ARTICULOS");
        if (EnBlanco(filtro))
            filtro = QStringLiteral("SUSPENDIDO = 0");
    }

    QString sentencia = QStringLiteral("SELECT TOP ") + vb::CStr(limite) + QLatin1Char(' ') + columnas
                        + QStringLiteral(" FROM ") + vista;
    if (!EnBlanco(filtro))
        sentencia += QStringLiteral(" WHERE ") + filtro;
    if (!CampoBusqueda.isEmpty())
        sentencia += QStringLiteral(" ORDER BY ") + CampoBusqueda;
    return sentencia;
}

QString Lib_ClsCons3::SentenciaCampos(const QString &tabla, QString &CampoBusqueda, std::int32_t limite)
{
    Steps paso = Steps::IgnoringErrors();
    // The columns come out in the reverse of the table's order, as the suite's
    // users have always seen them.
    QString lista;
    ado::Recordset rs;
    paso([&] {
        QString prueba = QStringLiteral("select top 1 * from ") + tabla;
        gDB().AbrirRecordset(prueba, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
    });
    paso([&] {
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const QString nombre = rs.Fields(i).Name();
            if (vb::EqualsText(nombre, QStringLiteral("ID"))
                || vb::EqualsText(nombre, QStringLiteral("FECHAHORA_MODIFICACION"))
                || vb::EqualsText(nombre, QStringLiteral("FECHAHORA_GRABACION")))
                continue;
            const bool primera = EnBlanco(lista);
            lista = nombre + QLatin1Char(',') + lista;
            if (vb::EqualsText(nombre, QStringLiteral("DESCRIPCION"))
                || vb::EqualsText(nombre, QStringLiteral("NOMBRE")) || vb::EqualsText(nombre, QStringLiteral("DETALLE"))
                || primera)
                CampoBusqueda = nombre;
        }
    });
    paso([&] { gDB().CierraRecordset(&rs); });

    const QString columnas = EnBlanco(lista) ? QStringLiteral(" * ") : vb::Left(lista, vb::Len(lista) - 1);
    return QStringLiteral("SELECT TOP ") + vb::CStr(limite) + QLatin1Char(' ') + columnas + QStringLiteral(" FROM ")
           + tabla + QStringLiteral(" ORDER BY ") + CampoBusqueda;
}
