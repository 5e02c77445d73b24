#include "startup/query_masks.h"

#include "lookup/lib_clscons3.h"
#include "platform/runtime/files.h"
#include "platform/runtime/vberror.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

struct MascaraPorDefecto
{
    const char *nombre;
    const char *vista;
    const char *campos;
};

// The technicians mask stands twice, as the suite has always written it;
// readers take the first.
constexpr MascaraPorDefecto kPorDefecto[] = {
    {"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|"},
    {"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|"},
    {"PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|"},
    {"CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|"},
    {"VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|"},
    {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"},
    {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"},
    {"MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|"},
};

} // namespace

bool FaltaArchivoConsultas(const QString &ruta)
{
    const QFileInfo info(ruta);
    // An empty file is what an interrupted write used to leave: it holds no mask.
    return !info.isFile() || info.size() == 0;
}

void CreaArchivoConsultas()
{
    const QString ruta = gConsulta().gRutaMascaraConsultas;
    const qint64 largo = TipoMascaraConsulta::LargoRegistro;

    // Records go after the last whole record of what is there already.
    QByteArray contenido;
    if (QFileInfo(ruta).isFile()) {
        QFile actual(ruta);
        if (!actual.open(QIODevice::ReadOnly))
            Raise(vberr::PathFileAccess, {}, QStringLiteral("CreaArchivoConsultas"));
        contenido = actual.readAll();
        contenido.truncate(int(contenido.size() / largo * largo));
    }
    for (const MascaraPorDefecto &d : kPorDefecto) {
        TipoMascaraConsulta m;
        m.NombreMascara = QString::fromLatin1(d.nombre).trimmed();
        m.VistaMascara = QString::fromLatin1(d.vista);
        m.CamposMascara = QString::fromLatin1(d.campos).trimmed();
        m.FiltroMascara = QString();
        contenido += m.aBytes();
    }

    // Whole or nothing: QSaveFile writes beside the target and renames it into place.
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly)) {
        const bool sinCarpeta = !QFileInfo(QFileInfo(ruta).absolutePath()).isDir();
        Raise(sinCarpeta ? vberr::PathNotFound : vberr::PathFileAccess, {}, QStringLiteral("CreaArchivoConsultas"));
    }
    if (archivo.write(contenido) != contenido.size() || !archivo.commit())
        Raise(vberr::PathFileAccess, {}, QStringLiteral("CreaArchivoConsultas"));
}
