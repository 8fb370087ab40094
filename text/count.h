// Whole numbers read from 8-bit text the way C's atoi reads them, without
// atoi's undefined behaviour: a value beyond the int range saturates.
#pragma once
#include <string_view>

namespace text {

// Leading blanks skipped, an optional sign, then digits up to the first
// non-digit; text that does not start with a number gives 0.
int parseLeadingInt(std::string_view s);

}  // namespace text
