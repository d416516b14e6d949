#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace vendigo {

// Whoever owns this name on the session bus is the palette that runs; it serves Raise at
// kPaletteObjectPath.
inline constexpr char kPaletteBusName[] = "org.vendigo.Palette";
inline constexpr char kPaletteObjectPath[] = "/Palette";

// One palette per session: the first start takes the palette's bus name, and a later one, from
// the desktop's menu or the page editor's, finds it taken, brings that palette to the front and
// ends instead of opening a second.
class PaletteInstance : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.vendigo.Palette")

 public:
  static constexpr int kRaiseTimeoutMs = 5000;

  // True when this process is to run the palette: it owns the name now, or there is no bus to
  // share. False when another palette owns it; that one has been asked to come to the front, with
  // the activation token the desktop gave this start (XDG_ACTIVATION_TOKEN), if any.
  bool Claim();
  // The window Raise brings to the front; until it is set, Raise does nothing.
  void SetWindow(QWidget *window) { window_ = window; }

 public slots:
  // A compositor lets a window come to the front on a token from the start the user made.
  Q_SCRIPTABLE void Raise(const QString &activationToken);

 private:
  QPointer<QWidget> window_;
};

}  // namespace vendigo
