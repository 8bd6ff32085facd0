#pragma once

#include "common/chatprotocol/bridgeprotocol.h"
#include "player/chat/windowsystem.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <memory>
#include <optional>

// The chat client's windows on Linux: the client is a Windows program under Wine, so its
// windows are reached through lyrova-chatbridge.exe, started under the same Wine and prefix
// and spoken to over its standard input and output (common/chatprotocol/PROTOCOL.md).
//
// Every call returns within the call time-out, on the user-interface thread: a bridge that is
// still starting, has stopped answering or has died gives the neutral answers (no windows,
// every handle dead, messages dropped). A bridge that dies is started again once; a bridge
// that stays silent past the give-up time is ended and counts as died.
namespace lyrova {

// How to start the bridge: the Wine program, its arguments (the bridge's path) and the
// environment (prefix, locale).
struct BridgeCommand {
  QString program;
  QStringList arguments;
  QProcessEnvironment environment;
};

// What a reply may take beyond the bridge's own wait for the client: the pipe, Wine's
// scheduling and the bridge's work around the call.
inline constexpr int kBridgeReplyMarginMs = 100;

struct BridgeOptions {
  // Longest wait for one reply. A paste the client handles just inside the bridge's limit is
  // still answered in time, so the submit keys after it are not dropped as "still behind".
  int callTimeoutMs = chatbridge::kDeliveryLimitMs + kBridgeReplyMarginMs;
  int giveUpMs = 3000;        // a reply this late ends the bridge
  int restarts = 1;           // how often a dead bridge is started again
};

class WineBridgeWindowSystem : public WindowSystem {
 public:
  // Starts the bridge at once, without waiting for it.
  explicit WineBridgeWindowSystem(BridgeCommand command, BridgeOptions options = {});
  ~WineBridgeWindowSystem() override;
  WineBridgeWindowSystem(const WineBridgeWindowSystem&) = delete;
  WineBridgeWindowSystem& operator=(const WineBridgeWindowSystem&) = delete;

  // Waits up to `timeoutMs` for the bridge's greeting; true when it answers requests. For
  // tests and benchmarks: the Player itself never waits for the bridge to come up.
  bool WaitUntilReady(int timeoutMs);
  bool Ready() const { return state_ == State::Ready; }
  // The bridge has died more often than it may be restarted: nothing is reachable any more.
  bool GaveUp() const { return state_ == State::Dead; }
  // The ANSI code page the bridge converts with (0 before its greeting).
  unsigned CodePage() const { return codePage_; }
  // How many times a bridge process was started.
  int Starts() const { return starts_; }

  WindowSnapshot Snapshot() override;
  bool IsWindow(WindowHandle window) override;
  ForegroundWindow Foreground() override;
  void Post(WindowHandle window, quint32 message, quint32 wParam, quint32 lParam) override;
  void PostCharacters(WindowHandle window, const QString& text) override;
  void SendSetText(WindowHandle window, const QString& text) override;
  void SendPaste(WindowHandle window) override;
  void SetClipboardText(const QString& text) override;

 private:
  enum class State { Starting, Ready, Dead };

  void Start();
  void Died();
  // Reads what the bridge has written so far, without waiting; notices a dead bridge.
  void Poll();
  void TakeLine(const QByteArray& line);
  // Sends one request and waits for its reply within the call time-out. The result fields
  // after "ok" on success; nothing when the bridge is not ready, late, dead or refused.
  std::optional<QList<QByteArray>> Call(const QByteArray& verbAndArguments);

  BridgeCommand command_;
  BridgeOptions options_;
  std::unique_ptr<QProcess> process_;
  State state_ = State::Starting;
  int starts_ = 0;
  unsigned codePage_ = 0;
  quint64 nextId_ = 1;
  // The request still waited for after a time-out (0 when none) and since when.
  quint64 lateId_ = 0;
  QElapsedTimer lateSince_;
  // The reply to the request being waited for in Call.
  quint64 awaitedId_ = 0;
  std::optional<QByteArray> reply_;
};

// The window tree of a snapshot reply: `fields` are the count and the entries. Nothing when
// the reply is malformed (a count that does not match, a bad entry, a depth that skips a
// level).
std::optional<WindowSnapshot> ParseSnapshotReply(const QList<QByteArray>& fields);

}  // namespace lyrova
