#include "common/chatprotocol/bridgeprotocol.h"

#include <charconv>

namespace chatbridge {
namespace {

constexpr char kDigits[] = "0123456789abcdef";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Error(std::string_view id, std::string_view reason) {
  std::string reply(id);
  reply += " err ";
  reply += reason;
  return reply;
}

std::string Ok(std::string_view id) {
  std::string reply(id);
  reply += " ok";
  return reply;
}

bool ValidId(std::string_view id) {
  if (id.empty() || id.size() > 20) return false;
  for (const char c : id) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

std::string EncodeText(std::string_view bytes) {
  if (bytes.empty()) return "-";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

std::optional<std::string> DecodeText(std::string_view field) {
  if (field == "-") return std::string();
  if (field.empty() || field.size() % 2 != 0) return std::nullopt;
  std::string out;
  out.reserve(field.size() / 2);
  for (std::size_t i = 0; i < field.size(); i += 2) {
    const int high = HexValue(field[i]);
    const int low = HexValue(field[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>((high << 4) | low);
  }
  return out;
}

std::string EncodeNumber(std::uint32_t value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
  return std::string(buffer, result.ptr);
}

std::optional<std::uint32_t> DecodeNumber(std::string_view field) {
  if (field.empty() || field.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : field) {
    const int digit = HexValue(c);
    if (digit < 0) return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(digit);
  }
  return value;
}

std::vector<std::string_view> SplitFields(std::string_view line, char separator) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = line.find(separator, start);
    if (end == std::string_view::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
}

std::string Greeting(unsigned codePage) {
  return "hello lyrova-chatbridge " + std::to_string(kProtocolVersion) + " " +
         std::to_string(codePage);
}

std::string EncodeEntry(const WindowEntry& entry) {
  return std::to_string(entry.depth) + "," + EncodeNumber(entry.handle) + "," +
         EncodeNumber(entry.processId) + "," + EncodeText(entry.className) + "," +
         EncodeText(entry.title);
}

std::optional<WindowEntry> DecodeEntry(std::string_view field) {
  const auto parts = SplitFields(field, ',');
  if (parts.size() != 5) return std::nullopt;
  WindowEntry entry;
  const auto depth = parts[0];
  const auto [end, error] = std::from_chars(depth.data(), depth.data() + depth.size(), entry.depth);
  if (error != std::errc() || end != depth.data() + depth.size() || entry.depth < 0) {
    return std::nullopt;
  }
  const auto handle = DecodeNumber(parts[1]);
  const auto processId = DecodeNumber(parts[2]);
  auto className = DecodeText(parts[3]);
  auto title = DecodeText(parts[4]);
  if (!handle || !processId || !className || !title) return std::nullopt;
  entry.handle = *handle;
  entry.processId = *processId;
  entry.className = std::move(*className);
  entry.title = std::move(*title);
  return entry;
}

namespace {

// One request split into its id, its verb and the fields after the verb.
struct Request {
  std::string_view id;
  std::string_view verb;
  std::vector<std::string_view> args;
};

Outcome Reply(std::string reply) { return {std::move(reply), false}; }

Outcome Snapshot(const Request& r, WindowCalls& calls) {
  const auto entries = calls.Snapshot();
  std::string reply = Ok(r.id) + " " + std::to_string(entries.size());
  for (const auto& entry : entries) {
    reply += ' ';
    reply += EncodeEntry(entry);
  }
  return Reply(reply);
}

Outcome Foreground(const Request& r, WindowCalls& calls) {
  const auto f = calls.Foreground();
  return Reply(Ok(r.id) + " " + EncodeNumber(f.handle) + " " + EncodeNumber(f.processId) + " " +
               EncodeText(f.className));
}

Outcome Clipboard(const Request& r, WindowCalls& calls) {
  const auto text = DecodeText(r.args[0]);
  if (!text) return Reply(Error(r.id, "badtext"));
  if (!calls.SetClipboardText(*text)) return Reply(Error(r.id, "clipboard"));
  return Reply(Ok(r.id));
}

// The verbs about the client as a whole; none when `r` names another verb.
std::optional<Outcome> ClientRequest(const Request& r, WindowCalls& calls) {
  const std::size_t argc = r.args.size();
  if (r.verb == "quit") return Outcome{Ok(r.id), true};
  if (r.verb == "ping" || r.verb == "snapshot" || r.verb == "foreground") {
    if (argc != 0) return Reply(Error(r.id, "args"));
    if (r.verb == "ping") return Reply(Ok(r.id) + " " + std::to_string(calls.CodePage()));
    return r.verb == "snapshot" ? Snapshot(r, calls) : Foreground(r, calls);
  }
  if (r.verb == "clip") return argc == 1 ? Clipboard(r, calls) : Reply(Error(r.id, "args"));
  return std::nullopt;
}

Outcome PostToWindow(const Request& r, std::uint32_t window, WindowCalls& calls) {
  if (r.args.size() != 4) return Reply(Error(r.id, "args"));
  const auto message = DecodeNumber(r.args[1]);
  const auto wParam = DecodeNumber(r.args[2]);
  const auto lParam = DecodeNumber(r.args[3]);
  if (!message || !wParam || !lParam) return Reply(Error(r.id, "badnumber"));
  calls.Post(window, *message, *wParam, *lParam);
  return Reply(Ok(r.id));
}

// "chars" or "settext": a text for the window.
Outcome SendText(const Request& r, std::uint32_t window, WindowCalls& calls) {
  if (r.args.size() != 2) return Reply(Error(r.id, "args"));
  const auto text = DecodeText(r.args[1]);
  if (!text) return Reply(Error(r.id, "badtext"));
  if (r.verb == "settext") {
    calls.SendSetText(window, *text);
    return Reply(Ok(r.id));
  }
  return Reply(Ok(r.id) + " " + std::to_string(calls.PostCharacters(window, *text)));
}

// The verbs that name a window first.
Outcome WindowRequest(const Request& r, WindowCalls& calls) {
  if (r.verb != "alive" && r.verb != "paste" && r.verb != "post" && r.verb != "chars" &&
      r.verb != "settext") {
    return Reply(Error(r.id, "unknown"));
  }
  if (r.args.empty()) return Reply(Error(r.id, "args"));
  const auto window = DecodeNumber(r.args[0]);
  if (!window) return Reply(Error(r.id, "badnumber"));
  if (r.verb == "alive" || r.verb == "paste") {
    if (r.args.size() != 1) return Reply(Error(r.id, "args"));
    if (r.verb == "alive") return Reply(Ok(r.id) + (calls.IsWindow(*window) ? " 1" : " 0"));
    calls.SendPaste(*window);
    return Reply(Ok(r.id));
  }
  if (r.verb == "post") return PostToWindow(r, *window, calls);
  return SendText(r, *window, calls);
}

}  // namespace

Outcome HandleRequest(std::string_view line, WindowCalls& calls) {
  const auto fields = SplitFields(line, ' ');
  const std::string_view id = fields[0];
  if (!ValidId(id)) return {"0 err badid", false};
  if (line.size() > kMaxRequestLength) return {Error(id, "toolong"), false};
  if (fields.size() < 2) return {Error(id, "noverb"), false};
  const Request request{id, fields[1], {fields.begin() + 2, fields.end()}};
  if (auto outcome = ClientRequest(request, calls)) return std::move(*outcome);
  return WindowRequest(request, calls);
}

}  // namespace chatbridge
