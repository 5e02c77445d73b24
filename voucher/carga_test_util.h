#pragma once

// A company made from the schema for the layout and loading tests: the
// statements the connection is sent are recorded, the company settings that
// the loader reads from module variables start blank, and seed rows are
// written past the data layer.

#include "database/globals.h"
#include "platform/ado/sqlite_provider.h"
#include "tests/support/empresa_esquema.h"
#include "tests/support/sqlite_spy.h"

#include <QStringList>

class EmpresaCarga : public ConEmpresaDelEsquema {
protected:
    void SetUp() override
    {
        ConEmpresaDelEsquema::SetUp();
        gDB().gCnn().Close();
        ado::Errors errores;
        auto motor = ado::SqliteProvider::open(base.path, errores);
        ASSERT_TRUE(motor);
        gDB().gCnn().attachProvider(std::make_unique<SpyProvider>(std::move(motor), enviadas));
        gMaderera = false;
        gMadTiras.clear();
        gCantidadDecimales = QStringLiteral("2");
    }
    void TearDown() override
    {
        gMaderera = false;
        gMadTiras.clear();
        gCantidadDecimales.clear();
        ConEmpresaDelEsquema::TearDown();
    }
    // A voucher type of a system (its first numbering book).
    void Tipo(const QString &codigo, const QString &sistema)
    {
        Ejecuta(QStringLiteral("INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, UNEGOCIO, Sistema) VALUES ('%1', 1, '   1', '%2')")
                    .arg(codigo.trimmed().rightJustified(4, QLatin1Char(' ')), sistema));
    }
    // The statements sent that contain the text (any case).
    QStringList EnviadasCon(const QString &texto) const { return enviadas.filter(texto, Qt::CaseInsensitive); }

    QStringList enviadas;
};
