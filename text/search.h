// Searching 8-bit texts the way the whole program does: byte positions from 1,
// -1 for "not found", and two-byte characters (lead byte 0x80 or above)
// stepped over whole, so a match only ever starts on a character boundary.
// A text ends at its first 0x00 byte, as the C strings it stands for did.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace text {

// Position of the first match of `pattern` at or after `start` (below 1 means
// 1), or -1. Characters are stepped from `start` on, so `start` itself counts
// as a boundary. Without case sensitivity only A-Z and a-z fold. An empty
// pattern matches at `start` as long as that is within the text or just past
// its end.
int findText(std::string_view text, std::string_view pattern, int start, bool caseSensitive);

// What stands between the first `startMarker` (searched from `startPosition`)
// and the first `endMarker` after it (searched from `startPosition` within the
// rest of the page after that marker); empty when either is missing.
std::string textBetween(std::string_view page, std::string_view startMarker,
                        std::string_view endMarker, int startPosition, bool caseSensitive);

// Bytes as a text: everything before the first 0x00.
std::string textUpToNul(std::span<const std::uint8_t> bytes);

}  // namespace text
