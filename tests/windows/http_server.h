// A loopback HTTP server inside the test: it records the raw bytes of every
// request and answers as the test asks, also slowly, partly or not at all.
#pragma once
#include <winsock2.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

class HttpServer {
 public:
  // Given the raw request, writes the answer to the socket (or holds it).
  using Answer = std::function<void(const std::string& request, SOCKET client)>;
  explicit HttpServer(Answer answer);
  ~HttpServer();
  int port() const { return port_; }
  std::vector<std::string> requests() const;
  bool stopping() const { return stop_; }

  static void send(SOCKET client, const std::string& bytes);
  // A whole response with the given status line part ("200 OK") and body.
  static std::string response(const std::string& status, const std::string& body,
                              const std::string& headers = "");

 private:
  Answer answer_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
};

// A port on which nothing listens.
int closedPort();

}  // namespace testing_support
