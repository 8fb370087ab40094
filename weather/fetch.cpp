#include "weather/fetch.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>

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

// The fetch runs in WinINet's asynchronous mode: a call that has to wait on
// the network returns at once and WinINet finishes it on a thread of its own,
// while the message thread waits for its completion no longer than the
// deadline. A call still pending then is abandoned with its handles. All that
// such a call may still write to, or report to, lives here for the whole
// process, and a report is taken only from the request being waited for.
struct Completion {
  std::atomic<DWORD_PTR> awaited{0};  // context of the request waited for; 0: none
  std::atomic<bool> succeeded{false};
  ui::UniqueHandle done{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  DWORD_PTR lastContext = 0;
  DWORD available = 0;
  DWORD got = 0;
  std::uint8_t chunk[16384];
};

Completion& completion() {
  static Completion c;
  return c;
}

void CALLBACK onStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD) {
  Completion& c = completion();
  if (status != INTERNET_STATUS_REQUEST_COMPLETE || context == 0 || context != c.awaited.load()) return;
  // dwResult tells success; dwError is not always an error code (a query of
  // the bytes available puts their number there).
  c.succeeded = static_cast<const INTERNET_ASYNC_RESULT*>(info)->dwResult != 0;
  SetEvent(c.done.get());
}

// Whether a call that returned `ok` has succeeded, waiting for it until the
// deadline when WinINet finishes it later.
bool succeeds(BOOL ok, ULONGLONG deadline) {
  if (ok) return true;
  if (GetLastError() != ERROR_IO_PENDING) return false;
  const ULONGLONG now = GetTickCount64();
  if (now >= deadline) return false;
  Completion& c = completion();
  return WaitForSingleObject(c.done.get(), static_cast<DWORD>(deadline - now)) == WAIT_OBJECT_0 && c.succeeded;
}

// Reads the body until its end, a failed read, the size cap or the deadline.
std::vector<std::uint8_t> readBody(HINTERNET request, ULONGLONG deadline) {
  Completion& c = completion();
  std::vector<std::uint8_t> body;
  while (body.size() < kMaxPageBytes && GetTickCount64() < deadline) {
    // Ask what has arrived first: a read of a whole buffer would wait for the
    // buffer to fill, however slowly the bytes drip in.
    const BOOL asked = InternetQueryDataAvailable(request, &c.available, 0, 0);
    if (!asked) {
      if (!succeeds(asked, deadline)) break;
      continue;  // bytes have come: asking again answers at once
    }
    if (c.available == 0) break;  // the end of the body
    c.got = 0;
    const DWORD want = std::min<DWORD>(c.available, sizeof c.chunk);
    if (!succeeds(InternetReadFile(request, c.chunk, want, &c.got), deadline) || c.got == 0) break;
    const std::size_t room = kMaxPageBytes - body.size();
    body.insert(body.end(), c.chunk, c.chunk + std::min<std::size_t>(c.got, room));
  }
  return body;
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

  // One deadline for every phase: name lookup, connect, send, status line
  // and headers, redirects, body.
  const ULONGLONG deadline = GetTickCount64() + kFetchDeadlineMs;
  Completion& c = completion();
  if (!c.done) return {};
  ResetEvent(c.done.get());
  const DWORD_PTR context = ++c.lastContext;  // a new one per fetch: late reports of an abandoned one go unheard
  c.awaited = context;

  std::vector<std::uint8_t> body;
  {
    // Declared in this order, closed in the reverse one: request first.
    UniqueInternet session(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, INTERNET_FLAG_ASYNC));
    if (session) {
      InternetSetStatusCallbackA(session.get(), &onStatus);  // inherited by the handles made from it
      boundWaits(session.get());
    }
    UniqueInternet connection(session ? InternetConnectA(session.get(), host.c_str(), parts.nPort,
                                                         user.empty() ? nullptr : user.c_str(),
                                                         password.empty() ? nullptr : password.c_str(),
                                                         INTERNET_SERVICE_HTTP, 0, context)
                                      : nullptr);
    UniqueInternet request(connection ? HttpOpenRequestA(connection.get(), "GET", target.c_str(), "HTTP/1.0", nullptr,
                                                         nullptr, flags, context)
                                      : nullptr);
    if (request) {
      boundWaits(request.get());
      static const char kAccept[] = "Accept: */*\r\n";
      if (succeeds(HttpSendRequestA(request.get(), kAccept, static_cast<DWORD>(sizeof kAccept - 1), nullptr, 0), deadline)) {
        body = readBody(request.get(), deadline);
      }
    }
  }
  c.awaited = 0;
  return body;
}

}  // namespace weather
