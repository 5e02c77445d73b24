#include "database/mascara_consulta.h"

#include "platform/runtime/files.h"

namespace {

QByteArray AnchoFijo(const QString &text, int width)
{
    QByteArray bytes = vb::ToFileBytes(text).left(width);
    if (bytes.size() < width)
        bytes.append(width - bytes.size(), ' ');
    return bytes;
}

} // namespace

QByteArray TipoMascaraConsulta::aBytes() const
{
    QByteArray record;
    record.reserve(LargoRegistro);
    record += AnchoFijo(NombreMascara, LargoNombre);
    record += AnchoFijo(VistaMascara, LargoVista);
    record += AnchoFijo(CamposMascara, LargoCampos);
    record += AnchoFijo(FiltroMascara, LargoFiltro);
    record += AnchoFijo(FinMascara, LargoFin);
    return record;
}

TipoMascaraConsulta TipoMascaraConsulta::deBytes(const QByteArray &registro)
{
    QByteArray r = registro.left(LargoRegistro);
    if (r.size() < LargoRegistro)
        r.append(LargoRegistro - r.size(), ' ');
    TipoMascaraConsulta m;
    int at = 0;
    const auto take = [&](int width) {
        const QString s = vb::FromFileBytes(r.mid(at, width));
        at += width;
        return s;
    };
    m.NombreMascara = take(LargoNombre);
    m.VistaMascara = take(LargoVista);
    m.CamposMascara = take(LargoCampos);
    m.FiltroMascara = take(LargoFiltro);
    m.FinMascara = take(LargoFin);
    return m;
}
