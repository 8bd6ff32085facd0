#include "win32windowsystem.h"

namespace chatbridge {
namespace {

// The paste and set-text messages are sent and waited for, but not for ever.
constexpr UINT kDeliveryTimeoutMs = kDeliveryLimitMs;
// The walk stops here even if a window tree changes under it and seems never to end.
constexpr std::size_t kMaxWindows = 20000;
constexpr int kMaxDepth = 64;
constexpr int kTitleLimit = 32767;

std::string ClassNameOf(HWND window) {
  char buffer[256] = {};
  const int length = GetClassNameA(window, buffer, 255);
  if (length <= 0) return {};
  return Utf8FromWide(WideFromAnsi(std::string(buffer, static_cast<std::size_t>(length))));
}

// The window text as the window system keeps it. For a window of another process this reads
// the stored text without sending a message to its owner, so a busy or hung client neither
// slows a scan down nor stalls it; for the client's forms it is their caption, the same text
// their WM_GETTEXT answers with.
std::string TitleOf(HWND window) {
  std::string buffer(static_cast<std::size_t>(kTitleLimit) + 2, '\0');
  const int length = GetWindowTextA(window, buffer.data(), kTitleLimit + 1);
  if (length <= 0) return {};
  buffer.resize(static_cast<std::size_t>(length));
  const std::size_t nul = buffer.find('\0');
  if (nul != std::string::npos) buffer.resize(nul);
  return Utf8FromWide(WideFromAnsi(buffer));
}

DWORD OwnerProcess(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return processId;
}

}  // namespace

std::wstring WideFromUtf8(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Utf8FromWide(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                      nullptr, nullptr);
  return utf8;
}

std::string AnsiFromWide(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), n,
                      nullptr, nullptr);
  return ansi;
}

std::wstring WideFromAnsi(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                    nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  return wide;
}

std::uint32_t HandleNumber(HWND window) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window));
}

HWND HandleFromNumber(std::uint32_t number) {
  // Window handles are 32-bit values, sign-extended on 64-bit Windows.
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(number)));
}

void Win32WindowSystem::Walk(HWND parent, int depth, std::vector<WindowEntry>& out) {
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr && out.size() < kMaxWindows;
       child = GetWindow(child, GW_HWNDNEXT)) {
    WindowEntry entry;
    entry.depth = depth;
    entry.handle = HandleNumber(child);
    entry.processId = OwnerProcess(child);
    entry.className = ClassNameOf(child);
    // Only top-level titles are read: the chat logic matches top-level windows by title and
    // children only by class, and the "title" of an input control is its whole content.
    if (depth == 0) entry.title = TitleOf(child);
    out.push_back(std::move(entry));
    if (depth + 1 < kMaxDepth) Walk(child, depth + 1, out);
  }
}

std::vector<WindowEntry> Win32WindowSystem::Snapshot() {
  std::vector<WindowEntry> entries;
  Walk(GetDesktopWindow(), 0, entries);
  return entries;
}

bool Win32WindowSystem::IsWindow(std::uint32_t window) {
  return window != 0 && ::IsWindow(HandleFromNumber(window));
}

ForegroundEntry Win32WindowSystem::Foreground() {
  ForegroundEntry entry;
  const HWND window = GetForegroundWindow();
  if (window == nullptr) return entry;
  entry.handle = HandleNumber(window);
  entry.processId = OwnerProcess(window);
  entry.className = ClassNameOf(window);
  return entry;
}

void Win32WindowSystem::Post(std::uint32_t window, std::uint32_t message, std::uint32_t wParam,
                             std::uint32_t lParam) {
  PostMessageA(HandleFromNumber(window), message, wParam,
               static_cast<LPARAM>(static_cast<std::int32_t>(lParam)));
}

int Win32WindowSystem::PostCharacters(std::uint32_t window, const std::string& utf8) {
  const std::string ansi = AnsiFromWide(WideFromUtf8(utf8));
  const HWND target = HandleFromNumber(window);
  int posted = 0;
  for (const char c : ansi) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 13 || byte == 10) continue;
    PostMessageA(target, WM_CHAR, byte, 0);
    ++posted;
  }
  return posted;
}

void Win32WindowSystem::SendSetText(std::uint32_t window, const std::string& utf8) {
  const std::string ansi = AnsiFromWide(WideFromUtf8(utf8));  // c_str() adds the NUL
  DWORD_PTR result = 0;
  SendMessageTimeoutA(HandleFromNumber(window), WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(ansi.c_str()), SMTO_ABORTIFHUNG,
                      kDeliveryTimeoutMs, &result);
}

void Win32WindowSystem::SendPaste(std::uint32_t window) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(HandleFromNumber(window), WM_PASTE, 0, 0, SMTO_ABORTIFHUNG,
                      kDeliveryTimeoutMs, &result);
}

namespace {

HGLOBAL GlobalCopy(const void* data, std::size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (memory == nullptr) return nullptr;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  CopyMemory(target, data, size);
  GlobalUnlock(memory);
  return memory;
}

}  // namespace

bool Win32WindowSystem::SetClipboardText(const std::string& utf8) {
  // Another program may hold the clipboard for a moment; try a few times.
  bool open = false;
  for (int attempt = 0; attempt < 10 && !open; ++attempt) {
    open = OpenClipboard(clipboardOwner_) != FALSE;
    if (!open) Sleep(5);
  }
  if (!open) return false;
  EmptyClipboard();
  // Both forms are put on explicitly: a text form derived by the system would use the code
  // page of the keyboard layout, which need not be the client's ANSI code page.
  const std::wstring wide = WideFromUtf8(utf8);
  const std::string ansi = AnsiFromWide(wide);
  bool done = true;
  if (HGLOBAL unicode = GlobalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t))) {
    if (SetClipboardData(CF_UNICODETEXT, unicode) == nullptr) {
      GlobalFree(unicode);
      done = false;
    }
  } else {
    done = false;
  }
  if (HGLOBAL text = GlobalCopy(ansi.c_str(), ansi.size() + 1)) {
    if (SetClipboardData(CF_TEXT, text) == nullptr) {
      GlobalFree(text);
      done = false;
    }
  } else {
    done = false;
  }
  CloseClipboard();
  return done;
}

unsigned Win32WindowSystem::CodePage() { return GetACP(); }

}  // namespace chatbridge
