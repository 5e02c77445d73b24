#pragma once

// The stock tests' company (tests/support/empresa.h, as start-up leaves it,
// every text sent recorded): helpers for the stock
// tables, the settings the stock queries read put back between tests, and an
// operator that mends the database while asked.

#include "database/armado_sql.h"
#include "database/globales.h"
#include "tests/support/empresa.h"
#include "tools/datos_demo.h"

#include <functional>

// For its lifetime, passes every box to the scripted operator, and runs a
// repair just before the n-th message box is answered, so that the failing
// step can succeed on a retry.
class ReparaAlPreguntar : public ui::Responder
{
public:
    ReparaAlPreguntar(ui::ScriptedResponder &operador, int pregunta, std::function<void()> arreglo)
        : m_operador(operador)
        , m_pregunta(pregunta)
        , m_arreglo(std::move(arreglo))
        , m_anterior(ui::CurrentResponder())
    {
        ui::SetResponder(this);
    }
    ~ReparaAlPreguntar() override { ui::SetResponder(m_anterior); }
    ReparaAlPreguntar(const ReparaAlPreguntar &) = delete;
    ReparaAlPreguntar &operator=(const ReparaAlPreguntar &) = delete;

    int msgBox(const QString &prompt, int style, const QString &title) override
    {
        if (++m_preguntas == m_pregunta)
            m_arreglo();
        return m_operador.msgBox(prompt, style, title);
    }
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultText) override
    {
        return m_operador.inputBox(prompt, title, defaultText);
    }
    void modal(QDialog &dialog) override { m_operador.modal(dialog); }

private:
    ui::ScriptedResponder &m_operador;
    int m_pregunta;
    std::function<void()> m_arreglo;
    ui::Responder *m_anterior;
    int m_preguntas = 0;
};

class StockDb : public Empresa
{
protected:
    explicit StockDb(bool demo = false)
        : Empresa({.espia = true, .demo = demo, .comoArranque = true})
    {}

    static QString Codigo(const QString &texto, int ancho) { return demodata::Code(texto, ancho); }

    void Articulo(const QString &codigo, const QString &unidad, int usaLote = 0, int usaSerie = 0)
    {
        Ejecuta(QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, IDUNIDAD, USALOTE, USASERIE) "
                               "VALUES (%1, 'ARTICULO', '%2', %3, %4)")
                    .arg(TextoSQL(Codigo(codigo, 25)), Codigo(unidad, 4))
                    .arg(usaLote)
                    .arg(usaSerie));
    }

    // A row of S_TA_EQUIV: a quantity in unidad times coeficiente is the
    // quantity in equiv.
    void Equivalencia(const QString &articulo, const QString &unidad, const QString &equiv, double coeficiente)
    {
        Ejecuta(QStringLiteral("INSERT INTO S_TA_EQUIV (IdArticulo, IDUNIDAD, IDUNIDAD_EQUIV, Coeficiente) "
                               "VALUES ('%1', '%2', '%3', %4)")
                    .arg(Codigo(articulo, 25), Codigo(unidad, 4), Codigo(equiv, 4))
                    .arg(coeficiente));
    }

    // Runs lectura with the table renamed away, so that the routine's query
    // fails: the operator ignores the recordset's own box, then gives
    // respuesta to the treatment under the routine's name (titled with
    // enElTitulo); on a retry the table comes back while the treatment asks.
    // The table is back afterwards, whatever the answer.
    void SinLaTabla(const QString &tabla, const QString &enElTitulo, int respuesta, const std::function<void()> &lectura)
    {
        Ejecuta(QStringLiteral("ALTER TABLE %1 RENAME TO FUERA").arg(tabla));
        const QString vuelve = QStringLiteral("ALTER TABLE FUERA RENAME TO %1").arg(tabla);
        bool devuelta = false;
        operador.clear();
        {
            ReparaAlPreguntar repara(operador, 2, [&] {
                if (respuesta != ui::vbRetry)
                    return;
                Ejecuta(vuelve);
                devuelta = true;
            });
            operador.answer(ui::vbIgnore).answer(respuesta);
            lectura();
        }
        if (!devuelta)
            Ejecuta(vuelve);
        ASSERT_EQ(operador.requests().size(), 2u);
        EXPECT_TRUE(operador.requests()[1].title.contains(enElTitulo)) << operador.requests()[1].title.toStdString();
    }
};
