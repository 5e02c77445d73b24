#pragma once

// The lookup tests' fixture: the company fixture (tests/support/empresa.h)
// with every text sent recorded, and the lookup driver with masks on and its
// query-mask file in the test's own folder.

#include "database/mascara_consulta.h"
#include "lookup/lib_clscons3.h"
#include "platform/runtime/files.h"
#include "tests/support/consulta.h"
#include "tests/support/empresa.h"
#include "tests/support/impresion_qt.h"

#include <QStringList>
#include <QTemporaryDir>

#include <initializer_list>

struct MascaraPrueba
{
    const char *nombre;
    const char *vista;
    const char *campos;
    const char *filtro;
};

class ConConsultas : public SinConsulta<Empresa>
{
protected:
    explicit ConConsultas(bool demo = false)
        : SinConsulta<Empresa>({.espia = true, .demo = demo})
    {}

    void SetUp() override
    {
        SinConsulta<Empresa>::SetUp();
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

    QTemporaryDir dir;
    QString rutaMascaras;

private:
    bool preparado = false;
};
