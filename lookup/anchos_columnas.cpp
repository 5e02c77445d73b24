#include "lookup/anchos_columnas.h"

#include "platform/component/component.h"
#include "platform/runtime/app.h"
#include "platform/runtime/files.h"
#include "platform/runtime/format.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"

#include <QFileInfo>

namespace {

QString archivoAuxiliar(const QString &archivo)
{
    return gComponente().AgregaBarra(QFileInfo(archivo).path()) + QStringLiteral("CONSULTASLEN.AUX");
}

} // namespace

QString ArchivoAnchos()
{
    return gComponente().AgregaBarra(AppPath()) + QStringLiteral("CONSULTASLEN.VGR");
}

QString ClaveAnchos(const QString &tabla)
{
    if (vb::EqualsText(tabla, QStringLiteral("Stk_ma_articulos")))
        return QStringLiteral("VT_MA_ARTICULOS");
    return tabla;
}

void LeeAnchos(const QString &archivo,
               const QString &tabla,
               int columnas,
               float minimo,
               const std::function<void(int, float)> &aplica)
{
    if (!vb::FileExists(archivo))
        return;
    // A damaged file costs the widths, never the lookup.
    Steps::IgnoringRunTimeErrors()([&] {
        vb::SequentialFile entrada(archivo, vb::OpenMode::Input);
        while (!entrada.Eof()) {
            const QString clave = entrada.Input();
            QString anchos = entrada.Input();
            if (!vb::EqualsText(clave, tabla))
                continue;
            for (int k = 1; k <= columnas; ++k) {
                const qsizetype barra = anchos.indexOf(QLatin1Char('|'));
                if (barra < 0)
                    return;
                // Text that is no number reads as 0.
                const float ancho = float(gComponente().ConvierteACurrency(anchos.left(barra)).toDouble());
                if (ancho >= minimo && ancho > 0 && ancho <= kAnchoMaximo)
                    aplica(k, ancho);
                anchos = anchos.mid(barra + 1);
            }
        }
    });
}

void GrabaAnchos(const QString &archivo,
                 const QString &tabla,
                 const QList<float> &anchos,
                 const std::function<void(const QString &, const QString &)> &reemplaza)
{
    const QString auxiliar = archivoAuxiliar(archivo);
    try {
        vb::SequentialFile salida(auxiliar, vb::OpenMode::Output);
        if (vb::FileExists(archivo)) {
            vb::SequentialFile entrada(archivo, vb::OpenMode::Input);
            while (!entrada.Eof()) {
                const QString clave = entrada.Input();
                const QString otros = entrada.Input();
                if (!vb::EqualsText(clave, tabla))
                    salida.Write({clave, otros});
            }
        }
        QString texto;
        for (float ancho : anchos)
            texto += vb::CStr(ancho) + QLatin1Char('|');
        salida.Write({tabla, texto});
        salida.Close();
        if (reemplaza)
            reemplaza(auxiliar, archivo);
        else
            vb::ReplaceFile(auxiliar, archivo);
    } catch (...) {
        // The old file stays; what was half written goes.
        if (vb::FileExists(auxiliar))
            QFile::remove(auxiliar);
        throw;
    }
}
