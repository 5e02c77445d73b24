#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <stdexcept>

// The demo database: the suite's schema and realistic sample data, for the
// demo, the tests and the benchmark.
namespace demodata {

class DemoError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Every voucher has 5 article lines, 2 task lines, 1 observation and 5
// stock movements.
struct Options
{
    int vouchers = 200; // sales and purchase vouchers together
    QDate firstDate = QDate(2023, 1, 1);
    int days = 730;         // dates spread over this many days
    bool overwrite = false; // replace an existing file
    // The types the vouchers take in turn, from kVoucherTypes, trimmed or
    // padded; empty: all four.
    QStringList types;
    // Consecutive vouchers that share one day: the first at midnight, the
    // others later in the day (kTimesOfDay in turn, up to 23:59:59), for
    // runs cut off on a day whose vouchers are not all stamped at midnight.
    int perDay = 1;
    // Every n-th voucher (the n-th, the 2n-th...) has IdComplemento 1; 0: none.
    int complementEvery = 0;
    // Articles in the catalogue: the first ones carry the sample names,
    // the rest repeat them with their number; at least 1.
    int articles = 20;
    // The voucher and tree lookups' samples: a voucher for every row icon
    // (approved, voided, pending, prepared, guarantee), an order with its
    // reception, third-party vouchers, a supplier's credit entry, and
    // families, cost centres and positions nested by code length.
    bool lookupSamples = false;
    // The entry model's samples, numbered from 9101: an order delivered in
    // part by a later remittance, a work order with dated tasks and other
    // concepts, and one purchase number under two suppliers; from 9111,
    // invoices made from them (TCORIGEN, COMPROBANTEORIGEN,
    // COMPLEMENTOORIGEN): of the remittance's first part one annulled and one
    // valid, of its second part (IdComplemento 1) one valid, and of the work
    // order one annulled.
    bool entrySamples = false;
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

// The times of day of the vouchers that share a day (see Options::perDay).
inline const char *const kTimesOfDay[] = {"00:00:00", "08:30:00", "14:30:00", "18:45:10", "23:59:59"};

} // namespace demodata
