#pragma once

#include <QStringView>

#include <array>
#include <cstddef>
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
        // Two sums, so that each addition need not wait for the one before, and the bytes checked without a
        // branch each: a byte outside the range wraps round to above 0x5E.
        const auto* byte = reinterpret_cast<const unsigned char*>(bytes.data());
        const std::size_t size = bytes.size();
        double even = 0;
        double odd = 0;
        bool outside = false;
        std::size_t i = 0;
        for (; i + 1 < size; i += 2) {
            outside |= (unsigned(byte[i] - 0x20) > 0x5E) | (unsigned(byte[i + 1] - 0x20) > 0x5E);
            even += m_printable[byte[i]];
            odd += m_printable[byte[i + 1]];
        }
        if (i < size) {
            outside |= unsigned(byte[i] - 0x20) > 0x5E;
            even += m_printable[byte[i]];
        }
        sum = even + odd;
        return !outside;
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
};

}  // namespace quillon
