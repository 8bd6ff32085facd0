// A stand-in for lyrova-chatbridge.exe on the host: the bridge's own request handling over a
// fixed window table, for the tests of the Player's side. Options:
//   --log FILE        append every request line received, and "start" at each start
//   --hang-after N    after N requests, read on but never answer again
//   --die-after N     after N requests, exit without answering
//   --delay-first MS  wait this long before the first reply
//   --delay-delivery MS  wait this long before answering every paste and settext, as a
//                     client that takes its time over a sent message would make the bridge
//   --silent          never greet (a bridge that does not come up)
#include "common/chatprotocol/bridgeprotocol.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

namespace {

class TableWindows : public chatbridge::WindowCalls {
 public:
  std::vector<chatbridge::WindowEntry> Snapshot() override {
    return {
        {0, 0x10010, 0x20, "TChatRoomHallForm", "\xe8\x81\x8a\xe5\xa4\xa9\xe5\xa4\xa7\xe5\x8e\x85 1"},
        {1, 0x10012, 0x20, "TPanel", ""},
        {2, 0x10014, 0x20, "TRichEdit2", ""},
        {1, 0x10016, 0x20, "TButton", ""},
        {0, 0x10020, 0x30, "TtextChatForm", "a b,c"},
    };
  }
  bool IsWindow(std::uint32_t window) override { return window == 0x10010 || window == 0x10014; }
  chatbridge::ForegroundEntry Foreground() override { return {0x10020, 0x30, "TUserInfoForm"}; }
  void Post(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) override {}
  int PostCharacters(std::uint32_t, const std::string& utf8) override {
    return static_cast<int>(utf8.size());
  }
  void SendSetText(std::uint32_t, const std::string&) override {}
  void SendPaste(std::uint32_t) override {}
  bool SetClipboardText(const std::string&) override { return true; }
  unsigned CodePage() override { return 936; }
};

}  // namespace

int main(int argc, char** argv) {
  const char* logPath = nullptr;
  long hangAfter = -1;
  long dieAfter = -1;
  long delayFirstMs = 0;
  long delayDeliveryMs = 0;
  bool silent = false;
  for (int i = 1; i < argc; ++i) {
    const bool more = i + 1 < argc;
    if (std::strcmp(argv[i], "--log") == 0 && more) {
      logPath = argv[++i];
    } else if (std::strcmp(argv[i], "--hang-after") == 0 && more) {
      hangAfter = std::atol(argv[++i]);
    } else if (std::strcmp(argv[i], "--die-after") == 0 && more) {
      dieAfter = std::atol(argv[++i]);
    } else if (std::strcmp(argv[i], "--delay-first") == 0 && more) {
      delayFirstMs = std::atol(argv[++i]);
    } else if (std::strcmp(argv[i], "--delay-delivery") == 0 && more) {
      delayDeliveryMs = std::atol(argv[++i]);
    } else if (std::strcmp(argv[i], "--silent") == 0) {
      silent = true;
    } else {
      return 2;
    }
  }
  FILE* log = logPath != nullptr ? std::fopen(logPath, "a") : nullptr;
  auto note = [log](const std::string& line) {
    if (log == nullptr) return;
    std::fprintf(log, "%s\n", line.c_str());
    std::fflush(log);
  };
  note("start");

  TableWindows windows;
  if (!silent) std::cout << chatbridge::Greeting(windows.CodePage()) << std::endl;
  long handled = 0;
  std::string line;
  while (std::getline(std::cin, line)) {
    note(line);
    if (dieAfter >= 0 && handled >= dieAfter) return 3;
    if ((hangAfter >= 0 && handled >= hangAfter) || silent) continue;
    if (handled == 0 && delayFirstMs > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(delayFirstMs));
    }
    const std::vector<std::string_view> fields = chatbridge::SplitFields(line, ' ');
    const bool delivery = fields.size() > 1 && (fields[1] == "paste" || fields[1] == "settext");
    if (delivery && delayDeliveryMs > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(delayDeliveryMs));
    }
    ++handled;
    const auto outcome = chatbridge::HandleRequest(line, windows);
    std::cout << outcome.reply << std::endl;
    if (outcome.quit) break;
  }
  if (log != nullptr) std::fclose(log);
  return 0;
}
