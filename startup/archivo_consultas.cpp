#include "startup/archivo_consultas.h"

#include "lookup/lib_clscons3.h"
#include "platform/runtime/files.h"
#include "platform/runtime/vberror.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <unistd.h>

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
    // An empty file, or one that ends inside a record, is what an interrupted
    // write leaves: the fragment is no mask and the masks after it are lost.
    return !info.isFile() || info.size() == 0 || info.size() % TipoMascaraConsulta::LargoRegistro != 0;
}

namespace {

// Writes every byte to the open file and makes it reach the disk; false on
// any short write (a full disk) or failed sync.
bool EscribeEntero(int fd, const QByteArray &contenido)
{
    const char *p = contenido.constData();
    qint64 faltan = contenido.size();
    while (faltan > 0) {
        const ssize_t n = ::write(fd, p, size_t(faltan));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        faltan -= n;
    }
    return ::fsync(fd) == 0;
}

} // namespace

void CreaArchivoConsultas()
{
    const QString ruta = gConsulta().gRutaMascaraConsultas;
    const qint64 largo = TipoMascaraConsulta::LargoRegistro;
    const QString rutina = QStringLiteral("CreaArchivoConsultas");

    // Records go after the last whole record of what is there already: a
    // fragment left by an interrupted write is dropped.
    QByteArray contenido;
    if (QFileInfo(ruta).isFile()) {
        QFile actual(ruta);
        if (!actual.open(QIODevice::ReadOnly))
            Raise(vberr::PathFileAccess, {}, rutina);
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

    // Whole or nothing: the new file is written beside the old one, every
    // write checked and synced, and only then renamed into place. A failure
    // leaves the old file (or none) and no temporary one.
    QTemporaryFile nuevo(ruta + QStringLiteral(".XXXXXX"));
    if (!nuevo.open()) {
        const bool sinCarpeta = !QFileInfo(QFileInfo(ruta).absolutePath()).isDir();
        Raise(sinCarpeta ? vberr::PathNotFound : vberr::PathFileAccess, {}, rutina);
    }
    if (!EscribeEntero(nuevo.handle(), contenido))
        Raise(errno == ENOSPC || errno == EDQUOT ? vberr::DiskFull : vberr::DeviceIOError, {}, rutina);
    nuevo.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                         | QFileDevice::ReadOther);
    vb::ReplaceFile(nuevo.fileName(), ruta);
    nuevo.setAutoRemove(false);
}
