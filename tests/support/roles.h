#pragma once

// Parts a test program plays when one of its tests starts it again as a
// child process (an operator beside the test, a run to kill midway). A part
// is registered at start-up and played by the test main in place of the
// tests, so a normal run neither lists nor skips it.

#include <QProcess>
#include <QProcessEnvironment>

#include <optional>

namespace roles {

using Cuerpo = void (*)();

// Registers a part under its name: `const roles::Rol rol("Nombre", Funcion);`.
// Gtest assertions may be used in it: a failed one fails the child.
struct Rol
{
    Rol(const char *nombre, Cuerpo cuerpo);
};

// Starts this test program as the part `nombre`, with `entorno` (the
// offscreen platform added) and the channel mode the process already has.
void Lanza(QProcess &proceso, const char *nombre, QProcessEnvironment entorno);

// For the test main: the part named on the command line, played; its exit
// code (1 when an assertion failed or it threw), or nothing when no part is named.
std::optional<int> Juega(int argc, char **argv);

} // namespace roles
