#include "startup/archivo_consultas.h"

#include "lookup/lib_clscons3.h"
#include "tests/support/consulta.h"
#include "tests/support/empresa.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

class QueryMaskFile : public SinConsulta<Empresa>
{
protected:
    QueryMaskFile()
        : SinConsulta<Empresa>({.abierta = false})
    {}

    void SetUp() override
    {
        SinConsulta::SetUp();
        ruta = dir.filePath(QStringLiteral("consultas.vgr"));
        gConsulta().gRutaMascaraConsultas = ruta;
    }
    QByteArray contenido() const
    {
        QFile f(ruta);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    QTemporaryDir dir;
    QString ruta;
};

QByteArray campo(const char *texto, int ancho)
{
    QByteArray b(texto);
    b.append(ancho - b.size(), ' ');
    return b;
}

TEST_F(QueryMaskFile, FreshFileHoldsTheEightDefaultsByteForByte)
{
    CreaArchivoConsultas();
    const QByteArray bytes = contenido();
    ASSERT_EQ(bytes.size(), 9616);
    struct Esperado
    {
        const char *nombre, *vista, *campos;
    };
    const Esperado esperados[] = {
        {"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|"},
        {"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|"},
        {"PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|"},
        {"CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|"},
        {"VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|"},
        {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"},
        {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"},
        {"MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|"},
    };
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i + 1);
        const QByteArray r = bytes.mid(i * 1202, 1202);
        const QByteArray esperado = campo(esperados[i].nombre, 100) + campo(esperados[i].vista, 100)
                                    + campo(esperados[i].campos, 500) + QByteArray(500, ' ') + QByteArray("\r\n");
        EXPECT_EQ(r, esperado);
        EXPECT_EQ(r.at(1200), '\r');
        EXPECT_EQ(r.at(1201), '\n');
    }
    EXPECT_TRUE(bytes.startsWith(QByteArray("ARTICULOS") + QByteArray(91, ' ') + "V_MA_ARTICULOS"));
}

TEST_F(QueryMaskFile, RecordsGoAfterTheLastWholeRecord)
{
    {
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1202, 'x') + QByteArray(10, 'y'));
    }
    CreaArchivoConsultas();
    const QByteArray bytes = contenido();
    ASSERT_EQ(bytes.size(), 9 * 1202);
    EXPECT_EQ(bytes.left(1202), QByteArray(1202, 'x'));
    EXPECT_TRUE(bytes.mid(1202).startsWith("ARTICULOS "));
}

TEST_F(QueryMaskFile, AFileThatCannotBeWrittenIsLeftAsItWas)
{
    gConsulta().gRutaMascaraConsultas = dir.filePath(QStringLiteral("falta/consultas.vgr"));
    EXPECT_THROW(CreaArchivoConsultas(), VbException);
    EXPECT_FALSE(QFileInfo::exists(gConsulta().gRutaMascaraConsultas));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 0) << "no temporary file left behind";
}

TEST_F(QueryMaskFile, EmptyFileCountsAsMissing)
{
    EXPECT_TRUE(FaltaArchivoConsultas(ruta));
    QFile(ruta).open(QIODevice::WriteOnly);
    EXPECT_TRUE(FaltaArchivoConsultas(ruta));
    CreaArchivoConsultas();
    EXPECT_FALSE(FaltaArchivoConsultas(ruta));
    EXPECT_TRUE(FaltaArchivoConsultas(dir.path())) << "a folder is no file";
}

TEST(TipoMascaraConsulta, FieldsAreCutAndSingleByte)
{
    TipoMascaraConsulta m;
    m.NombreMascara = QString(150, QLatin1Char('N'));
    m.VistaMascara = QStringLiteral("AÑO");
    const QByteArray r = m.aBytes();
    ASSERT_EQ(r.size(), 1202);
    EXPECT_EQ(r.left(100), QByteArray(100, 'N'));
    EXPECT_EQ(r.mid(100, 4), QByteArray("A\xD1O "));
    const TipoMascaraConsulta leido = TipoMascaraConsulta::deBytes(r);
    EXPECT_EQ(leido.VistaMascara.trimmed(), QStringLiteral("AÑO"));
    EXPECT_EQ(leido.FinMascara, QStringLiteral("\r\n"));
}

} // namespace
