// One HTTP GET of the weather page through WinINet.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace weather {

inline constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
// The bar stays hidden while it waits, so the whole fetch, from name lookup
// to the last byte of the body, ends at the deadline whatever the server
// does. The platform's own waits are bounded too, so a call abandoned at the
// deadline does not hold a connection for long.
inline constexpr unsigned kConnectTimeoutMs = 4000;
inline constexpr unsigned kSendTimeoutMs = 4000;
inline constexpr unsigned kReceiveTimeoutMs = 3000;
inline constexpr unsigned kFetchDeadlineMs = 12000;
inline constexpr std::size_t kMaxPageBytes = 8u << 20;

// The response body, whatever the status; the bytes read so far when reading
// fails part-way or the deadline passes; nothing when no request could be made.
std::vector<std::uint8_t> fetchPage(const std::string& url);

}  // namespace weather
