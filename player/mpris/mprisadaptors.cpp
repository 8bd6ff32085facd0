#include "player/mpris/mprisadaptors.h"

#include "player/mpris/mprispublisher.h"

namespace lyrova {

MprisRootAdaptor::MprisRootAdaptor(MprisPublisher* publisher) : QDBusAbstractAdaptor(publisher) {}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisPublisher* publisher)
    : QDBusAbstractAdaptor(publisher), publisher_(publisher) {}

QString MprisPlayerAdaptor::PlaybackStatus() const { return publisher_->Published().status; }
QVariantMap MprisPlayerAdaptor::Metadata() const { return publisher_->Metadata(); }
double MprisPlayerAdaptor::Volume() const { return publisher_->Volume(); }
qlonglong MprisPlayerAdaptor::Position() const { return publisher_->PositionUs(); }
bool MprisPlayerAdaptor::CanPlay() const { return publisher_->Published().canPlay; }
bool MprisPlayerAdaptor::CanSeek() const { return publisher_->Published().canSeek; }

void MprisPlayerAdaptor::PlayPause() { publisher_->PlayPause(); }
void MprisPlayerAdaptor::Play() { publisher_->Play(); }
void MprisPlayerAdaptor::Pause() { publisher_->Pause(); }
void MprisPlayerAdaptor::Stop() { publisher_->Stop(); }
void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
  publisher_->SetPosition(TrackId, Position);
}
void MprisPlayerAdaptor::Seek(qlonglong Offset) { publisher_->Seek(Offset); }

}  // namespace lyrova
