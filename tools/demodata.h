#pragma once

#include <QDate>
#include <QString>

#include <stdexcept>

// The demo database: the suite's schema and realistic sample data, for the
// demo, the tests and the benchmark.
namespace demodata {

class DemoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Options {
    int vouchers = 200;                 // sales and purchase vouchers together
    QDate firstDate = QDate(2023, 1, 1);
    int days = 730;                     // dates spread over this many days
    bool overwrite = false;             // replace an existing file
};

// The schema's SQL Server text, as compiled into the program.
QString SchemaSql();

// A fixed-width code as the system writes it: right-aligned, blank-padded.
QString Code(const QString &text, int width);

// Creates a database file holding the schema only. Refuses an existing
// file unless `overwrite`; DemoError tells why it could not.
void CreateSchema(const QString &path, bool overwrite = false);

// Creates the database with the schema and the demo data.
void CreateDemoDatabase(const QString &path, const Options &options = {});

// The voucher types of the demo data.
inline const char *const kVoucherTypes[] = {"RM", "FC", "NC", "OC"};

} // namespace demodata
