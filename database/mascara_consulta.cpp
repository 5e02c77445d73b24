#include "database/mascara_consulta.h"

#include "platform/runtime/files.h"

namespace {

QByteArray fixedWidth(const QString &text, int width)
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
    record += fixedWidth(NombreMascara, LargoNombre);
    record += fixedWidth(VistaMascara, LargoVista);
    record += fixedWidth(CamposMascara, LargoCampos);
    record += fixedWidth(FiltroMascara, LargoFiltro);
    record += fixedWidth(FinMascara, LargoFin);
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
