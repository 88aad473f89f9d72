// The reception's HTTP server: serves the questionnaire's form page to the
// pupils' browsers on the school's network and turns each submission into an
// answer file in the current folder. It runs on a thread of its own; the
// reception window only reads its status. This header does not include the
// HTTP library: only server.cc does.
#ifndef TABULON_RECEPTION_SERVER_H_
#define TABULON_RECEPTION_SERVER_H_

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "survey/questionnaire.h"

namespace tabulon::reception {

// The port the reception listens on unless told otherwise.
inline constexpr int kDefaultPort = 8931;

// What the reception window shows. Never an answer, a file name or a
// client's address.
struct ServerStatus {
  int answers_received = 0;  // answer files written since the start
  int failures = 0;          // grows by one with every failed write
  std::string last_failure;  // CP932; empty until a write fails
};

class Server {
 public:
  // Listens on every IPv4 interface at `port` and serves `questionnaire`,
  // with a new random key. Returns null, and a CP932 reason in *why, when
  // the port cannot be taken.
  static std::unique_ptr<Server> Start(
      const survey::Questionnaire& questionnaire, int port, std::string* why);
  virtual ~Server() = default;  // stops, as Stop() does

  // The six-character key that the address carries.
  virtual const std::string& Key() const = 0;
  virtual int Port() const = 0;
  // A snapshot, safe from any thread.
  virtual ServerStatus Status() const = 0;
  // Called on the server's own thread after every change of Status(); the
  // receiver hands it over to its own thread.
  virtual void SetOnChange(std::function<void()> on_change) = 0;
  // Stops listening and drops every connection; returns once it has.
  virtual void Stop() = 0;
};

// The machine's private IPv4 addresses (RFC 1918 and link-local), dotted,
// in the system's order; empty when the computer is not on a network.
std::vector<std::string> PrivateAddresses();

// "http://<address>:<port>/<key>/".
std::string ReceptionAddress(std::string_view address, int port,
                             std::string_view key);

}  // namespace tabulon::reception

#endif  // TABULON_RECEPTION_SERVER_H_
