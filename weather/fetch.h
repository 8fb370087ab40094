// One HTTP GET of the weather page through WinINet.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace weather {

inline constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
// The bar stays hidden while it waits, so every wait is bounded: no read
// starts after the deadline, and a read waits at most the receive time-out,
// so a fetch ends within about 15 s whatever the server does.
inline constexpr unsigned kConnectTimeoutMs = 4000;
inline constexpr unsigned kSendTimeoutMs = 4000;
inline constexpr unsigned kReceiveTimeoutMs = 3000;
inline constexpr unsigned kFetchDeadlineMs = 12000;
inline constexpr std::size_t kMaxPageBytes = 8u << 20;

// The response body, whatever the status; the bytes read so far when reading
// fails part-way or the deadline passes; nothing when no request could be made.
std::vector<std::uint8_t> fetchPage(const std::string& url);

}  // namespace weather
