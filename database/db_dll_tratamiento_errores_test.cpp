#include "database/db_dll.h"

#include "platform/runtime/app.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/files.h"
#include "platform/ui/scripted_responder.h"
#include "platform/ui/ui.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A fresh application folder and a fixed clock for every case.
class ErrorTreatmentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_savedApp = AppPath();
        SetAppPath(m_dir.path());
        vb::FixClock(QDateTime(QDate(2024, 3, 7), QTime(9, 5, 4)));
    }
    void TearDown() override
    {
        vb::SetClock({});
        SetAppPath(m_savedApp);
    }

    QByteArray logBytes() const
    {
        QFile f(m_dir.filePath(QStringLiteral("VGERR.LOG")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static ErrObject Failure(std::int32_t number, const QString &description)
    {
        ErrObject e;
        e.Number = number;
        e.Description = description;
        e.Source = QStringLiteral("anulacion");
        return e;
    }

    QTemporaryDir m_dir;
    QString m_savedApp;
    DB_Dll db;
    ui::ScriptedResponder responder;
    ui::ScopedResponder scoped{responder};
};

TEST_F(ErrorTreatmentTest, RetryShowsMessageAndLogsLine)
{
    responder.answer(ui::vbRetry);
    const int answer = db.TratamientoErrores(Failure(91, QStringLiteral("  Variable no establecida ")),
                                             std::nullopt,
                                             QStringLiteral("CierraRecordset"));
    EXPECT_EQ(answer, 4);
    ASSERT_EQ(responder.requests().size(), 1u);
    const ui::Request &r = responder.last();
    EXPECT_EQ(r.prompt, QStringLiteral("Ha ocurrido el Siguiente Error (91) Variable no establecida"));
    EXPECT_EQ(r.style, 18);
    EXPECT_EQ(r.title, QStringLiteral("anulacion - CierraRecordset Aviso al operador!!! "));
    EXPECT_EQ(logBytes(),
              vb::ToFileBytes(
                  QStringLiteral("03-07-2024 09:05:04 Rutina: - CierraRecordset Mensaje Ha ocurrido el Siguiente "
                                 "Error (91) Variable no establecida Respondió : Reintentar\r\n")));
}

TEST_F(ErrorTreatmentTest, AnswerWordsAndRoutineParts)
{
    struct Case
    {
        int style;
        int answer;
        std::optional<QString> routine;
        const char *tail; // the line from " Rutina: " on
    };
    const Case cases[] = {
        {18,
         ui::vbAbort,
         std::nullopt,
         " Rutina:  Mensaje Ha ocurrido el Siguiente Error (-2147217900) X Respondió : Abortar"},
        {18,
         ui::vbIgnore,
         QStringLiteral("Cfg"),
         " Rutina: - Cfg Mensaje Ha ocurrido el Siguiente Error (-2147217900) X Respondió : Ignorar"},
        {0,
         ui::vbOK,
         QStringLiteral("Cfg"),
         " Rutina: - Cfg Mensaje Ha ocurrido el Siguiente Error (-2147217900) X Respondió : "},
        {1,
         ui::vbCancel,
         std::nullopt,
         " Rutina:  Mensaje Ha ocurrido el Siguiente Error (-2147217900) X Respondió : Cancelar"},
        {4, ui::vbYes, std::nullopt, " Rutina:  Mensaje Ha ocurrido el Siguiente Error (-2147217900) X Respondió : Sí"},
        {4, ui::vbNo, std::nullopt, " Rutina:  Mensaje Ha ocurrido el Siguiente Error (-2147217900) X Respondió : No"},
    };
    QByteArray expected;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tail);
        responder.answer(c.answer);
        EXPECT_EQ(db.TratamientoErrores(Failure(-2147217900, QStringLiteral("X")), c.style, c.routine), c.answer);
        EXPECT_EQ(responder.last().style, c.style);
        EXPECT_EQ(responder.last().title,
                  c.routine ? QStringLiteral("anulacion - Cfg Aviso al operador!!! ")
                            : QStringLiteral("anulacion Aviso al operador!!! "));
        expected += vb::ToFileBytes(QStringLiteral("03-07-2024 09:05:04") + QString::fromUtf8(c.tail)
                                    + QStringLiteral("\r\n"));
    }
    EXPECT_EQ(logBytes(), expected); // appended in order, Latin-1
}

// Pasos sends each failure to the treatment with its label and follows the
// operator: Reintentar runs the step again, Ignorar goes on, Abortar leaves.
TEST_F(ErrorTreatmentTest, PasosFollowsTheAnswersOfTheTreatment)
{
    responder.answer(ui::vbRetry);
    responder.answer(ui::vbIgnore);
    responder.answer(ui::vbAbort);
    Steps paso = Pasos(QStringLiteral("Cfg"), db);
    int intentos = 0;
    QStringList hechos;
    EXPECT_TRUE(paso([&] {
        if (++intentos == 1)
            Raise(vberr::Overflow);
        hechos << QStringLiteral("uno");
    }));
    EXPECT_TRUE(paso([&] { Raise(vberr::TypeMismatch); }));
    EXPECT_FALSE(paso([&] { Raise(vberr::DivisionByZero); }));
    EXPECT_FALSE(paso([&] { hechos << QStringLiteral("tarde"); }));
    EXPECT_EQ(hechos, QStringList{QStringLiteral("uno")});
    EXPECT_EQ(intentos, 2);
    EXPECT_EQ(paso.lastAnswer(), ui::vbAbort);
    ASSERT_EQ(responder.requests().size(), 3u);
    for (const ui::Request &r : responder.requests()) {
        EXPECT_EQ(r.style, 18);
        EXPECT_TRUE(r.title.endsWith(QStringLiteral(" - Cfg Aviso al operador!!! "))) << r.title.toStdString();
    }
}

TEST_F(ErrorTreatmentTest, NoFailureShowsAndWritesNothing)
{
    EXPECT_EQ(db.TratamientoErrores(Failure(0, QStringLiteral("nada"))), 0);
    EXPECT_TRUE(responder.requests().empty());
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("VGERR.LOG"))));
}

TEST_F(ErrorTreatmentTest, UnwritableLogStillAnswers)
{
    const QString missing = m_dir.filePath(QStringLiteral("no/existe/ERR.LOG"));
    db.setArchivoErrores(Variant(missing));
    EXPECT_EQ(db.ArchivoErrores().toString(), missing);
    responder.answer(ui::vbRetry);
    EXPECT_EQ(db.TratamientoErrores(Failure(5, QStringLiteral("x"))), 4);
    EXPECT_EQ(responder.requests().size(), 1u);
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("VGERR.LOG"))));
}

TEST_F(ErrorTreatmentTest, NamedLogAndFolderWithTrailingSeparator)
{
    // A named log is used as it is.
    const QString named = m_dir.filePath(QStringLiteral("MIO.LOG"));
    db.setArchivoErrores(Variant(named));
    responder.answer(ui::vbIgnore);
    db.TratamientoErrores(Failure(5, QStringLiteral("x")));
    EXPECT_TRUE(QFile::exists(named));

    // A folder that already ends in a separator gets no second one.
    db.setArchivoErrores(Variant(QString()));
    SetAppPath(m_dir.path() + QLatin1Char('/'));
    responder.answer(ui::vbIgnore);
    db.TratamientoErrores(Failure(5, QStringLiteral("x")));
    EXPECT_FALSE(logBytes().isEmpty());
}

} // namespace
