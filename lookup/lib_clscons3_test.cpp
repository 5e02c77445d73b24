#include "lookup/lib_clscons3.h"

#include "tests/support/consulta.h"
#include "tests/support/empresa.h"

namespace {

class DriverCreation : public SinConsulta<Empresa>
{};

TEST_F(DriverCreation, MissingKeysAreHandedOnAsOneBlank)
{
    Lib_ClsCons3 &c = gConsulta();
    for (const Variant *n : {&c.StkNivel1, &c.StkNivel2, &c.StkNivel3, &c.StkNivel4}) {
        ASSERT_TRUE(n->isString());
        EXPECT_EQ(n->toString(), QStringLiteral(" "));
    }
    EXPECT_EQ(c.MuestraStock, QStringLiteral(" "));
    EXPECT_FALSE(c.UsaConsultaLIKE());
    ASSERT_TRUE(c.CmpsDevueltos);
    EXPECT_TRUE(c.CmpsDevueltos->isEmpty());
    ASSERT_TRUE(c.Valores);
    EXPECT_FALSE(c.Cantidades) << "no quantities until a list lookup";
    EXPECT_FALSE(c.Checks);
    EXPECT_TRUE(c.CampoDevuelto.isEmpty());
}

TEST_F(DriverCreation, ReadsItsKeys)
{
    empresa.config(QStringLiteral("Stk_Nivel1"), QStringLiteral("255"));
    empresa.config(QStringLiteral("Stk_Nivel3"), QString());
    empresa.config(QStringLiteral("MostrarStockenConsultas"), QStringLiteral("si"));
    empresa.config(QStringLiteral("UsaConsultaLIKE"), QStringLiteral("sI"));
    Lib_ClsCons3 &c = gConsulta();
    EXPECT_EQ(c.StkNivel1.toString(), QStringLiteral("255"));
    EXPECT_EQ(c.StkNivel2.toString(), QStringLiteral(" "));
    // An empty value stands for no colour at all: the number 0.
    EXPECT_TRUE(c.StkNivel3.isNumber());
    EXPECT_EQ(c.StkNivel3.toLong(), 0);
    EXPECT_EQ(c.MuestraStock, QStringLiteral("si"));
    EXPECT_TRUE(c.UsaConsultaLIKE());
}

TEST_F(DriverCreation, OneDriverUntilReleased)
{
    Lib_ClsCons3 *primero = &gConsulta();
    primero->gConnString = QStringLiteral("x");
    EXPECT_EQ(&gConsulta(), primero);
    LiberaConsulta();
    EXPECT_TRUE(gConsulta().gConnString.isEmpty());
}

} // namespace
