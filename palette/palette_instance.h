#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "core/app_context.h"
#include "palette/fragment_edit_requests.h"

namespace vendigo {

// Whoever owns this name on the session bus is the palette that runs; it serves Raise and
// EditFragment (fragment_edit_protocol.h) at kPaletteObjectPath, and the bus starts it for a call
// when no palette runs.
inline constexpr char kPaletteBusName[] = "org.vendigo.Palette";
inline constexpr char kPaletteObjectPath[] = "/Palette";

// One palette per session: the first start takes the palette's bus name, and a later one, from
// the desktop's menu or the page editor's, finds it taken, brings that palette to the front and
// ends instead of opening a second.
class PaletteInstance : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.vendigo.Palette")

 public:
  static constexpr int kRaiseTimeoutMs = 5000;

  // True when this process is to run the palette: it owns the name now, or there is no bus to
  // share. False when another palette owns it; that one has been asked to come to the front, with
  // the activation token the desktop gave this start (XDG_ACTIVATION_TOKEN), if any.
  bool Claim(QDBusConnection bus = QDBusConnection::sessionBus());
  // The window Raise brings to the front; until it is set, Raise does nothing.
  void SetWindow(QWidget *window) { window_ = window; }
  // Opens the dialogs of EditFragment with the palette's context from now on; calls that came
  // before wait until then.
  void ServeFragmentEdits(AppContext &context) { fragmentEdits_.Serve(context, window_); }
  FragmentEditRequests &FragmentEdits() { return fragmentEdits_; }

 public slots:
  // A compositor lets a window come to the front on a token from the start the user made.
  Q_SCRIPTABLE void Raise(const QString &activationToken);
  // Answered when the fragment's dialog closes (FragmentEditRequests); html is the new fragment
  // after OK.
  Q_SCRIPTABLE bool EditFragment(const QString &kind, const QString &input, const QString &settings,
                                 QString &html);

 private:
  QPointer<QWidget> window_;
  FragmentEditRequests fragmentEdits_;
};

}  // namespace vendigo
