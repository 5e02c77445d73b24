#include "lookup/faltantes_stock.h"

#include "database/armado_sql.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/strings.h"

QString PreguntaFaltante(const QString &articulo, const QString &descripcion)
{
    return QStringLiteral("Desea informar el articulo ") + vb::Trim(articulo) + QLatin1Char(' ') + vb::Trim(descripcion)
           + QStringLiteral("\r\ncomo un faltante de stock?");
}

QString SentenciaFaltante(const QString &articulo,
                          const QString &descripcion,
                          const QString &usuario,
                          const QDateTime &momento)
{
    return QStringLiteral("INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) values(")
           + TextoSQL(vb::GeneralDate(momento)) + QLatin1Char(',') + CodigoSQL(articulo, 25) + QLatin1Char(',')
           + TextoSQL(vb::Trim(descripcion)) + QLatin1Char(',') + TextoSQL(usuario) + QLatin1Char(')');
}
