#include "platform/runtime/regional.h"

namespace vb {

namespace {
RegionalSettings &current()
{
    static RegionalSettings settings;
    return settings;
}
} // namespace

const RegionalSettings &Regional()
{
    return current();
}

void SetRegional(const RegionalSettings &settings)
{
    current() = settings;
}

RegionalSettings CommaDecimalSettings()
{
    RegionalSettings s;
    s.decimalMark = QLatin1Char(',');
    s.thousandsSeparator = QLatin1Char('.');
    return s;
}

ScopedRegional::ScopedRegional(const RegionalSettings &settings)
    : m_saved(current())
{
    current() = settings;
}

ScopedRegional::~ScopedRegional()
{
    current() = m_saved;
}

} // namespace vb
