#include "player/chatbridge/winebridgewindowsystem.h"

#include "common/chatprotocol/bridgeprotocol.h"

#include <string>

namespace lyrova {
namespace {

const QByteArray kGreeting = QByteArrayLiteral("hello lyrova-chatbridge ");

QByteArray Number(quint32 value) { return QByteArray::number(value, 16); }

QByteArray Text(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return QByteArray::fromStdString(
      chatbridge::EncodeText(std::string_view(utf8.constData(), utf8.size())));
}

std::optional<QString> DecodeTextField(const QByteArray& field) {
  const auto bytes = chatbridge::DecodeText(std::string_view(field.constData(), field.size()));
  if (!bytes) return std::nullopt;
  return QString::fromUtf8(bytes->data(), static_cast<qsizetype>(bytes->size()));
}

std::optional<quint32> DecodeNumberField(const QByteArray& field) {
  return chatbridge::DecodeNumber(std::string_view(field.constData(), field.size()));
}

// Builds the children at `depth` from the pre-order entries starting at `pos`.
std::vector<WindowNode> BuildLevel(const std::vector<chatbridge::WindowEntry>& entries,
                                   std::size_t& pos, int depth) {
  std::vector<WindowNode> level;
  while (pos < entries.size() && entries[pos].depth == depth) {
    const auto& entry = entries[pos];
    WindowNode node;
    node.handle = entry.handle;
    node.processId = entry.processId;
    node.className = QString::fromStdString(entry.className);
    node.title = QString::fromStdString(entry.title);
    ++pos;
    node.children = BuildLevel(entries, pos, depth + 1);
    level.push_back(std::move(node));
  }
  return level;
}

}  // namespace

std::optional<WindowSnapshot> ParseSnapshotReply(const QList<QByteArray>& fields) {
  if (fields.isEmpty()) return std::nullopt;
  bool numeric = false;
  const qlonglong count = fields[0].toLongLong(&numeric);
  if (!numeric || count < 0 || count != fields.size() - 1) return std::nullopt;
  std::vector<chatbridge::WindowEntry> entries;
  entries.reserve(static_cast<std::size_t>(count));
  int previousDepth = -1;
  for (qsizetype i = 1; i < fields.size(); ++i) {
    auto entry = chatbridge::DecodeEntry(std::string_view(fields[i].constData(), fields[i].size()));
    // A window is either a sibling of an earlier one or the first child of the one before.
    if (!entry || entry->depth > previousDepth + 1) return std::nullopt;
    previousDepth = entry->depth;
    entries.push_back(std::move(*entry));
  }
  WindowSnapshot snapshot;
  std::size_t pos = 0;
  snapshot.topLevel = BuildLevel(entries, pos, 0);
  return snapshot;
}

WineBridgeWindowSystem::WineBridgeWindowSystem(BridgeCommand command, BridgeOptions options)
    : command_(std::move(command)), options_(options) {
  Start();
}

WineBridgeWindowSystem::~WineBridgeWindowSystem() {
  if (!process_ || process_->state() == QProcess::NotRunning) return;
  // Ask politely, then end it: leaving the Player must not wait on Wine.
  process_->write(QByteArray::number(nextId_++) + " quit\n");
  process_->closeWriteChannel();
  if (!process_->waitForFinished(150)) {
    process_->kill();
    process_->waitForFinished(100);
  }
}

void WineBridgeWindowSystem::Start() {
  ++starts_;
  state_ = State::Starting;
  codePage_ = 0;
  lateId_ = 0;
  process_ = std::make_unique<QProcess>();
  process_->setProcessEnvironment(command_.environment);
  process_->setStandardErrorFile(QProcess::nullDevice());
  process_->start(command_.program, command_.arguments);
}

void WineBridgeWindowSystem::Died() {
  if (process_ && process_->state() != QProcess::NotRunning) {
    process_->kill();
    process_->waitForFinished(100);
  }
  if (starts_ <= options_.restarts) {
    Start();
  } else {
    state_ = State::Dead;
  }
}

void WineBridgeWindowSystem::TakeLine(const QByteArray& line) {
  if (line.startsWith(kGreeting)) {
    const QList<QByteArray> fields = line.mid(kGreeting.size()).split(' ');
    if (fields.size() == 2 && fields[0].toInt() == chatbridge::kProtocolVersion) {
      codePage_ = fields[1].toUInt();
      state_ = State::Ready;
    }
    return;
  }
  const qsizetype blank = line.indexOf(' ');
  bool numeric = false;
  const quint64 id = line.left(blank).toULongLong(&numeric);
  if (!numeric) return;
  if (id == lateId_) lateId_ = 0;  // caught up: later requests are answered in time again
  if (id == awaitedId_) reply_ = blank < 0 ? QByteArray() : line.mid(blank + 1);
}

void WineBridgeWindowSystem::Poll() {
  if (state_ == State::Dead || !process_) return;
  if (process_->state() != QProcess::NotRunning) process_->waitForReadyRead(0);
  while (process_->canReadLine()) {
    QByteArray line = process_->readLine();
    while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
    TakeLine(line);
  }
  if (process_->state() == QProcess::NotRunning) Died();
}

std::optional<QList<QByteArray>> WineBridgeWindowSystem::Call(const QByteArray& verbAndArguments) {
  Poll();
  if (state_ != State::Ready) return std::nullopt;
  if (lateId_ != 0) {
    // Still behind with an earlier request: drop this one rather than queue it up.
    if (lateSince_.elapsed() > options_.giveUpMs) Died();
    return std::nullopt;
  }

  QElapsedTimer clock;
  clock.start();
  const quint64 id = nextId_++;
  awaitedId_ = id;
  reply_.reset();
  process_->write(QByteArray::number(id) + ' ' + verbAndArguments + '\n');
  while (!reply_) {
    const qint64 left = options_.callTimeoutMs - clock.elapsed();
    if (left <= 0) break;
    if (process_->canReadLine() || process_->waitForReadyRead(static_cast<int>(left))) {
      while (process_->canReadLine() && !reply_) {
        QByteArray line = process_->readLine();
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        TakeLine(line);
      }
    } else if (process_->state() == QProcess::NotRunning) {
      break;
    }
  }
  awaitedId_ = 0;
  if (process_->state() == QProcess::NotRunning) {
    Died();
    return std::nullopt;
  }
  if (!reply_) {
    lateId_ = id;
    lateSince_.start();
    return std::nullopt;
  }
  const QList<QByteArray> fields = reply_->split(' ');
  if (fields.isEmpty() || fields[0] != "ok") return std::nullopt;
  return fields.mid(1);
}

bool WineBridgeWindowSystem::WaitUntilReady(int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (true) {
    Poll();
    if (state_ != State::Starting) return state_ == State::Ready;
    const qint64 left = timeoutMs - clock.elapsed();
    if (left <= 0) return false;
    process_->waitForReadyRead(static_cast<int>(qMin<qint64>(left, 50)));
  }
}

WindowSnapshot WineBridgeWindowSystem::Snapshot() {
  const auto fields = Call(QByteArrayLiteral("snapshot"));
  if (!fields) return {};
  return ParseSnapshotReply(*fields).value_or(WindowSnapshot{});
}

bool WineBridgeWindowSystem::IsWindow(WindowHandle window) {
  if (window == 0) return false;
  const auto fields = Call("alive " + Number(window));
  return fields && fields->size() == 1 && fields->at(0) == "1";
}

ForegroundWindow WineBridgeWindowSystem::Foreground() {
  const auto fields = Call(QByteArrayLiteral("foreground"));
  if (!fields || fields->size() != 3) return {};
  const auto handle = DecodeNumberField(fields->at(0));
  const auto processId = DecodeNumberField(fields->at(1));
  const auto className = DecodeTextField(fields->at(2));
  if (!handle || !processId || !className) return {};
  return {*handle, *processId, *className};
}

void WineBridgeWindowSystem::Post(WindowHandle window, quint32 message, quint32 wParam,
                                  quint32 lParam) {
  Call("post " + Number(window) + ' ' + Number(message) + ' ' + Number(wParam) + ' ' +
       Number(lParam));
}

void WineBridgeWindowSystem::PostCharacters(WindowHandle window, const QString& text) {
  Call("chars " + Number(window) + ' ' + Text(text));
}

void WineBridgeWindowSystem::SendSetText(WindowHandle window, const QString& text) {
  Call("settext " + Number(window) + ' ' + Text(text));
}

void WineBridgeWindowSystem::SendPaste(WindowHandle window) {
  Call("paste " + Number(window));
}

void WineBridgeWindowSystem::SetClipboardText(const QString& text) {
  Call("clip " + Text(text));
}

}  // namespace lyrova
