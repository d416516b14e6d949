#include "dialogs/fragment_preview.h"

#include <QAbstractItemView>
#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <algorithm>
#include <utility>

#include "dialogs/dialog_parts.h"
#include "dialogs/web_engine_start.h"

namespace vendigo {

namespace {

constexpr int kDebounceMs = 150;
constexpr int kCopiedShownMs = 3000;
constexpr int kViewHeight = 200;
constexpr int kSourceHeight = 96;
// The least height the view and source keep on a screen too low for them.
constexpr int kLeastScrollHeight = 48;
// The toggle's share of the button row's free room, against the row's own stretch of 1.
constexpr int kToggleStretch = 1000;

// The per-user choices of the dialogs: Qt's settings file under the XDG config folder.
QSettings UserChoices() {
  return QSettings(QStringLiteral("vendigo"), QStringLiteral("vendigo"));
}

// Shows what it was given and stays there: links, forms and scripts in a preview lead nowhere,
// and it reaches no file and no server of this machine (RestrictPage).
class StayingPage : public QWebEnginePage {
 public:
  explicit StayingPage(QObject *parent) : QWebEnginePage(parent) { RestrictPage(*this); }

 protected:
  bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override {
    if (isMainFrame) return type == NavigationTypeTyped;  // the preview's own setHtml
    return url.scheme() == "http" || url.scheme() == "https";
  }
};

}  // namespace

FragmentPreview::FragmentPreview(QDialog *dialog, QBoxLayout *buttonRow, Builder builder)
    : QWidget(dialog),
      dialog_(dialog),
      builder_(std::move(builder)),
      settingsKey_(QStringLiteral("Previews/") +
                   QString::fromLatin1(dialog->metaObject()->className()).section("::", -1)),
      toggle_(Named(new QToolButton(dialog), "PreviewToggle")),
      scroll_(Named(new QScrollArea(this), "PreviewScroll")),
      viewHolder_(new QWidget),
      viewLayout_(new QVBoxLayout(viewHolder_)),
      source_(Named(new QPlainTextEdit, "PreviewSource")),
      foot_(new QWidget(this)),
      line_(Named(new QLabel(foot_), "PreviewLine")),
      copied_(Named(new QLabel(foot_), "PreviewCopied")),
      copy_(Named(new QPushButton(QStringLiteral("Copy HTML"), foot_), "CopyHtml")),
      debounce_(new QTimer(this)),
      copiedFade_(new QTimer(this)) {
  setObjectName(QStringLiteral("FragmentPreview"));
  hide();
  // The section never widens the dialog; its height is what the dialog grows by.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

  viewHolder_->setFixedHeight(kViewHeight);
  viewLayout_->setContentsMargins(0, 0, 0, 0);
  source_->setReadOnly(true);
  source_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  source_->setFixedHeight(kSourceHeight);
  // The lines beside Copy HTML wrap rather than being cut where the dialog is narrow.
  line_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  line_->setWordWrap(true);
  copied_->setWordWrap(true);
  copy_->setAutoDefault(false);

  // View and source scroll together when the screen is too low to show them whole.
  auto *body = new QWidget;
  auto *bodyLayout = new QVBoxLayout(body);
  bodyLayout->setContentsMargins(0, 0, 0, 0);
  bodyLayout->addWidget(viewHolder_);
  bodyLayout->addWidget(source_);
  scroll_->setWidget(body);
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto *row = new QHBoxLayout(foot_);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(line_, 1);
  row->addWidget(copied_);
  row->addWidget(copy_);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll_);
  layout->addWidget(foot_);
  dialog->layout()->addWidget(this);

  toggle_->setText(QStringLiteral("Preview"));
  toggle_->setToolTip(QStringLiteral("Preview the fragment and copy its HTML"));
  toggle_->setCheckable(true);
  toggle_->setAutoRaise(true);
  toggle_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  // Its caption always shows: the row, and a dialog sized by its layout, make room for it.
  toggle_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  buttonRow->insertWidget(0, toggle_, kToggleStretch, Qt::AlignLeft | Qt::AlignVCenter);
  toggle_->setChecked(UserChoices().value(settingsKey_, false).toBool());

  debounce_->setSingleShot(true);
  debounce_->setInterval(kDebounceMs);
  copiedFade_->setSingleShot(true);
  copiedFade_->setInterval(kCopiedShownMs);
  connect(debounce_, &QTimer::timeout, this, &FragmentPreview::Refresh);
  connect(copiedFade_, &QTimer::timeout, this, [this] { SetFootLine(copied_, {}); });
  connect(copy_, &QPushButton::clicked, this, &FragmentPreview::CopyHtml);
  connect(toggle_, &QToolButton::toggled, this, [this](bool unfolded) {
    UserChoices().setValue(settingsKey_, unfolded);
    ApplyFold();
  });

  dialog->installEventFilter(this);
  FollowInputs();
  ApplyFold();
}

void FragmentPreview::SetAvailable(bool available) {
  available_ = available;
  ApplyFold();
}

