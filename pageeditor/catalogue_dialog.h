#pragma once

#include <QDialog>
#include <QString>

#include <atomic>
#include <functional>
#include <thread>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vendigo {

// Build Catalogue: asks for the spreadsheet, the template, the output folder and the site's
// address (remembered for the user), builds a product page per row off the window thread under a
// progress dialog that can cancel, and shows what was written and which rows were skipped and why.
class CatalogueDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CatalogueDialog(QWidget *parent = nullptr);
  ~CatalogueDialog() override;

  // Opens a new dialog over parent, window-modal; openIndex gets the path of each index written.
  static void Start(QWidget *parent, std::function<void(const QString &)> openIndex);

 signals:
  void IndexWritten(const QString &path);

 private:
  void BuildClick();
  void Finished(const QString &summary, const QString &index);

  QLineEdit *spreadsheet_;
  QLineEdit *template_;
  QLineEdit *output_;
  QLineEdit *siteAddress_;
  QCheckBox *replace_;
  QPlainTextEdit *summary_;
  QPushButton *build_;
  std::atomic<bool> cancel_{false};
  std::thread worker_;
};

}  // namespace vendigo
