#pragma once

#include "datetime.h"

#include <cstdint>
#include <string>

namespace quillon {

enum class DateKind : std::uint8_t { LastMonths, LastDays, Between };
// Unselected: the drop-down list has no item selected; the size criterion then does not restrict.
enum class SizeSense : std::uint8_t { AtLeast, AtMost, Unselected };

// The search criteria as the search pane's controls hold them at one moment. The GUI fills a fresh value
// whenever a control changes, also while a run is going on; the run applies it from the next entry on.
struct SearchCriteria {
    // The name pattern as typed: a wildcard mask or a text that names must contain (see useMask).
    std::string pattern;
    // Decided once per run by SearchEngine::ChooseNameMode from the pattern of the run's start.
    bool useMask = true;

    bool mediaInfo = false;
    std::string artist;
    std::string title;

    bool dateOn = false;
    DateKind dateKind = DateKind::Between;
    // Spin edits read as typed, so negative numbers and numbers beyond the limits occur.
    std::int64_t months = 0;
    std::int64_t days = 0;
    // Full date-times: the pickers keep a time of day besides the date they show.
    DateTime firstDate = 0;
    DateTime secondDate = 0;

    bool sizeOn = false;
    SizeSense sizeSense = SizeSense::AtLeast;
    std::int64_t sizeKB = 0;

    // Today's local date at 00:00, the reference of the "in the last" kinds. Passed in so that a run, and a
    // test, decides what today is.
    DateTime today = 0;
};

}  // namespace quillon