// Every change of an input of the dialog, wherever the dialog keeps it, restarts the wait.
void FragmentPreview::FollowInputs() {
  const auto changed = [this] { debounce_->start(); };
  for (QWidget *widget : dialog_->findChildren<QWidget *>()) {
    if (widget == this || widget == toggle_ || isAncestorOf(widget)) continue;
    if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
      connect(edit, &QLineEdit::textChanged, this, changed);
    } else if (auto *text = qobject_cast<QPlainTextEdit *>(widget)) {
      connect(text, &QPlainTextEdit::textChanged, this, changed);
    } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
      connect(combo, &QComboBox::currentTextChanged, this, changed);
    } else if (auto *box = qobject_cast<QCheckBox *>(widget)) {
      connect(box, &QCheckBox::stateChanged, this, changed);
    } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
      connect(button, &QAbstractButton::toggled, this, changed);
    } else if (auto *items = qobject_cast<QAbstractItemView *>(widget)) {
      connect(items, &QAbstractItemView::clicked, this, changed);
      connect(items->model(), &QAbstractItemModel::dataChanged, this, changed);
      connect(items->selectionModel(), &QItemSelectionModel::selectionChanged, this, changed);
    }
  }
  for (QAction *action : dialog_->findChildren<QAction *>()) {
    connect(action, &QAction::triggered, this, changed);
  }
}

bool FragmentPreview::eventFilter(QObject *watched, QEvent *event) {
  // However the unfolded dialog comes to grow, it stays on its screen.
  if (watched == dialog_ && event->type() == QEvent::Resize && !isHidden()) KeepOnScreen();
  if (watched == dialog_ && event->type() == QEvent::Show && !started_) {
    started_ = true;
    ApplyFold();
  }
  return QWidget::eventFilter(watched, event);
}

void FragmentPreview::ApplyFold() {
  toggle_->setArrowType(toggle_->isChecked() ? Qt::DownArrow : Qt::RightArrow);
  toggle_->setVisible(available_);
  const bool unfolded = available_ && toggle_->isChecked();
  if (!started_ || unfolded == !isHidden()) return;

  if (unfolded) foldedSize_ = dialog_->size();
  setVisible(unfolded);
  if (unfolded) {
    Fit();
  } else if (!SizedByLayout()) {
    dialog_->setFixedSize(foldedSize_);
  }
  dialog_->layout()->activate();
}

bool FragmentPreview::SizedByLayout() const {
  return dialog_->layout()->sizeConstraint() == QLayout::SetFixedSize;
}

// Unfolded, the section's lines take the height they need at the dialog's width, and the view
// and source what the screen has left below the folded dialog, up to their own height. A dialog
// sized by its layout follows the section; one of a set size gets the section's height added.
void FragmentPreview::Fit() {
  if (!started_ || isHidden()) return;
  QLayout *layout = dialog_->layout();
  const QMargins margins = layout->contentsMargins();
  const int width = dialog_->width() - margins.left() - margins.right();
  const auto heightAt = [width](const QWidget *widget) {
    return widget->hasHeightForWidth() ? widget->heightForWidth(width)
                                       : widget->sizeHint().height();
  };
  const int spacing = std::max(0, layout->spacing());
  const int inner = std::max(0, this->layout()->spacing());
  int room = scroll_->widget()->sizeHint().height();
  if (const QScreen *screen = dialog_->screen()) {
    const int frame = std::max(dialog_->frameGeometry().height() - dialog_->height(),
                               style()->pixelMetric(QStyle::PM_TitleBarHeight));
    room = std::min(room, screen->availableGeometry().height() - frame - foldedSize_.height() -
                              spacing - inner - heightAt(foot_));
  }
  scroll_->setFixedHeight(std::max(kLeastScrollHeight, room));
  if (!SizedByLayout()) {
    dialog_->setFixedSize(foldedSize_ + QSize(0, spacing + heightAt(this)));
  }
  layout->activate();
}

// A line beside Copy HTML may take another height: the section fits it.
void FragmentPreview::SetFootLine(QLabel *label, const QString &text) {
  if (label->text() == text) return;
  label->setText(text);
  Fit();
}

// A dialog that grew below its screen's foot moves up as far as it needs and can.
void FragmentPreview::KeepOnScreen() {
  const QScreen *screen = dialog_->screen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QRect frame = dialog_->frameGeometry();
  const int below = frame.bottom() - area.bottom();
  if (below > 0) dialog_->move(frame.left(), std::max(area.top(), frame.top() - below));
}

void FragmentPreview::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  if (!view_) {
    view_ = Named(new QWebEngineView(viewHolder_), "PreviewView");
    view_->setPage(new StayingPage(view_));
    viewLayout_->addWidget(view_);
  }
  Refresh();
}

void FragmentPreview::Refresh() {
  debounce_->stop();
  if (isHidden()) return;
  const PreviewContent content = builder_();
  SetFootLine(line_, QString::fromStdString(content.line));
  copy_->setEnabled(content.html.has_value());
  std::optional<QString> html;
  if (content.html) html = QString::fromStdString(*content.html);
  if (html == shown_) return;
  shown_ = html;
  SetFootLine(copied_, {});
  source_->setPlainText(html.value_or(QString()));
  // No base address: the fragment's relative addresses lead nowhere, as it has no site yet.
  if (view_) view_->setHtml(html.value_or(QString()));
}

void FragmentPreview::CopyHtml() {
  Refresh();
  if (!shown_) return;
  auto *data = new QMimeData;
  data->setHtml(*shown_);
  data->setText(*shown_);
  QGuiApplication::clipboard()->setMimeData(data);
  SetFootLine(copied_, QStringLiteral("Copied."));
  copiedFade_->start();
}

}  // namespace vendigo
