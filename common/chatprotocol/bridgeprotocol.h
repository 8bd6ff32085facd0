#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The line protocol of the chat bridge (see PROTOCOL.md): one request line in, one reply line
// out. Plain C++ without any window system, so the same request handling runs inside the
// Windows bridge and in host-side test doubles. All text is UTF-8 here; the window-call layer
// converts to and from the client's ANSI code page.
namespace chatbridge {

inline constexpr int kProtocolVersion = 1;
// Requests longer than this are refused rather than buffered without bound.
inline constexpr std::size_t kMaxRequestLength = 1u << 20;
// The longest the bridge waits for the client to handle a sent message (paste, settext)
// before it answers anyway. The Player's own wait for a reply must be longer than this.
inline constexpr int kDeliveryLimitMs = 150;

// One window of a snapshot, in pre-order: `depth` 0 for a top-level window, a child one
// deeper than its parent.
struct WindowEntry {
  int depth = 0;
  std::uint32_t handle = 0;
  std::uint32_t processId = 0;
  std::string className;  // UTF-8
  std::string title;      // UTF-8; empty for child windows (see PROTOCOL.md)
};

struct ForegroundEntry {
  std::uint32_t handle = 0;
  std::uint32_t processId = 0;
  std::string className;
};

// What the bridge does with the client's windows. Win32WindowSystem makes the real calls.
class WindowCalls {
 public:
  virtual ~WindowCalls() = default;
  virtual std::vector<WindowEntry> Snapshot() = 0;
  virtual bool IsWindow(std::uint32_t window) = 0;
  virtual ForegroundEntry Foreground() = 0;
  virtual void Post(std::uint32_t window, std::uint32_t message, std::uint32_t wParam,
                    std::uint32_t lParam) = 0;
  // Returns the number of character messages posted.
  virtual int PostCharacters(std::uint32_t window, const std::string& utf8) = 0;
  virtual void SendSetText(std::uint32_t window, const std::string& utf8) = 0;
  virtual void SendPaste(std::uint32_t window) = 0;
  virtual bool SetClipboardText(const std::string& utf8) = 0;
  // The ANSI code page the calls convert text with.
  virtual unsigned CodePage() = 0;
};

// A text field: lower-case hex of its bytes, "-" for the empty text.
std::string EncodeText(std::string_view bytes);
std::optional<std::string> DecodeText(std::string_view field);

// A 32-bit number field in lower-case hex without prefix.
std::string EncodeNumber(std::uint32_t value);
std::optional<std::uint32_t> DecodeNumber(std::string_view field);

// Splits at single blanks; empty fields are kept (and refused by the decoders).
std::vector<std::string_view> SplitFields(std::string_view line, char separator);

// The line the bridge writes once it is ready: "hello lyrova-chatbridge <version> <codepage>".
std::string Greeting(unsigned codePage);

struct Outcome {
  std::string reply;  // without the line end
  bool quit = false;
};

// Handles one request line (without its line end) against `calls`.
Outcome HandleRequest(std::string_view line, WindowCalls& calls);

// One snapshot entry "depth,handle,pid,class,title" and its reverse.
std::string EncodeEntry(const WindowEntry& entry);
std::optional<WindowEntry> DecodeEntry(std::string_view field);

}  // namespace chatbridge
