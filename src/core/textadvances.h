#pragma once

#include <QStringView>

#include <array>
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
    // The sum over bytes made only of printable ASCII (0x20 to 0x7E) into sum; false, and sum unspecified, when
    // there is any other byte.
    bool sumPrintableAscii(std::string_view bytes, double& sum)
    {
        double total = 0;
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 || byte > 0x7E) return false;
            const float advance = m_ascii[byte];
            total += advance >= 0 ? advance : measureAscii(byte);
        }
        sum = total;
        return true;
    }

private:
    double measureAscii(char16_t u);
    double other(char16_t u);

    Measure m_measure;
    std::array<float, 128> m_ascii;  // -1 until measured
    std::vector<float> m_others;     // every other unit, -1 until measured; made on the first such unit
};

}  // namespace quillon
