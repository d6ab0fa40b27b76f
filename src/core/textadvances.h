#pragma once

#include <QStringView>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string_view>
#include <vector>

namespace quillon {

class CodePage;

// The advance of each UTF-16 code unit in one font, asked for once per unit, so that the width of a text can be
// estimated as the sum of its units' advances without laying the text out. The sum leaves kerning and shaping
// out. A surrogate makes the sum infinite: a character outside the basic plane has no advance of its own here,
// so such a text always counts as one of the widest.
class TextAdvances final {
public:
    using Measure = std::function<float(char16_t unit)>;

    static constexpr double kUnknown = std::numeric_limits<double>::infinity();

    explicit TextAdvances(Measure measure);

    double unit(char16_t u)
    {
        if (u < m_ascii.size()) {
            const float advance = m_ascii[u];
            return advance >= 0 ? advance : measureAscii(u);
        }
        return other(u);
    }

    // The sum over the units of text.
    double sum(QStringView text);
    // The sum over the characters of bytes in the code page, as over codePage.toUnicode(bytes). Printable ASCII
    // is the same character in every code page, so such texts are summed straight from their bytes.
    double sum(std::string_view bytes, const CodePage& codePage);
    // The sum over bytes made only of printable ASCII (0x20 to 0x7E) into sum; false when there is any other
    // byte, and then sum means nothing.
    bool sumPrintableAscii(std::string_view bytes, double& sum)
    {
        if (!m_printableMeasured) measurePrintable();
        const auto* byte = reinterpret_cast<const unsigned char*>(bytes.data());
        const std::size_t size = bytes.size();
        // The bytes are checked without a branch each: a byte outside the range wraps round to above 0x5E.
        auto outside = [](unsigned char b) { return unsigned(b - 0x20) > 0x5E; };
        bool anyOutside = false;
        std::size_t i = 0;
        if (m_printableInTicks) {
            // Whole ticks add up exactly and without waiting on one another: four sums side by side.
            std::int64_t sums[4] = {};
            for (; i + 4 <= size; i += 4) {
                anyOutside |= outside(byte[i]) | outside(byte[i + 1]) | outside(byte[i + 2]) | outside(byte[i + 3]);
                sums[0] += m_printableTicks[byte[i]];
                sums[1] += m_printableTicks[byte[i + 1]];
                sums[2] += m_printableTicks[byte[i + 2]];
                sums[3] += m_printableTicks[byte[i + 3]];
            }
            for (; i < size; ++i) {
                anyOutside |= outside(byte[i]);
                sums[0] += m_printableTicks[byte[i]];
            }
            sum = double(sums[0] + sums[1] + sums[2] + sums[3]) / kTicksPerPixel;
            return !anyOutside;
        }
        // Two sums, so that each addition need not wait for the one before.
        double even = 0;
        double odd = 0;
        for (; i + 1 < size; i += 2) {
            anyOutside |= outside(byte[i]) | outside(byte[i + 1]);
            even += m_printable[byte[i]];
            odd += m_printable[byte[i + 1]];
        }
        if (i < size) {
            anyOutside |= outside(byte[i]);
            even += m_printable[byte[i]];
        }
        sum = even + odd;
        return !anyOutside;
    }

private:
    double measureAscii(char16_t u);
    double other(char16_t u);
    void measurePrintable();

    Measure m_measure;
    std::array<float, 128> m_ascii;  // -1 until measured
    std::vector<float> m_others;     // every other unit, -1 until measured; made on the first such unit
    // Printable ASCII by byte, 0 for every other byte; all measured on the first byte text.
    std::array<double, 256> m_printable{};
    bool m_printableMeasured = false;
    // Font engines give advances in whole 64ths of a pixel. When every printable advance is one, the same
    // advances in those ticks: sums of them are exact, and so equal to the sums of m_printable.
    static constexpr double kTicksPerPixel = 64;
    std::array<std::int32_t, 256> m_printableTicks{};
    bool m_printableInTicks = false;
};

}  // namespace quillon
