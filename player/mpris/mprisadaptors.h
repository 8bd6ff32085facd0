#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

// The two MPRIS interfaces of the Player's bus object, both on the MprisPublisher that owns
// them: every property is read from it and every method is handed to it. Read-only throughout
// (Rate and Volume included, which MPRIS allows a player to refuse); Next, Previous and OpenUri
// do nothing, as a player of one song has no list to move in.
namespace lyrova {

class MprisPublisher;

class MprisRootAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
  Q_PROPERTY(bool CanQuit READ CanQuit)
  Q_PROPERTY(bool CanRaise READ CanRaise)
  Q_PROPERTY(bool HasTrackList READ HasTrackList)
  Q_PROPERTY(QString Identity READ Identity)
  Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
  Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
  Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)

 public:
  explicit MprisRootAdaptor(MprisPublisher* publisher);

  bool CanQuit() const { return false; }
  bool CanRaise() const { return false; }
  bool HasTrackList() const { return false; }
  QString Identity() const { return QStringLiteral("Lyrova"); }
  QString DesktopEntry() const { return QStringLiteral("lyrova"); }
  // Songs come from the Player's own open dialog and drops only.
  QStringList SupportedUriSchemes() const { return {}; }
  QStringList SupportedMimeTypes() const { return {}; }

 public slots:
  void Raise() {}
  void Quit() {}
};

class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
  Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
  Q_PROPERTY(double Rate READ Rate)
  Q_PROPERTY(double MinimumRate READ Rate)
  Q_PROPERTY(double MaximumRate READ Rate)
  Q_PROPERTY(QVariantMap Metadata READ Metadata)
  Q_PROPERTY(double Volume READ Volume)
  Q_PROPERTY(qlonglong Position READ Position)
  Q_PROPERTY(bool CanGoNext READ CanGoNext)
  Q_PROPERTY(bool CanGoPrevious READ CanGoNext)
  Q_PROPERTY(bool CanPlay READ CanPlay)
  Q_PROPERTY(bool CanPause READ CanPlay)
  Q_PROPERTY(bool CanSeek READ CanSeek)
  Q_PROPERTY(bool CanControl READ CanPlay)

 public:
  explicit MprisPlayerAdaptor(MprisPublisher* publisher);

  QString PlaybackStatus() const;
  double Rate() const { return 1.0; }
  QVariantMap Metadata() const;
  double Volume() const;
  qlonglong Position() const;
  bool CanGoNext() const { return false; }
  bool CanPlay() const;
  bool CanSeek() const;

 public slots:
  void PlayPause();
  void Play();
  void Pause();
  void Stop();
  void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position);
  void Seek(qlonglong Offset);
  void Next() {}
  void Previous() {}
  void OpenUri(const QString&) {}

 signals:
  void Seeked(qlonglong Position);

 private:
  MprisPublisher* publisher_;
};

}  // namespace lyrova
