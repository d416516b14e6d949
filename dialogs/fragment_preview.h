#pragma once

#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class QBoxLayout;
class QDialog;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTimer;
class QToolButton;
class QVBoxLayout;
class QWebEngineView;

namespace vendigo {

// What a dialog's OK would insert with the inputs it holds now: the fragment, or none and the
// one line that says why not yet. Beside a fragment, line may hold a short note on it.
struct PreviewContent {
  std::optional<std::string> html;
  std::string line;
};

// The foldable section at the foot of a builder dialog that shows the fragment its OK would
// insert: rendered by the browser engine, with its HTML source beneath, and "Copy HTML", which
// puts it on the clipboard as HTML and as plain text without inserting or closing anything.
//
// It follows every input of the dialog and, 150 ms after the last change, asks the builder
// again. Builders only compute: they show no message and insert nothing.
//
// Folded, the dialog keeps its layout: the fold toggle, with its caption, sits at the left of the
// button row. Unfolded, the dialog grows downward by the section, but never below its screen's
// foot: view and source then scroll within what the screen leaves. The lines beside Copy HTML wrap.
// The choice is kept per user and per dialog in Qt's settings under the XDG config folder. The
// engine view is made the first time the section shows.
class FragmentPreview : public QWidget {
  Q_OBJECT

 public:
  using Builder = std::function<PreviewContent()>;

  // Adds the section below everything in dialog's vertical layout and the toggle to buttonRow.
  // Make it once the dialog's controls exist.
  FragmentPreview(QDialog *dialog, QBoxLayout *buttonRow, Builder builder);

  // Whether the dialog offers the preview now; when not, toggle and section are gone and the
  // dialog has its folded size, while the user's choice stays as it was.
  void SetAvailable(bool available);

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
  void showEvent(QShowEvent *event) override;

 private:
  void FollowInputs();
  void ApplyFold();
  bool SizedByLayout() const;
  void Fit();
  void SetFootLine(QLabel *label, const QString &text);
  void KeepOnScreen();
  void Refresh();
  void CopyHtml();

  QDialog *dialog_;
  Builder builder_;
  QString settingsKey_;
  QToolButton *toggle_;
  QScrollArea *scroll_;
  QWidget *viewHolder_;
  QVBoxLayout *viewLayout_;
  QWebEngineView *view_ = nullptr;
  QPlainTextEdit *source_;
  QWidget *foot_;
  QLabel *line_;
  QLabel *copied_;
  QPushButton *copy_;
  QTimer *debounce_;
  QTimer *copiedFade_;

  bool available_ = true;
  bool started_ = false;  // the dialog has been shown
  QSize foldedSize_;
  // The fragment on show, if any: Copy HTML takes it.
  std::optional<QString> shown_;
};

}  // namespace vendigo
