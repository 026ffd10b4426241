#include "Profile.h"

#include <algorithm>
#include <cmath>

namespace data {

void addWeightedProfile(ProfileSlotsArray &acc, double percent, const QString &digits)
{
    if (!std::isfinite(percent))
        return; // a percentage that is no number weighs nothing
    const int n = std::min<int>(int(digits.size()), ProfileSlots);
    for (int i = 0; i < n; ++i) {
        const QChar c = digits[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            acc[size_t(i)] += (c.unicode() - u'0') * percent / 100.0;
    }
}

QString profileString(const ProfileSlotsArray &acc)
{
    QString s;
    s.reserve(ProfileSlots);
    for (double v : acc) {
        // Shave off the last bits of binary noise so that 2.5000000000000004 still counts as a half.
        const double cleaned = std::round(v * 1e9) / 1e9;
        double r = std::nearbyint(cleaned); // the default rounding mode sends halves to even
        r = std::isfinite(r) ? std::clamp(r, 0.0, 9.0) : 0.0;
        s += QChar(u'0' + int(r));
    }
    return s;
}

} // namespace data
