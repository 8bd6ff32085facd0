// lyrova-chatclient: a stand-in for the outside chat client, for the chat tests under Wine.
// It opens top-level windows of the client's window classes and titles, each holding an
// input control of class "TRichEdit2" a few levels deep, and writes every chat message that
// reaches an input control to a log file, one line each:
//   ready <process id, hex>
//   msg <frame> <message> <wParam> <lParam> <text>
//   closed <frame> / opened <frame>
// Numbers are lower-case hex (message 4 digits, parameters 8); <frame> is the decimal index
// of the window in the table below; <text> is the hex of the ANSI bytes the message carried
// ("-" for none): the string of a set-text message, the clipboard's text form for a paste.
// The lParam of a set-text message is a pointer and is logged as "--------".
// Logged messages: key-down, key-up, character, set-text and paste. The input controls are
// ANSI windows, so their messages arrive with the client's ANSI bytes unchanged.
// Usage: lyrova-chatclient --log <file> [--reopen]
//   --reopen: a frame closed with a close message is opened again, same class and title,
//             after 200 ms (a new handle).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Frame {
  const wchar_t* windowClass;
  const wchar_t* title;
  bool hasEditor;
  HWND window;
};

Frame frames[] = {
    {L"TPluginForm", L"娱乐大厅 一号房间", true, nullptr},
    {L"TChatRoomHallForm", L"聊天大厅 歌友会", true, nullptr},
    {L"TtextChatForm", L"与 小雨 聊天中", true, nullptr},
    {L"TCommunityForm", L"歌友社区", true, nullptr},
    {L"TUserInfoForm", L"用户信息", true, nullptr},
    // Right class, but the title carries the prefix later: not a chat target.
    {L"TChatRoomHallForm", L"大厅 聊天大厅", true, nullptr},
    // Right class and title, but no input control: not a chat target.
    {L"TPluginForm", L"娱乐大厅 没有输入框", false, nullptr},
};
constexpr int kFrameCount = static_cast<int>(sizeof frames / sizeof frames[0]);
constexpr UINT_PTR kReopenTimerBase = 100;

FILE* logFile = nullptr;
bool reopen = false;
HWND controlWindow = nullptr;  // owns the reopen timers

void Log(const std::string& line) {
  if (logFile == nullptr) return;
  std::fputs(line.c_str(), logFile);
  std::fputc('\n', logFile);
  std::fflush(logFile);
}

std::string Hex(const char* bytes, std::size_t size) {
  if (size == 0) return "-";
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (std::size_t i = 0; i < size; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

std::string Number(unsigned long value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*lx", width, value);
  return buffer;
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = bytes;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

int FrameOf(HWND window) {
  for (HWND w = window; w != nullptr; w = GetParent(w)) {
    for (int i = 0; i < kFrameCount; ++i) {
      if (frames[i].window == w) return i;
    }
  }
  return -1;
}

LRESULT CALLBACK EditorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::string text;
  bool logged = true;
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
      break;
    case WM_SETTEXT:
      if (lParam != 0) text = reinterpret_cast<const char*>(lParam);
      break;
    case WM_PASTE:
      text = ClipboardText();
      break;
    default:
      logged = false;
  }
  if (logged) {
    Log("msg " + std::to_string(FrameOf(window)) + " " + Number(message, 4) + " " +
        Number(static_cast<unsigned long>(wParam & 0xffffffffu), 8) + " " +
        (message == WM_SETTEXT
             ? std::string("--------")
             : Number(static_cast<unsigned long>(static_cast<unsigned long long>(lParam) &
                                                 0xffffffffu),
                      8)) +
        " " + Hex(text.data(), text.size()));
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void OpenFrame(int index);

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    const int index = FrameOf(window);
    DestroyWindow(window);
    if (index >= 0) {
      frames[index].window = nullptr;
      Log("closed " + std::to_string(index));
      if (reopen) SetTimer(controlWindow, kReopenTimerBase + static_cast<UINT_PTR>(index), 200, nullptr);
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam >= kReopenTimerBase &&
      wParam < kReopenTimerBase + static_cast<UINT_PTR>(kFrameCount)) {
    KillTimer(window, wParam);
    const int index = static_cast<int>(wParam - kReopenTimerBase);
    OpenFrame(index);
    Log("opened " + std::to_string(index));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance) {
  for (const Frame& frame : frames) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance;
    wc.lpszClassName = frame.windowClass;
    RegisterClassW(&wc);  // a class registered twice fails harmlessly the second time
  }
  WNDCLASSW panel = {};
  panel.lpfnWndProc = DefWindowProcW;
  panel.hInstance = instance;
  panel.lpszClassName = L"TPanel";
  RegisterClassW(&panel);
  WNDCLASSA editor = {};
  editor.lpfnWndProc = EditorProc;
  editor.hInstance = instance;
  editor.lpszClassName = "TRichEdit2";
  RegisterClassA(&editor);
  WNDCLASSA control = {};
  control.lpfnWndProc = ControlProc;
  control.hInstance = instance;
  control.lpszClassName = "LyrovaStandInControl";
  RegisterClassA(&control);
}

void OpenFrame(int index) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  Frame& frame = frames[index];
  frame.window = CreateWindowExW(0, frame.windowClass, frame.title, WS_OVERLAPPEDWINDOW,
                                 20 + 30 * index, 20 + 30 * index, 320, 240, nullptr, nullptr,
                                 instance, nullptr);
  // A button-like panel first, then the input control two panels deep.
  CreateWindowExW(0, L"TPanel", L"工具栏", WS_CHILD | WS_VISIBLE, 0, 0, 300, 20, frame.window,
                  nullptr, instance, nullptr);
  const HWND outer = CreateWindowExW(0, L"TPanel", L"", WS_CHILD | WS_VISIBLE, 0, 20, 300, 180,
                                     frame.window, nullptr, instance, nullptr);
  const HWND inner = CreateWindowExW(0, L"TPanel", L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 180,
                                     outer, nullptr, instance, nullptr);
  if (frame.hasEditor) {
    CreateWindowExA(0, "TRichEdit2", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 180, inner, nullptr,
                    instance, nullptr);
  }
  ShowWindow(frame.window, SW_SHOWNOACTIVATE);
}

}  // namespace

int main(int argc, char** argv) {
  const char* logPath = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--log") == 0 && i + 1 < argc) {
      logPath = argv[++i];
    } else if (std::strcmp(argv[i], "--reopen") == 0) {
      reopen = true;
    } else {
      std::fprintf(stderr, "usage: lyrova-chatclient --log <file> [--reopen]\n");
      return 2;
    }
  }
  if (logPath == nullptr) {
    std::fprintf(stderr, "usage: lyrova-chatclient --log <file> [--reopen]\n");
    return 2;
  }
  logFile = std::fopen(logPath, "wb");
  if (logFile == nullptr) {
    std::fprintf(stderr, "lyrova-chatclient: cannot write %s\n", logPath);
    return 1;
  }

  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterClasses(instance);
  controlWindow = CreateWindowExA(0, "LyrovaStandInControl", "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, instance, nullptr);
  for (int i = 0; i < kFrameCount; ++i) OpenFrame(i);
  Log("ready " + Number(GetCurrentProcessId(), 1));

  MSG message;
  // No TranslateMessage: a key message must not add a character message of its own to the log.
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    DispatchMessageA(&message);
  }
  std::fclose(logFile);
  return 0;
}
