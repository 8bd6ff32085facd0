#pragma once

// A private X display for tests that run the suite's real programs: an Xvfb server of its own,
// and just enough of the X protocol to see which top-level windows the programs show, read
// their titles, press Return in one and close one the way a window manager's close box does.

#include <QList>
#include <QProcess>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

struct xcb_connection_t;

class TestDisplay {
 public:
  struct Window {
    std::uint32_t id = 0;
    QString wmClass;  // instance and class joined by "/"
    QString title;
    qint64 pid = 0;   // _NET_WM_PID, 0 when unset
  };

  TestDisplay() = default;
  ~TestDisplay();
  TestDisplay(const TestDisplay&) = delete;
  TestDisplay& operator=(const TestDisplay&) = delete;

  // Starts the server; false with the reason when it cannot run here.
  bool Start(QString* why);
  QString Name() const { return name_; }

  // The mapped top-level windows.
  QList<Window> Windows() const;
  // Waits (processing Qt events) until a window satisfying `match` is shown.
  std::optional<Window> WaitForWindow(const std::function<bool(const Window&)>& match,
                                      int timeoutMs) const;
  // Waits until no shown window satisfies `match`.
  bool WaitUntilGone(const std::function<bool(const Window&)>& match, int timeoutMs) const;

  // Asks the window to close (WM_DELETE_WINDOW), as a close box does.
  void Close(std::uint32_t window) const;
  // Sends a press and release of Return to the window.
  void PressReturn(std::uint32_t window) const;

 private:
  QString name_;
  QProcess server_;
  xcb_connection_t* connection_ = nullptr;
};
