#include "textadvances.h"

#include "codepage.h"

#include <QChar>

#include <cmath>

#include <utility>

namespace quillon {

TextAdvances::TextAdvances(Measure measure) : m_measure(std::move(measure)) { m_ascii.fill(-1.0f); }

double TextAdvances::measureAscii(char16_t u)
{
    m_ascii[u] = m_measure(u);
    return m_ascii[u];
}

void TextAdvances::measurePrintable()
{
    m_printableInTicks = true;
    for (char16_t u = 0x20; u <= 0x7E; ++u) {
        m_printable[u] = unit(u);
        const double ticks = m_printable[u] * kTicksPerPixel;
        // Up to a million pixels: no text's ticks come near the range of the sum.
        if (ticks >= 0 && ticks <= 64e6 && ticks == std::floor(ticks))
            m_printableTicks[u] = std::int32_t(ticks);
        else
            m_printableInTicks = false;
    }
    m_printableMeasured = true;
}

double TextAdvances::other(char16_t u)
{
    if (QChar::isSurrogate(u)) return kUnknown;
    if (m_others.empty()) m_others.assign(0x10000, -1.0f);
    float& advance = m_others[u];
    if (advance < 0) advance = m_measure(u);
    return advance;
}

double TextAdvances::sum(QStringView text)
{
    double total = 0;
    for (const QChar ch : text) total += unit(ch.unicode());
    return total;
}

double TextAdvances::sum(std::string_view bytes, const CodePage& codePage)
{
    double total = 0;
    if (sumPrintableAscii(bytes, total)) return total;
    return sum(codePage.toUnicode(bytes));
}

}  // namespace quillon
