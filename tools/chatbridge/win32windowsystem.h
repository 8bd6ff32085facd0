#pragma once

#include "common/chatprotocol/bridgeprotocol.h"

#include <windows.h>

// The window calls of the bridge made with the Windows API, for the chat client's windows in
// the same window station (under Wine: the same prefix). Titles and class names are read in
// the ANSI code page and handed on as UTF-8; text going to the client is converted back to
// that code page, so it arrives as the client's own ANSI functions would have produced it.
namespace chatbridge {

class Win32WindowSystem : public WindowCalls {
 public:
  // `clipboardOwner` owns the clipboard after SetClipboardText; its thread must keep pumping
  // messages, or other programs that empty the clipboard would wait on it.
  explicit Win32WindowSystem(HWND clipboardOwner) : clipboardOwner_(clipboardOwner) {}

  std::vector<WindowEntry> Snapshot() override;
  bool IsWindow(std::uint32_t window) override;
  ForegroundEntry Foreground() override;
  void Post(std::uint32_t window, std::uint32_t message, std::uint32_t wParam,
            std::uint32_t lParam) override;
  int PostCharacters(std::uint32_t window, const std::string& utf8) override;
  void SendSetText(std::uint32_t window, const std::string& utf8) override;
  void SendPaste(std::uint32_t window) override;
  bool SetClipboardText(const std::string& utf8) override;
  unsigned CodePage() override;

 private:
  void Walk(HWND parent, int depth, std::vector<WindowEntry>& out);

  HWND clipboardOwner_;
};

// Text conversions between UTF-8, UTF-16 and the ANSI code page of this process.
std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);
std::string AnsiFromWide(const std::wstring& wide);
std::wstring WideFromAnsi(const std::string& ansi);

// A handle as the protocol carries it (32 significant bits) and back.
std::uint32_t HandleNumber(HWND window);
HWND HandleFromNumber(std::uint32_t number);

}  // namespace chatbridge
