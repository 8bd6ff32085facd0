#include "player/launch/playercompanions.h"

#include "common/ui/widgetprompts.h"
#include "player/dialogs/linkdialog.h"
#include "player/dialogs/searchdirdialog.h"
#include "player/lookup/lyricslookup.h"

#include <QPointer>

namespace lyrova {

namespace {

// Message boxes shown over a window that stays on top must belong to it, or they could open
// behind it. Real prompts are re-parented for the scope; scripted ones are left alone.
class ScopedPromptsParent {
 public:
  ScopedPromptsParent(Prompts& prompts, QWidget* parent)
      : prompts_(dynamic_cast<WidgetPrompts*>(&prompts)) {
    if (prompts_ == nullptr) return;
    previous_ = prompts_->Parent();
    prompts_->SetParent(parent);
  }
  ~ScopedPromptsParent() {
    if (prompts_ != nullptr) prompts_->SetParent(previous_);
  }
  ScopedPromptsParent(const ScopedPromptsParent&) = delete;
  ScopedPromptsParent& operator=(const ScopedPromptsParent&) = delete;

 private:
  WidgetPrompts* prompts_;
  QPointer<QWidget> previous_;
};

}  // namespace

PlayerCompanions::PlayerCompanions(CompanionServices services) : services_(std::move(services)) {}

LaunchContext PlayerCompanions::Context() const {
  return LaunchContext{*services_.launcher, *services_.prompts, *services_.settings,
                       services_.programFolder};
}

void PlayerCompanions::Run(QDialog& dialog) {
  const ScopedPromptsParent scope(*services_.prompts, &dialog);
  if (services_.runDialog)
    services_.runDialog(dialog);
  else
    dialog.exec();
}

bool PlayerCompanions::StartScanner() { return LaunchScanner(Context()); }

void PlayerCompanions::ShowLinkDialog(QWidget* owner, const QString& song, const QString& lyrics) {
  const LyricsLookup lookup(services_.dataFolder, services_.lookupIndex);
  LinkDialogActions actions;
  actions.showSearchDirs = [this](QWidget* dialogOwner) { ShowSearchDirDialog(dialogOwner); };
  actions.launchEditor = [this](const QString& songPath, const QString& lyricsPath) {
    if (LaunchEditor(Context(), songPath, lyricsPath) && editorStarted) editorStarted(songPath);
  };
  actions.startTextEditor = [this](const QString& path, QString* error) {
    return StartLyricsTextEditor(Context(), path, error);
  };
  LinkDialog dialog(*services_.prompts, lookup, std::move(actions), owner);
  dialog.Open(song, lyrics);
  Run(dialog);
}

void PlayerCompanions::ShowSearchDirDialog(QWidget* owner) {
  const LyricsLookup lookup(services_.dataFolder, services_.lookupIndex);
  SearchDirDialog dialog(*services_.prompts, lookup, services_.openUrl, owner);
  dialog.Open();
  Run(dialog);
}

void PlayerCompanions::EditLyrics(QWidget* owner, bool withEditor, const QString& song,
                                  const QString& lyrics) {
  // The Player's window stays on top: its messages must belong to it to be seen.
  const ScopedPromptsParent scope(*services_.prompts, owner);
  if (lyrova::EditLyrics(Context(), withEditor, song, lyrics) && editorStarted) editorStarted(song);
}

}  // namespace lyrova
