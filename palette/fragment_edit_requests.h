#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <deque>
#include <memory>

#include "core/app_context.h"

class QDBusServiceWatcher;

namespace vendigo {

// The palette's side of Edit Fragment: each call opens the fragment's dialog filled with its
// values and is answered when the dialog closes, while the palette's event loop runs on.
//
// The dialog's OK goes the usual way through an editor link, but one whose editor only keeps the
// HTML for the answer, so the dialog builds and checks exactly as when it inserts. One dialog is
// open at a time: a call meanwhile is refused as busy and the open dialog comes to the front.
// When the caller leaves the bus, its dialog closes. Calls that come before the palette is ready
// (Serve) wait for it.
class FragmentEditRequests : public QObject {
  Q_OBJECT

 public:
  explicit FragmentEditRequests(QObject *parent = nullptr);
  ~FragmentEditRequests() override;

  // Opens the dialogs from now on with the palette's context (its messages and folders; the
  // settings come with each call), in front of window.
  void Serve(AppContext &context, QWidget *window);
  // Takes a call of EditFragment whose reply the caller has delayed.
  void Take(const QDBusConnection &bus, const QDBusMessage &call);

  // The dialog open for a call, if any.
  QDialog *OpenDialog() const { return dialog_; }

 private:
  struct Edit;

  void Open(const QDBusConnection &bus, const QDBusMessage &call);
  void Finish();

  AppContext *context_ = nullptr;
  QPointer<QWidget> window_;
  std::deque<std::pair<QDBusConnection, QDBusMessage>> waiting_;
  std::unique_ptr<Edit> edit_;
  QPointer<QDialog> dialog_;
  QDBusServiceWatcher *callerWatcher_ = nullptr;
};

}  // namespace vendigo
