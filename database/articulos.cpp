#include "database/articulos.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/db_dll.h"
#include "platform/component/component.h"

#include <array>

namespace {

// A bar code found in one of these columns stands for its own unit; that unit
// comes first as IDUNIDAD so that it, not the article's base unit of the same
// name further on, is what the caller reads.
QString PorUnidad(const char *unidad, const char *columna)
{
    return QStringLiteral("SELECT %1 AS IDUNIDAD, V_MA_ARTICULOS.* FROM V_MA_ARTICULOS WHERE %2 = ")
        .arg(QLatin1String(unidad), QLatin1String(columna));
}

QString PorCodigoBarraPrincipal()
{
    return QStringLiteral("SELECT * FROM V_MA_ARTICULOS WHERE codigobarra =  ");
}

QString PorIdArticulo()
{
    return QStringLiteral("SELECT * FROM V_MA_ARTICULOS WHERE IDARTICULO = ");
}

// Opens one search; true when it finds a row.
bool Busca(const QString &prefijo, const QString &codigo25, ado::Recordset &rs, bool soloLectura)
{
    QString sentencia = prefijo + TextoSQL(codigo25);
    if (soloLectura)
        gDB().AbrirRecordset(sentencia, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
    else
        gDB().AbrirRecordset(sentencia, rs, nullptr, ado::adOpenDynamic, ado::adLockOptimistic, -1, true);
    return !rs.Bof();
}

} // namespace

bool BuscaArticuloPorCodigo(
    QString &Codigo, ado::Recordset &Rs, bool SoloLectura, bool &PorCodigoBarra, QString &Descripcion)
{
    const bool corto = Codigo.size() <= 6;
    if (corto)
        PorCodigoBarra = false;
    const QString codigo25 = CodigoAncho(Codigo, 25);

    bool encontrado = Busca(PorCodigoBarra ? PorCodigoBarraPrincipal() : PorIdArticulo(), codigo25, Rs, SoloLectura);
    if (encontrado) {
        Codigo = CampoSinRecortar(Rs, "IdArticulo");
    } else if (!corto) {
        if (Busca(PorCodigoBarraPrincipal(), codigo25, Rs, SoloLectura)) {
            encontrado = true;
            Codigo = CampoSinRecortar(Rs, "IdArticulo");
        } else {
            static const std::array<std::pair<const char *, const char *>, 5> alternativos{{
                {"UD_TTE", "CODIGOBARRADUN"},
                {"UMCB1", "CODIGOBARRA1"},
                {"UMCB2", "CODIGOBARRA2"},
                {"UMCB3", "CODIGOBARRA3"},
                {"UMCB4", "CODIGOBARRA4"},
            }};
            for (const auto &[unidad, columna] : alternativos) {
                if (Busca(PorUnidad(unidad, columna), codigo25, Rs, SoloLectura)) {
                    encontrado = true;
                    // Asked by article code, the typed code stays as the operator wrote it.
                    if (PorCodigoBarra)
                        Codigo = CampoSinRecortar(Rs, "IdArticulo");
                    break;
                }
            }
            if (!encontrado)
                encontrado = Busca(PorIdArticulo(), codigo25, Rs, SoloLectura);
        }
    }
    if (Rs.State() != ado::adStateClosed && !Rs.Bof())
        Descripcion = CampoSinRecortar(Rs, "Descripcion");
    return encontrado;
}
