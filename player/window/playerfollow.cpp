// The Player window in follow mode: its menu entries, switching it on and off, and the buttons
// and progress bar as the followed player allows them.
#include "common/settings.h"
#include "common/ui/toolbutton.h"
#include "player/window/bars.h"
#include "player/window/playerwindow.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace lyrova {

void PlayerWindow::AddFollowItems() {
  QAction* follow = AddToggle(QStringLiteral("Follow_M"), QStringLiteral("跟随其他播放器"));
  connect(follow, &QAction::triggered, this, [this, follow] { SetFollowing(follow->isChecked()); });
  followPlayers_ = setMenu_->addMenu(QStringLiteral("跟随的播放器"));
  followPlayers_->setObjectName(QStringLiteral("FollowPlayer_M"));
  connect(followPlayers_, &QMenu::aboutToShow, this, &PlayerWindow::FillFollowPlayerMenu);
  FillFollowPlayerMenu();
}

// "自动" first, then every player by the name it gives itself; the pinned one (or "自动") checked.
void PlayerWindow::FillFollowPlayerMenu() {
  followPlayers_->clear();
  auto* group = new QActionGroup(followPlayers_);
  const QString pinned = follower_ ? follower_->PinnedId() : settings_.followPlayer;
  auto add = [this, group, &pinned](const QString& caption, const QString& id) {
    QAction* item = followPlayers_->addAction(caption);
    item->setCheckable(true);
    item->setChecked(id == pinned);
    item->setData(id);
    group->addAction(item);
    connect(item, &QAction::triggered, this, [this, id] {
      settings_.followPlayer = id;
      services_.settings->WriteSetting(playerkeys::kFollowPlayer, id);
      if (follower_) follower_->Pin(id);
    });
  };
  add(QStringLiteral("自动"), QString());
  if (follower_) {
    for (const FollowablePlayer& player : follower_->Players()) add(player.caption, player.id);
  }
  followPlayers_->setEnabled(follower_ != nullptr);
}

void PlayerWindow::SetFollowing(bool on) {
  QAction* entry = Toggle(QStringLiteral("Follow_M"));
  if (on && !follower_ && services_.makeFollowSource) {
    std::unique_ptr<FollowSource> source = services_.makeFollowSource();
    // Without a bus there is nothing to follow: said once, and the Player plays its own songs.
    if (source && !source->Problem().isEmpty()) {
      if (!followProblemShown_) ShowStatusNote(source->Problem());
      followProblemShown_ = true;
      source.reset();
    }
    if (source) {
      follower_ = std::move(source);
      follower_->Pin(settings_.followPlayer);
      connect(follower_.get(), &FollowSource::PlaybackChanged, this, &PlayerWindow::UpdateFollowControls);
      connect(follower_.get(), &FollowSource::TrackChanged, this, &PlayerWindow::UpdateFollowControls);
      session_.Follow(follower_.get());
    }
  } else if (!on && follower_) {
    session_.Follow(nullptr);
    follower_.reset();
  }
  settings_.followMode = on;
  if (entry->isChecked() != on) entry->setChecked(on);
  services_.settings->WriteBoolSetting(playerkeys::kFollowMode, on);
  UpdateFollowControls();
  FillFollowPlayerMenu();
}

void PlayerWindow::UpdateFollowControls() {
  const bool canPause = !follower_ || follower_->CanPause();
  for (PlayerButton button : {PlayerButton::Play, PlayerButton::Pause, PlayerButton::Stop})
    Button(button)->setEnabled(canPause);
  locPut_->setEnabled(!follower_ || follower_->CanSeek());
}

}  // namespace lyrova
