#pragma once

#include <QString>

#include <limits>

namespace quillon::test {

// A made-up font in which nearly every UTF-16 unit has an advance of its own, so that a sum that takes one
// character for another, misses one or counts one twice comes out different.
inline float fakeAdvance(char16_t unit) { return float(1 + unit % 7 + unit / 1000.0); }

// The sum of the fake advances over a text's units, added up one by one; infinite with a surrogate.
inline double fakeSum(const QString& text)
{
    double sum = 0;
    for (const QChar ch : text) {
        if (ch.isSurrogate()) return std::numeric_limits<double>::infinity();
        sum += fakeAdvance(ch.unicode());
    }
    return sum;
}

}  // namespace quillon::test
