#pragma once

#include <QString>

// A file-open dialog: the caller sets Titulo and DescripcionTipo, calls
// MuestraAbrir and reads NombreArchivo and FueCancelado.
class ClsDialogoArchivo
{
public:
    QString Titulo;
    // The file types offered, in Qt's filter form ("Textos (*.txt)") or the
    // platform's "Textos|*.txt" pairs; empty offers every file.
    QString DescripcionTipo;
    // The chosen file (full path); empty when cancelled.
    QString NombreArchivo;
    bool FueCancelado = false;
    // Folder the dialog opens in (empty: the application folder).
    QString CarpetaInicial;

    void MuestraAbrir();
};
