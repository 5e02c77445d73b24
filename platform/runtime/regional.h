#pragma once

#include <QChar>

namespace vb {

// The regional settings every text-to-number, number-to-text and date rule
// reads. They live here, in one place, and never come from the machine's
// locale: the suite's files and SQL were written under these defaults.
struct RegionalSettings
{
    QChar decimalMark = QLatin1Char('.');
    QChar thousandsSeparator = QLatin1Char(',');
    // Short date: day, month, year in that order, joined by this separator.
    QChar dateSeparator = QLatin1Char('/');
    QChar timeSeparator = QLatin1Char(':');
    // Fractional digits of the local currency (what the platform answers
    // for its locale item 25).
    int currencyDigits = 2;
};

const RegionalSettings &Regional();
void SetRegional(const RegionalSettings &settings);

// The settings with "," as decimal mark and "." between thousands.
RegionalSettings CommaDecimalSettings();

// Switches the settings for one scope (tests) and puts the old ones back.
class ScopedRegional
{
public:
    explicit ScopedRegional(const RegionalSettings &settings);
    ~ScopedRegional();
    ScopedRegional(const ScopedRegional &) = delete;
    ScopedRegional &operator=(const ScopedRegional &) = delete;

private:
    RegionalSettings m_saved;
};

} // namespace vb
