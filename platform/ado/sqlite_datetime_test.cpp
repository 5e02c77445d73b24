#include "platform/ado/sqlite_datetime.h"
#include "tests/support/impresion_qt.h"

#include <gtest/gtest.h>

namespace {

using ado::sqlite_datetime::Reading;
namespace dt = ado::sqlite_datetime;

// Each text as a server set to day/month/year reads it for a datetime: the
// instant, in the stored form, or its conversion error. Forms it reads by
// its settings or its language are refused here.
TEST(SqliteDatetime, TextsReadAsTheServerReadsThem)
{
    struct Case
    {
        const char *nombre;
        const char *input;
        Reading reading;
        const char *stored;
    };
    const Case cases[] = {
        {"yyyymmdd", "20240101", Reading::Date, "2024-01-01 00:00:00"},
        {"yyyymmdd con hora", "20230131 10:05:09", Reading::Date, "2023-01-31 10:05:09"},
        {"d/m/yyyy", "1/2/2005", Reading::Date, "2005-02-01 00:00:00"},
        {"dd/mm/yyyy hh:mm:ss", "31/12/2020 23:59:59", Reading::Date, "2020-12-31 23:59:59"},
        {"dd/mm/yy hh:mm", "05/03/21 10:30", Reading::Date, "2021-03-05 10:30:00"},
        {"año de dos cifras, 1900", "01/01/75", Reading::Date, "1975-01-01 00:00:00"},
        {"año de dos cifras, 2049", "01/01/49", Reading::Date, "2049-01-01 00:00:00"},
        {"dd-mm-yyyy", "01-06-2023", Reading::Date, "2023-06-01 00:00:00"},
        {"dd.mm.yyyy", "01.06.2023", Reading::Date, "2023-06-01 00:00:00"},
        {"milisegundos cero", "31/12/2025 00:00:00.000", Reading::Date, "2025-12-31 00:00:00"},
        {"milisegundos al paso de 1/300", "31/12/2025 10:00:00.002", Reading::Date, "2025-12-31 10:00:00.003"},
        {"una décima", "31/12/2025 10:00:00.5", Reading::Date, "2025-12-31 10:00:00.500"},
        {".999 es el día siguiente", "31/12/2025 23:59:59.999", Reading::Date, "2026-01-01 00:00:00"},
        {".997 queda", "31/12/2025 23:59:59.997", Reading::Date, "2025-12-31 23:59:59.997"},
        {"milisegundos tras dos puntos", "31/12/2025 10:00:00:250", Reading::Date, "2025-12-31 10:00:00.250"},
        {"ISO", "2021-03-05", Reading::Date, "2021-03-05 00:00:00"},
        {"ISO con T", "2021-03-05T08:09:10", Reading::Date, "2021-03-05 08:09:10"},
        {"ISO con T y milisegundos", "2021-03-05T08:09:10.123", Reading::Date, "2021-03-05 08:09:10.123"},
        {"blancos alrededor", "  1/02/2005 ", Reading::Date, "2005-02-01 00:00:00"},
        {"texto vacío", "", Reading::Date, "1900-01-01 00:00:00"},
        {"solo blancos", "   ", Reading::Date, "1900-01-01 00:00:00"},
        {"hora sola", "10:30", Reading::Date, "1900-01-01 10:30:00"},
        // Days that do not exist, and values out of the type's range: 242.
        {"31 de febrero", "31/02/2023", Reading::OutOfRange, ""},
        {"día 32", "32/12/2025", Reading::OutOfRange, ""},
        {"mes 13", "13/13/2020", Reading::OutOfRange, ""},
        {"29/02 de un año común", "29/02/2023", Reading::OutOfRange, ""},
        {"ISO imposible", "2024-02-30", Reading::OutOfRange, ""},
        {"antes de 1753", "0999-12-31", Reading::OutOfRange, ""},
        {"yyyymmdd imposible", "20230231", Reading::OutOfRange, ""},
        {"hora 24", "1/2/2005 24:00", Reading::OutOfRange, ""},
        // Texts that are no date: 241.
        {"un código", "RM", Reading::NotADate, ""},
        {"día y mes", "1/2", Reading::NotADate, ""},
        {"separadores mezclados", "1/2-2005", Reading::NotADate, ""},
        {"año de tres cifras", "1/2/205", Reading::NotADate, ""},
        {"texto detrás", "1/2/2005 x", Reading::NotADate, ""},
        {"cuatro decimales", "1/2/2005 10:00:00.1234", Reading::NotADate, ""},
        {"letra en el día", "1x/03/2024", Reading::NotADate, ""},
        // Read by the server's settings or language: refused.
        {"año primero con puntos", "2023.06.01", Reading::Unsupported, ""},
        {"año primero con barras", "2023/06/01", Reading::Unsupported, ""},
        {"yymmdd", "230601", Reading::Unsupported, ""},
        {"AM/PM", "1/2/2005 10:00 PM", Reading::Unsupported, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        QString stored;
        EXPECT_EQ(int(dt::fromText(QString::fromUtf8(c.input), stored)), int(c.reading));
        if (c.reading == Reading::Date) {
            EXPECT_EQ(stored, QString::fromUtf8(c.stored));
        }
    }
}

// Stored values, the old bare day among them, compare as the instants they name.
TEST(SqliteDatetime, StoredFormsCompareAsInstants)
{
    struct Case
    {
        const char *nombre;
        const char *stored;
        const char *comparable;
    };
    const Case cases[] = {
        {"segundos", "2024-06-01 10:00:00", "2024-06-01 10:00:00"},
        {"milisegundos", "2024-06-01 10:00:00.003", "2024-06-01 10:00:00.003"},
        {"milisegundos cero", "2024-06-01 10:00:00.000", "2024-06-01 10:00:00"},
        {"día solo de antes", "2024-06-01", "2024-06-01 00:00:00"},
        {"ISO con T", "2024-06-01T10:00:00", "2024-06-01 10:00:00"},
        {"no es fecha", "pendiente", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        char out[dt::kStoredLengthWithMilliseconds];
        const QByteArray in(c.stored);
        const int n = dt::comparable(in.constData(), int(in.size()), out);
        EXPECT_EQ(QByteArray(out, n), QByteArray(c.comparable));
    }
    const QByteArray day("2024-06-01");
    EXPECT_EQ(dt::toDateTime(day.constData(), int(day.size())), QDateTime(QDate(2024, 6, 1), QTime(0, 0)));
    const QByteArray ms("2024-06-01 10:00:00.997");
    EXPECT_EQ(dt::toDateTime(ms.constData(), int(ms.size())), QDateTime(QDate(2024, 6, 1), QTime(10, 0, 0, 997)));
    EXPECT_EQ(dt::fromDateTime(QDateTime(QDate(2024, 6, 1), QTime(10, 0, 0, 998))), "2024-06-01 10:00:00.997");
    EXPECT_EQ(dt::fromDateTime(QDateTime(QDate(1700, 1, 1), QTime(0, 0))), "");
}

} // namespace
