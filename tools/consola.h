#pragma once

// What the command-line tools share: whether a window can be shown, and the
// operator that answers when none is.

#include "platform/ui/scripted_responder.h"

#include <QString>
#include <QStringList>

namespace consola {

// The arguments after the program's name, before any window system is needed.
QStringList Argumentos(int argc, char **argv);

// A window system to show on: an X display, a Wayland socket or a Qt platform named.
bool HayPantalla();

// A run that shows nothing needs no display: the platform with no window system.
void SinPantalla();

// Answers a run that shows nothing: each message box goes to standard error
// and takes its way out (its first button, Cancel in place of Retry), an
// input box is cancelled and a dialog is not shown. Each counts as an error.
class OperadorAusente : public ui::ScriptedResponder
{
public:
    explicit OperadorAusente(const char *programa)
        : m_programa(programa)
    {}

    int msgBox(const QString &prompt, int style, const QString &title) override;
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultText) override;
    void modal(QDialog &dialog) override;

    int errores() const { return m_errores; }

private:
    void cuenta(const QString &titulo, const QString &texto);

    const char *m_programa;
    int m_errores = 0;
};

} // namespace consola
