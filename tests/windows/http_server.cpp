#include "http_server.h"

#include <ws2tcpip.h>

namespace testing_support {

HttpServer::HttpServer(Answer answer) : answer_(std::move(answer)) {
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listener_, 8);
  int length = sizeof address;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] {
    while (!stop_) {
      fd_set ready;
      FD_ZERO(&ready);
      FD_SET(listener_, &ready);
      timeval wait{0, 50000};
      if (select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
      SOCKET client = accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) continue;
      std::string request;
      char buffer[4096];
      while (request.find("\r\n\r\n") == std::string::npos) {
        const int got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        request.append(buffer, static_cast<std::size_t>(got));
      }
      {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
      }
      answer_(request, client);
      shutdown(client, SD_SEND);
      closesocket(client);
    }
  });
}

HttpServer::~HttpServer() {
  stop_ = true;
  thread_.join();
  closesocket(listener_);
}

std::vector<std::string> HttpServer::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void HttpServer::send(SOCKET client, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const int n = ::send(client, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

std::string HttpServer::response(const std::string& status, const std::string& body, const std::string& headers) {
  return "HTTP/1.0 " + status + "\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\n" + headers + "\r\n" + body;
}

int closedPort() {
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  closesocket(s);  // bound once, never listened on
  return ntohs(address.sin_port);
}

}  // namespace testing_support
