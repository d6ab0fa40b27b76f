#include "searchengine.h"

#include <cmath>

namespace quillon {

namespace {

// The average length of a month in days (a year of 365.25 days over twelve).
constexpr double kDaysPerMonth = 30.4375;

}  // namespace

SearchEngine::SearchEngine(const CodePage& codePage)
    : m_codePage(&codePage), m_artist({}, codePage), m_title({}, codePage)
{
    setCriteria(m_criteria);
}

SearchEngine::SearchEngine(const SearchCriteria& criteria, const CodePage& codePage) : SearchEngine(codePage)
{
    setCriteria(criteria);
}

bool SearchEngine::ChooseNameMode(std::string& pattern)
{
    if (pattern.empty()) {
        pattern = "*";
        return true;
    }
    return pattern.find_first_of("*?") != std::string::npos;
}

void SearchEngine::setCriteria(const SearchCriteria& criteria)
{
    const bool patternChanged =
        !m_prepared || criteria.pattern != m_criteria.pattern || criteria.useMask != m_preparedUseMask;
    const bool artistChanged = !m_prepared || criteria.artist != m_artist.needle();
    const bool titleChanged = !m_prepared || criteria.title != m_title.needle();
    m_criteria = criteria;
    if (patternChanged) preparePattern();
    if (artistChanged) m_artist = ContainedText(m_criteria.artist, *m_codePage);
    if (titleChanged) m_title = ContainedText(m_criteria.title, *m_codePage);
    m_prepared = true;
}

void SearchEngine::preparePattern()
{
    m_mask.reset();
    m_maskError.reset();
    m_nameText.reset();
    m_preparedUseMask = m_criteria.useMask;
    if (m_criteria.useMask) {
        try {
            m_mask = std::make_unique<TMask>(m_criteria.pattern, *m_codePage);
        } catch (const EMaskException& e) {
            m_maskError = e;
        }
    } else {
        m_nameText.emplace(m_criteria.pattern, *m_codePage);
    }
}

bool SearchEngine::nameFits(std::string_view name) const
{
    if (m_mask) return m_mask->matches(name);
    if (m_maskError) throw *m_maskError;
    return m_nameText->foundIn(name);
}

bool SearchEngine::dateFits(DateTime date) const
{
    const double span = std::fabs(m_criteria.today - date);
    switch (m_criteria.dateKind) {
    case DateKind::LastMonths:
        return std::trunc(span / kDaysPerMonth) <= double(m_criteria.months);
    case DateKind::LastDays:
        return std::trunc(span) <= double(m_criteria.days);
    case DateKind::Between:
        return m_criteria.firstDate <= date && date <= m_criteria.secondDate;
    }
    return true;
}

bool SearchEngine::MatchFileEntry(const TFileData& file) const
{
    if (!nameFits(file.Name())) return false;
    if (m_criteria.mediaInfo && file.MediaInfo) {
        const TMediaInfo& media = *file.MediaInfo;
        const bool artistHolds = m_criteria.artist.empty() || m_artist.foundIn(media.Artist);
        // An untagged file has no title; its artist field holds the file name, which the title is looked for in.
        const std::string_view titleSource = media.Title.empty() ? media.Artist : media.Title;
        const bool titleHolds = m_criteria.title.empty() || m_title.foundIn(titleSource);
        if (!artistHolds || !titleHolds) return false;
    }
    if (m_criteria.dateOn && !dateFits(file.Date)) return false;
    if (m_criteria.sizeOn) {
        switch (m_criteria.sizeSense) {
        case SizeSense::AtLeast:
            if (file.SizeKB < m_criteria.sizeKB) return false;
            break;
        case SizeSense::AtMost:
            if (file.SizeKB > m_criteria.sizeKB) return false;
            break;
        case SizeSense::Unselected:
            break;
        }
    }
    return true;
}

bool SearchEngine::MatchFolderEntry(DateTime date, std::string_view name) const
{
    if (!nameFits(name)) return false;
    if (m_criteria.dateOn && !dateFits(date)) return false;
    return !m_criteria.sizeOn;
}

bool FitsMask(std::string_view name, std::string_view mask, const CodePage& codePage)
{
    return TMask(mask, codePage).matches(name);
}

}  // namespace quillon
