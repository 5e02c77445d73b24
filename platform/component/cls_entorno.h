#pragma once

#include <QString>

class QWidget;

// The machine and the operator's session.
class ClsEntorno
{
public:
    // The computer's host name.
    QString NombrePC();
    // The operating-system login name.
    QString UsuarioPC();
    // Adjusts a window of the suite (not its frame window) to the screen:
    // shrinks it to the available area and keeps it on screen.
    void AjustaFormulario(QWidget *window);
};
