// lyrova-chatbridge: runs beside the chat client (under Wine on Linux) and carries out the
// Player's window requests, one line in, one line out (common/chatprotocol/PROTOCOL.md). A reader thread takes
// the lines from standard input and hands them to the main thread, which keeps pumping
// window messages between requests: it owns the clipboard after a paste delivery, and other
// programs that empty the clipboard wait for its answer.
#include "common/chatprotocol/bridgeprotocol.h"
#include "win32windowsystem.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr UINT kRequestMessage = WM_APP + 1;  // lParam: a std::string* the main thread frees
constexpr UINT kEndMessage = WM_APP + 2;      // standard input closed

DWORD mainThread = 0;

void WriteLine(const std::string& line) {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  std::string data = line;
  data += '\n';
  const char* cursor = data.data();
  DWORD left = static_cast<DWORD>(data.size());
  while (left > 0) {
    DWORD written = 0;
    if (!WriteFile(out, cursor, left, &written, nullptr) || written == 0) return;
    cursor += written;
    left -= written;
  }
}

void PostToMain(UINT message, std::string* line) {
  // The main thread's queue exists before this thread starts; retry if it is briefly full.
  while (!PostThreadMessageA(mainThread, message, 0, reinterpret_cast<LPARAM>(line))) {
    Sleep(1);
  }
}

DWORD WINAPI ReadRequests(LPVOID) {
  const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  std::string pending;
  char buffer[4096];
  while (true) {
    DWORD got = 0;
    if (!ReadFile(in, buffer, sizeof buffer, &got, nullptr) || got == 0) break;
    for (DWORD i = 0; i < got; ++i) {
      const char c = buffer[i];
      if (c == '\n') {
        if (!pending.empty() && pending.back() == '\r') pending.pop_back();
        PostToMain(kRequestMessage, new std::string(std::move(pending)));
        pending.clear();
      } else if (pending.size() <= chatbridge::kMaxRequestLength) {
        // One byte beyond the limit is kept, so that the request is refused as too long
        // (with its id) instead of being cut into something else.
        pending += c;
      }
    }
  }
  PostToMain(kEndMessage, nullptr);
  return 0;
}

}  // namespace

int main() {
  mainThread = GetCurrentThreadId();
  MSG message;
  PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // creates the queue

  const HWND owner = CreateWindowExA(0, "STATIC", "lyrova-chatbridge", 0, 0, 0, 0, 0,
                                     HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
  chatbridge::Win32WindowSystem windows(owner);

  const HANDLE reader = CreateThread(nullptr, 0, ReadRequests, nullptr, 0, nullptr);
  if (reader == nullptr) return 1;
  // The first walk of a new process is several times slower than later ones (the window
  // system sets itself up for it); take that cost here, before the Player sends requests.
  windows.Snapshot();
  WriteLine(chatbridge::Greeting(windows.CodePage()));

  bool running = true;
  while (running && GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == nullptr && message.message == kRequestMessage) {
      auto* line = reinterpret_cast<std::string*>(message.lParam);
      const auto outcome = chatbridge::HandleRequest(*line, windows);
      delete line;
      WriteLine(outcome.reply);
      running = !outcome.quit;
    } else if (message.hwnd == nullptr && message.message == kEndMessage) {
      running = false;
    } else {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  if (owner != nullptr) DestroyWindow(owner);
  // The reader may still sit in ReadFile; ending the process ends it.
  ExitProcess(0);
}
