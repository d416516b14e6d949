#include "palette/fragment_edit_requests.h"

#include <QDBusServiceWatcher>
#include <QDialog>

#include <nlohmann/json.hpp>

#include <exception>
#include <optional>
#include <string>
#include <utility>

#include "editorlink/editor_host.h"
#include "editorlink/editor_link.h"
#include "palette/fragment_dialog.h"
#include "palette/fragment_edit_protocol.h"

namespace vendigo {

namespace {

// The editor behind an Edit Fragment dialog: one document, whose insertion is the answer.
class AnswerHost : public EditorHost {
 public:
  void BringToTop() override {}
  std::string ListOpenDocs() override { return "fragment"; }
  void InsertHTML(const std::string &html) override { html_ = html; }
  const std::optional<std::string> &Html() const { return html_; }

 private:
  std::optional<std::string> html_;
};

}  // namespace

// One call being answered: the settings its fragment was built with and the editor link of its
// dialog, which live as long as the dialog.
struct FragmentEditRequests::Edit {
  Edit(const AppContext &palette, Settings fragmentSettings, QDBusConnection callBus,
       QDBusMessage callMessage)
      : bus(std::move(callBus)),
        call(std::move(callMessage)),
        settings(std::move(fragmentSettings)),
        link(palette.messages, [host = host] { return host; }),
        context{settings, link, palette.messages, palette.programDir, palette.folders} {
    link.Connect();
  }

  QDBusConnection bus;
  QDBusMessage call;
  Settings settings;
  std::shared_ptr<AnswerHost> host = std::make_shared<AnswerHost>();
  EditorLink link;
  AppContext context;
};

FragmentEditRequests::FragmentEditRequests(QObject *parent) : QObject(parent) {}

FragmentEditRequests::~FragmentEditRequests() {
  // The dialog refers to the edit's context: it goes first.
  delete dialog_;
}

void FragmentEditRequests::Serve(AppContext &context, QWidget *window) {
  context_ = &context;
  window_ = window;
  while (!waiting_.empty()) {
    auto [bus, call] = std::move(waiting_.front());
    waiting_.pop_front();
    Take(bus, call);
  }
}

void FragmentEditRequests::Take(const QDBusConnection &bus, const QDBusMessage &call) {
  if (!context_) {
    waiting_.emplace_back(bus, call);
    return;
  }
  if (edit_) {
    QDBusConnection(bus).send(call.createErrorReply(
        kPaletteBusyError,
        QStringLiteral("The palette has a fragment open already: finish that one first.")));
    if (dialog_) {
      dialog_->raise();
      dialog_->activateWindow();
    }
    return;
  }
  Open(bus, call);
}

void FragmentEditRequests::Open(const QDBusConnection &bus, const QDBusMessage &call) {
  const QVariantList arguments = call.arguments();
  const std::string kind = arguments.value(0).toString().toStdString();
  const std::string input = arguments.value(1).toString().toStdString();
  const std::string settings = arguments.value(2).toString().toStdString();
  auto edit =
      std::make_unique<Edit>(*context_, SettingsFromJson(settings, context_->settings), bus, call);
  QDialog *dialog = nullptr;
  try {
    const nlohmann::json values = nlohmann::json::parse(input);
    dialog = FragmentDialog(kind, values, edit->context, window_);
  } catch (const std::exception &error) {
    QDBusConnection(bus).send(
        call.createErrorReply(kPaletteRefusedError, QString::fromUtf8(error.what())));
    return;
  }
  edit_ = std::move(edit);
  dialog_ = dialog;
  // The dialog deletes itself when it closes, after OK or Cancel alike; what its editor link
  // kept is the answer.
  connect(dialog, &QObject::destroyed, this, &FragmentEditRequests::Finish);
  if (!callerWatcher_) {
    callerWatcher_ = new QDBusServiceWatcher(this);
    callerWatcher_->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(callerWatcher_, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
      if (dialog_) dialog_->reject();
    });
  }
  callerWatcher_->setConnection(bus);
  callerWatcher_->setWatchedServices({call.service()});
  dialog->open();
  dialog->raise();
  dialog->activateWindow();
}

void FragmentEditRequests::Finish() {
  const std::unique_ptr<Edit> edit = std::move(edit_);
  if (!edit) return;
  callerWatcher_->setWatchedServices({});
  const std::optional<std::string> &html = edit->host->Html();
  const QDBusMessage answer = edit->call.createReply(
      QVariantList{html.has_value(), QString::fromStdString(html.value_or(std::string()))});
  edit->bus.send(answer);
}

}  // namespace vendigo
