// A bare loopback peer standing in for the login server: the test accepts the link's
// connection itself, reads every byte the link sent and chooses every reply.
#pragma once

#include <sys/socket.h>

#include <initializer_list>
#include <string>

#include "net/server_message.h"
#include "net/socket_util.h"

namespace vorelin::testing {

struct LoopbackPeer {
  bool Listen() {
    std::string error;
    listener = ListenTcp("127.0.0.1", 0, port, error);
    return listener.IsOpen();
  }
  // Takes the connection waiting in the listener's queue.
  bool Accept() {
    connection.Reset(::accept(listener.Get(), nullptr, nullptr));
    return connection.IsOpen() && SetNonBlocking(connection.Get());
  }
  // What the link has sent so far (the peer never negotiates, so no telnet answers).
  std::string Received() {
    char buffer[4096];
    ssize_t got;
    while ((got = ::recv(connection.Get(), buffer, sizeof buffer, 0)) > 0)
      received.append(buffer, static_cast<size_t>(got));
    return received;
  }
  // Messages with these codes, as one send.
  void Reply(std::initializer_list<int> codes) {
    std::string bytes;
    for (int code : codes) {
      ServerMessage m;
      m.code = code;
      bytes += EncodeServerMessage(m) + "\r\n";
    }
    SendAll(connection.Get(), bytes);
  }

  SocketFd listener;
  SocketFd connection;
  int port = 0;
  std::string received;
};

}  // namespace vorelin::testing
