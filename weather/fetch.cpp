#include "weather/fetch.h"

#include <windows.h>
#include <wininet.h>

#include "ui/unique.h"

namespace weather {
namespace {

using UniqueInternet = ui::Unique<HINTERNET, &InternetCloseHandle>;

std::string part(const char* text, DWORD length) { return text ? std::string(text, length) : std::string(); }

void boundWaits(HINTERNET handle) {
  DWORD connect = kConnectTimeoutMs, send = kSendTimeoutMs, receive = kReceiveTimeoutMs;
  InternetSetOptionA(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
  InternetSetOptionA(handle, INTERNET_OPTION_SEND_TIMEOUT, &send, sizeof send);
  InternetSetOptionA(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
}

}  // namespace

std::vector<std::uint8_t> fetchPage(const std::string& url) {
  if (url.empty()) return {};
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUserNameLength = parts.dwPasswordLength =
      parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;  // ask for pointers into the URL
  // Flags 0: the URL is used as written, nothing escaped or unescaped.
  if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return {};
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI;
  if (parts.nScheme == INTERNET_SCHEME_HTTPS) {
    flags |= INTERNET_FLAG_SECURE;
  } else if (parts.nScheme != INTERNET_SCHEME_HTTP) {
    return {};
  }
  const std::string host = part(parts.lpszHostName, parts.dwHostNameLength);
  const std::string user = part(parts.lpszUserName, parts.dwUserNameLength);
  const std::string password = part(parts.lpszPassword, parts.dwPasswordLength);
  std::string target = part(parts.lpszUrlPath, parts.dwUrlPathLength) + part(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (const auto hash = target.find('#'); hash != std::string::npos) target.erase(hash);  // the fragment stays here
  if (target.empty()) target = "/";
  if (host.empty()) return {};

  const ULONGLONG deadline = GetTickCount64() + kFetchDeadlineMs;
  UniqueInternet session(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return {};
  boundWaits(session.get());
  UniqueInternet connection(InternetConnectA(session.get(), host.c_str(), parts.nPort,
                                             user.empty() ? nullptr : user.c_str(),
                                             password.empty() ? nullptr : password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return {};
  UniqueInternet request(HttpOpenRequestA(connection.get(), "GET", target.c_str(), "HTTP/1.0", nullptr, nullptr, flags, 0));
  if (!request) return {};
  boundWaits(request.get());
  static const char kAccept[] = "Accept: */*\r\n";
  if (!HttpSendRequestA(request.get(), kAccept, static_cast<DWORD>(sizeof kAccept - 1), nullptr, 0)) return {};

  std::vector<std::uint8_t> body;
  std::uint8_t chunk[16384];
  for (;;) {
    if (GetTickCount64() >= deadline) break;
    // Ask what has arrived first: a read of a whole buffer would wait for the
    // buffer to fill, however slowly the bytes drip in.
    DWORD available = 0;
    if (!InternetQueryDataAvailable(request.get(), &available, 0, 0) || available == 0) break;
    DWORD got = 0;
    if (!InternetReadFile(request.get(), chunk, std::min<DWORD>(available, sizeof chunk), &got) || got == 0) break;
    const std::size_t room = kMaxPageBytes - body.size();
    body.insert(body.end(), chunk, chunk + std::min<std::size_t>(got, room));
    if (body.size() >= kMaxPageBytes) break;
  }
  return body;
}

}  // namespace weather
