#include "tools/consola.h"

#include <QDialog>

#include <cstdio>

namespace consola {

QStringList Argumentos(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

bool HayPantalla()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

void SinPantalla()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

void OperadorAusente::cuenta(const QString &titulo, const QString &texto)
{
    ++m_errores;
    const QString linea = titulo.isEmpty() ? texto : titulo + QStringLiteral(": ") + texto;
    std::fprintf(stderr, "%s: %s\n", m_programa, linea.toLocal8Bit().constData());
}

int OperadorAusente::msgBox(const QString &prompt, int style, const QString &title)
{
    cuenta(title.isNull() ? ui::ApplicationTitle() : title, prompt);
    return ScriptedResponder::msgBox(prompt, style, title);
}

QString OperadorAusente::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    cuenta(title, prompt);
    return ScriptedResponder::inputBox(prompt, title, defaultText);
}

void OperadorAusente::modal(QDialog &dialog)
{
    cuenta(dialog.windowTitle(), QStringLiteral("not shown (no display)"));
    ScriptedResponder::modal(dialog);
}

} // namespace consola
