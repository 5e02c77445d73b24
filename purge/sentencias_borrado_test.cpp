// The texts the run sends and writes: they reach every engine and the log
// unchanged, so they are checked character by character.
#include "purge/corrida_borrado.h"

#include "database/armado_sql.h"

#include <gtest/gtest.h>

namespace {

struct CasoFecha
{
    const char *texto;
    bool valida;
    int anio, mes, dia;
};

TEST(LeeFechaHasta, AceptaSoloDiaMesAnioReales)
{
    const CasoFecha casos[] = {
        {"10/12/2026", true, 2026, 12, 10},
        {"1/2/2005", true, 2005, 2, 1},
        {"01/02/2005", true, 2005, 2, 1},
        {"29/02/2024", true, 2024, 2, 29},
        {"31/12/2025", true, 2025, 12, 31},
        {"", false, 0, 0, 0},
        {"31/02/2026", false, 0, 0, 0},
        {"29/02/2025", false, 0, 0, 0},
        {"2026-12-10", false, 0, 0, 0},
        {"12/25/2020", false, 0, 0, 0}, // month first is never guessed
        {"ayer", false, 0, 0, 0},
        {"10/12/26", false, 0, 0, 0}, // two-digit years are ambiguous across engines
        {"10-12-2026", false, 0, 0, 0},
        {"10/12/2026'", false, 0, 0, 0},
        {"0/12/2026", false, 0, 0, 0},
        {"10/12/0001", false, 0, 0, 0},
    };
    for (const CasoFecha &c : casos) {
        SCOPED_TRACE(c.texto);
        const auto fecha = LeeFechaHasta(QString::fromUtf8(c.texto));
        EXPECT_EQ(fecha.has_value(), c.valida);
        if (c.valida && fecha) {
            EXPECT_EQ(*fecha, QDate(c.anio, c.mes, c.dia));
        }
    }
}

TEST(SentenciasAnulacion, SeleccionIncluyeTodoElDiaDeCorte)
{
    EXPECT_EQ(SentenciaSeleccion(QStringLiteral("  RM"), QDate(2026, 12, 10)),
              QStringLiteral("SELECT TC, IdComprobante, IdComplemento FROM V_MV_CPTE WHERE TC = '  RM' "
                             "AND FECHA < '11/12/2026'"));
    // Month and year ends roll over.
    EXPECT_TRUE(SentenciaSeleccion(QStringLiteral("  RM"), QDate(2025, 12, 31)).endsWith("FECHA < '01/01/2026'"));
    EXPECT_TRUE(SentenciaSeleccion(QStringLiteral("  RM"), QDate(2024, 2, 28)).endsWith("FECHA < '29/02/2024'"));
}

TEST(SentenciasAnulacion, LoteDeUnComprobante)
{
    const QString esperado = QStringLiteral(
        "BEGIN TRANSACTION\r\n"
        "DELETE V_MV_CPTEINSUMOS WHERE TC = '  RM' AND IDCOMPROBANTE = '0001000000011' AND IdComplemento =  0\r"
        "DELETE V_MV_CPTETAREAS WHERE TC = '  RM' AND IDCOMPROBANTE = '0001000000011' AND IdComplemento =   0\r"
        "DELETE V_MV_CPTE_OBSERV WHERE TC = '  RM' AND IDCOMPROBANTE = '0001000000011' AND IdComplemento =  0\r"
        "DELETE V_MV_CPTE WHERE TC = '  RM' AND IDCOMPROBANTE = '0001000000011' AND IdComplemento = 0\r"
        "DELETE V_MV_STOCK WHERE TC = '  RM' AND IDCOMPROBANTE = '0001000000011' AND IdComplemento =  0\r");
    EXPECT_EQ(SentenciaBorrado(QStringLiteral("  RM"), QStringLiteral("0001000000011"), 0), esperado);
    EXPECT_FALSE(esperado.contains(QStringLiteral("COMMIT")));
}

TEST(SentenciasAnulacion, ComillasNoSalenDelLiteral)
{
    EXPECT_EQ(TextoSQL(QStringLiteral("R'M")), QStringLiteral("'R''M'"));
    EXPECT_EQ(TextoSQL(QStringLiteral("''")), QStringLiteral("''''''"));
    const QString lote = SentenciaBorrado(QStringLiteral("' OR"), QStringLiteral("1' OR '1'='1"), 7);
    EXPECT_TRUE(lote.contains(QStringLiteral("TC = ''' OR' AND IDCOMPROBANTE = '1'' OR ''1''=''1' AND")));
    EXPECT_TRUE(SentenciaSeleccion(QStringLiteral("X'Y"), QDate(2026, 1, 1)).contains(QStringLiteral("TC = 'X''Y'")));
}

TEST(LogAnulacion, LineasConSuFormaExacta)
{
    EXPECT_EQ(LineaCabeceraLog(QStringLiteral("CAJA1"),
                               QStringLiteral("ana"),
                               QStringLiteral("10/12/2026 09:30:00"),
                               QStringLiteral("  RM"),
                               QStringLiteral("31/12/2025")),
              QStringLiteral("PC: CAJA1 Usuario: ana  Fecha : 10/12/2026 09:30:00 TC:   RM FECHA HASTA:31/12/2025"));
    EXPECT_EQ(LineaCierreLog(12, QStringLiteral("ADMIN")),
              QStringLiteral("Registros Anulados 12 Usuario Sistema: ADMIN"));
}

} // namespace
