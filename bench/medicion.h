#pragma once

// What the benchmarks share: the folders they run in, the clock, the
// statistics of repeated runs and the machine's load.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <malloc.h>
#include <sys/vfs.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace bench {

// A folder the databases go in, and whether it lives in memory (where the
// engine's own work is what is timed) or on a disk (where commits wait for it).
struct Folder
{
    QString path;
    bool ram = false;
    QString label() const { return path + (ram ? QStringLiteral(" (RAM)") : QStringLiteral(" (disk)")); }
};

inline bool inMemory(const QString &path)
{
    struct statfs fs
    {};
    if (statfs(QFile::encodeName(path).constData(), &fs) != 0)
        return false;
    constexpr long kTmpfs = 0x01021994, kRamfs = static_cast<long>(0x858458f6);
    return long(fs.f_type) == kTmpfs || long(fs.f_type) == kRamfs;
}

// The folders named with --dir, or the temporary folder and /dev/shm.
inline std::vector<Folder> folders(const QStringList &given)
{
    QStringList paths = given;
    if (paths.isEmpty()) {
        paths << QDir::tempPath();
        const QString shm = QStringLiteral("/dev/shm");
        if (QFileInfo(shm).isDir() && QFileInfo(shm).isWritable()
            && QFileInfo(shm).canonicalFilePath() != QFileInfo(QDir::tempPath()).canonicalFilePath())
            paths << shm;
    }
    std::vector<Folder> out;
    for (const QString &p : paths)
        out.push_back({p, inMemory(p)});
    return out;
}

struct Summary
{
    double median = 0, min = 0, max = 0;
    // Half the distance between the extremes, as a share of the median.
    double spread() const { return median > 0 ? (max - min) / 2 / median : 0; }
};

inline Summary summarize(std::vector<double> values)
{
    Summary s;
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    s.min = values.front();
    s.max = values.back();
    return s;
}

// Times since the timer was started (or restarted).
inline double seconds(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

inline double milliseconds(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// The ratio of the medians; 0 when the second is 0.
inline double ratio(const Summary &a, const Summary &b)
{
    return b.median > 0 ? a.median / b.median : 0;
}

// Peak resident memory since the last resetPeakMemory(), in KiB.
inline long peakMemory()
{
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// Freed memory goes back to the system first, so that the next peak is that
// of what runs next rather than what the process kept from before.
inline void resetPeakMemory()
{
    malloc_trim(0);
    std::ofstream f("/proc/self/clear_refs");
    f << "5";
}

// The process's peak resident memory after the first run and after the
// last: equal when nothing the runs leave behind adds up with their number.
class PeakMemory
{
public:
    PeakMemory() { resetPeakMemory(); }
    void afterRun()
    {
        m_last = peakMemory();
        if (m_runs++ == 0)
            m_first = m_last;
    }
    long last() const { return m_last; }
    void print(const char *indent = "") const
    {
        std::printf("%speak memory %ld KiB after the first run, %ld KiB after %d (%+.1f%%)\n",
                    indent,
                    m_first,
                    m_last,
                    m_runs,
                    m_first > 0 ? 100.0 * double(m_last - m_first) / double(m_first) : 0.0);
    }

private:
    long m_first = 0, m_last = 0;
    int m_runs = 0;
};

// Each measure run `runs` times, taking turns so that a change in the
// machine's load falls on all alike; a summary of each measure's results.
// `peak`, when given, takes the peak memory after each round.
inline std::vector<Summary> takingTurns(int runs,
                                        const std::vector<std::function<double()>> &measures,
                                        PeakMemory *peak = nullptr)
{
    std::vector<std::vector<double>> results(measures.size());
    for (int r = 0; r < runs; ++r) {
        for (size_t m = 0; m < measures.size(); ++m)
            results[m].push_back(measures[m]());
        if (peak)
            peak->afterRun();
    }
    std::vector<Summary> out;
    for (const std::vector<double> &values : results)
        out.push_back(summarize(values));
    return out;
}

// The time per unit (line, row) at the largest size against that at the
// smallest, printed; whether it is within `goal` (a share; none when 0).
inline bool printGrowth(
    const char *what, const Summary &smallest, int smallUnits, const Summary &largest, int largeUnits, double goal = 0)
{
    const double small = smallUnits ? smallest.median / smallUnits : 0;
    const double large = largeUnits ? largest.median / largeUnits : 0;
    const double growth = small > 0 ? large / small - 1 : 0;
    std::printf("%s, largest vs smallest: %+.1f%%", what, growth * 100);
    const bool met = growth <= goal;
    if (goal > 0)
        std::printf(" (goal within %.0f%%): %s", goal * 100, met ? "met" : "NOT met");
    std::printf("\n");
    return met;
}

inline QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(f.readLine()).section(' ', 0, 2);
}

// The command line the benchmarks share: --runs K, --dir FOLDER (again for
// more folders), --only VARIANT where the benchmark names its `variants`,
// the counts in `numbers` (--vouchers N), and sizes as plain numbers.
// Anything else, or a count below 1, prints `usage` and exits with 2.
struct Options
{
    int runs = 0;
    QStringList dirs;
    QString only;
    std::vector<int> sizes;
    bool runsVariant(const char *variant) const { return only.isEmpty() || only == QLatin1String(variant); }
};

inline Options readOptions(const QStringList &args,
                           int runs,
                           const std::vector<int> &sizes,
                           const char *usage,
                           const QStringList &variants = {},
                           const std::map<QString, int *> &numbers = {})
{
    const auto fail = [usage] {
        std::fprintf(stderr, "usage: %s\n", usage);
        std::exit(2);
    };
    Options o;
    o.runs = runs;
    o.sizes = sizes;
    std::vector<int> given;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        const auto number = numbers.find(a);
        if (a == QLatin1String("--runs") && hasValue)
            o.runs = args[++i].toInt();
        else if (a == QLatin1String("--dir") && hasValue)
            o.dirs << args[++i];
        else if (a == QLatin1String("--only") && hasValue && variants.contains(args[i + 1]))
            o.only = args[++i];
        else if (number != numbers.end() && hasValue)
            *number->second = args[++i].toInt();
        else if (a.toInt() > 0)
            given.push_back(a.toInt());
        else
            fail();
    }
    if (o.runs < 1)
        fail();
    for (const auto &[name, value] : numbers)
        if (*value < 1)
            fail();
    if (!given.empty())
        o.sizes = given;
    return o;
}

// A copy of `master` under a new name, replacing any older file of that name.
inline QString freshCopy(const QString &master, const QString &path)
{
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
    if (!QFile::copy(master, path)) {
        std::fprintf(stderr, "cannot copy %s to %s\n", qPrintable(master), qPrintable(path));
        std::exit(1);
    }
    return path;
}

inline void removeDatabase(const QString &path)
{
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace bench
