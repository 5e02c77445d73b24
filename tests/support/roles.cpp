#include "tests/support/roles.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <map>
#include <string>

namespace roles {
namespace {

const char kOpcion[] = "--rol=";

std::map<std::string, Cuerpo> &Registro()
{
    static std::map<std::string, Cuerpo> registro;
    return registro;
}

} // namespace

Rol::Rol(const char *nombre, Cuerpo cuerpo)
{
    Registro().emplace(nombre, cuerpo);
}

void Lanza(QProcess &proceso, const char *nombre, QProcessEnvironment entorno)
{
    entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    proceso.setProcessEnvironment(entorno);
    proceso.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kOpcion) + QString::fromLatin1(nombre)});
}

std::optional<int> Juega(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kOpcion, sizeof kOpcion - 1) != 0)
            continue;
        const char *nombre = argv[i] + sizeof kOpcion - 1;
        const auto rol = Registro().find(nombre);
        if (rol == Registro().end()) {
            std::fprintf(stderr, "no part named %s in this test program\n", nombre);
            return 2;
        }
        try {
            rol->second();
        } catch (const std::exception &e) {
            std::fprintf(stderr, "part %s threw: %s\n", nombre, e.what());
            return 1;
        }
        // Outside a test, gtest keeps the failures of assertions here.
        return ::testing::UnitTest::GetInstance()->ad_hoc_test_result().Failed() ? 1 : 0;
    }
    return std::nullopt;
}

} // namespace roles
