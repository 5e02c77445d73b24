#pragma once

// The lookup tests' fixture: gDB() open on a fresh database made from the
// suite's schema, every text sent recorded, a scripted operator, and the
// lookup driver with masks on and its query-mask file in the test's own folder.

#include "database/mascara_consulta.h"
#include "lookup/lib_clscons3.h"
#include "platform/runtime/files.h"
#include "tests/support/consulta.h"
#include "tests/support/empresa.h"
#include "tests/support/fixture_db.h"
#include "tests/support/qt_print.h"
#include "tests/support/sqlite_spy.h"

#include <QStringList>
#include <QTemporaryDir>

#include <initializer_list>

struct MascaraPrueba {
    const char *nombre;
    const char *vista;
    const char *campos;
    const char *filtro;
};

class ConConsultas : public SinConsulta<ConOperador> {
protected:
    void SetUp() override
    {
        SinConsulta<ConOperador>::SetUp();
        base = MakeFixtureDb(dir.path(), conDemo);
        // The engine behind a provider that records every text sent (`sent`).
        ado::Errors errores;
        auto motor = ado::SqliteProvider::open(base.path, errores);
        ASSERT_TRUE(motor) << (errores.Count() ? errores.Item(0).Description.toStdString() : std::string());
        gDB().gCnn().attachProvider(std::make_unique<SpyProvider>(std::move(motor), sent));
        gDB().gCnn().setConnectionString(base.connectionString);
        gDB().gOpenFlag = true;
        gDB().gUsuario = QStringLiteral("ADMIN");
        rutaMascaras = dir.filePath(QStringLiteral("consultas.vgr"));
    }
    // The driver as start-up leaves it: create it only after the
    // configuration rows it reads at creation are in.
    Lib_ClsCons3 &driver()
    {
        Lib_ClsCons3 &c = gConsulta();
        if (!preparado) {
            c.gUsarMascarasConsultas = true;
            c.gRutaMascaraConsultas = rutaMascaras;
            preparado = true;
        }
        return c;
    }

    void exec(const QString &sql) { gDB().gCnn().Execute(sql); }
    void config(const QString &clave, const QString &valor)
    {
        exec(QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE CLAVE = '%1'").arg(clave));
        exec(QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES ('%1', '%2')").arg(clave, valor));
    }

    // Writes the query-mask file with these records, in order.
    void mascaras(std::initializer_list<MascaraPrueba> registros)
    {
        QByteArray bytes;
        for (const MascaraPrueba &r : registros) {
            TipoMascaraConsulta m;
            m.NombreMascara = QString::fromLatin1(r.nombre);
            m.VistaMascara = QString::fromLatin1(r.vista);
            m.CamposMascara = QString::fromLatin1(r.campos);
            m.FiltroMascara = QString::fromLatin1(r.filtro);
            bytes += m.aBytes();
        }
        escribeMascaras(bytes);
    }
    void escribeMascaras(const QByteArray &bytes)
    {
        QFile f(rutaMascaras);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    // The rows a statement gives on the fixture database, or a failure.
    int filas(QString sentencia)
    {
        ado::Recordset rs;
        rs.Open(sentencia, gDB().gCnn(), ado::adOpenStatic, ado::adLockReadOnly);
        int n = 0;
        for (; !rs.Eof(); rs.MoveNext())
            ++n;
        return n;
    }

    bool conDemo = false;
    QStringList sent;
    QTemporaryDir dir;
    FixtureDb base;
    QString rutaMascaras;

private:
    bool preparado = false;
};
