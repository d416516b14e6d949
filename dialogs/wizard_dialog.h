#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <string>

#include "core/app_context.h"
#include "pages/product_page.h"
#include "pages/template_package.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabWidget;
class QTextBrowser;
class QToolButton;

namespace vendigo {

class StringGrid;
struct PreviewContent;

// The product page wizard: six pages (template, item, image, long text, options, related
// products) and Finish, which fills the chosen template and inserts the page into the editor.
// The dialog deletes itself when it closes.
class T_PelluxFP : public QDialog {
  Q_OBJECT

 public:
  // Asks for the product image file; the empty text when the user cancels.
  using ImageFileChooser = std::function<QString(QWidget *parent)>;

  static constexpr int kPageCount = 6;

  explicit T_PelluxFP(AppContext &context, QWidget *parent = nullptr);

  // Replaces the file-open dialog of "Select Image" (tests choose without a modal dialog).
  void SetImageFileChooser(ImageFileChooser chooser);

  int CurrentPage() const { return currentPage_; }
  const std::string &ProductImageTag() const { return productImageTag_; }
  const std::string &TemplateText() const { return templateText_; }

  // Everything the pages hold, as the page assembly takes it.
  ProductPageInput CollectInput() const;

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  void BuildIntroPage(QWidget *page);
  void BuildItemPage(QWidget *page);
  void BuildImagePage(QWidget *page);
  void BuildDetailsPage(QWidget *page);
  void BuildOptionsPage(QWidget *page);
  void BuildRelatedPage(QWidget *page);
  void FormCreate();

  void UpdateButtons();
  // The last page's line naming the entries the chosen template will not show.
  void UpdateNotShown();
  void ShowPage(int index);
  bool TemplateChosen() const;
  QString SelectedTemplatePath() const;
  QString SelectedTemplateFolder() const;
  void LoadProfile(const QString &templatePath);
  void LoadTemplateText(const QString &templatePath);
  // Writes and shows the preview page and sets the image tag; false (after the message) when
  // the preview page cannot be written.
  bool PreviewImage(const QString &path);
  void ApplyMode();
  std::string PageHtml() const;
  PreviewContent PagePreview() const;

  void FileListBox1MouseUp();
  void FileListBox1SelectionChange();
  void Image1Click();
  void nextButClick();
  void BackButClick();
  void CancelClick();
  void FinButClick();
  void RadioButton1Click();
  void RadioButton2Click();
  // Grid cells as the grid numbers them: row 1 is the first data row.
  void MultDesGridSetEditText(int ACol, int ARow);
  void MultDesGridSelectCell(int ACol, int ARow);
  void EOPGridSetEditText(StringGrid *grid, int ACol, int ARow);
  void EOPGridSelectCell(StringGrid *grid, int ACol, int ARow);
  void AddItSetEditText(int ACol, int ARow);
  void EopTextChange(int group);
  void SelectImage1Click();
  void CancelImage1Click();

  AppContext &context_;
  ImageFileChooser imageFileChooser_;

  int currentPage_ = 0;
  // A new wizard starts without a product image.
  std::string productImageTag_;
  TemplateProfile profile_;
  // The text of the last template clicked, and which template it came from.
  std::string templateText_;
  QString loadedTemplatePath_;
  // A mouse button is down on the template list: the selection it makes loads at the release.
  bool listMousePressed_ = false;

  QStackedWidget *Notebook1 = nullptr;
  QListWidget *FileListBox1 = nullptr;
  QToolButton *Image1 = nullptr;
  QLabel *Image2 = nullptr;
  QLabel *Author = nullptr;
  QLabel *License = nullptr;
  QLabel *email = nullptr;

  QRadioButton *RadioButton1 = nullptr;
  QRadioButton *RadioButton2 = nullptr;
  QLineEdit *Description = nullptr;
  QLineEdit *Price = nullptr;
  QLineEdit *ProductWeight = nullptr;
  QCheckBox *CheckBox1 = nullptr;
  QLabel *SmartTaxCodeLabel = nullptr;
  QLineEdit *SmartTaxCode = nullptr;
  StringGrid *MultDesGrid = nullptr;

  QToolButton *ImageButton = nullptr;
  QAction *SelectImage1 = nullptr;
  QAction *CancelImage1 = nullptr;
  QTextBrowser *WebBrowser1 = nullptr;

  QPlainTextEdit *LongText = nullptr;

  QTabWidget *PageControl1 = nullptr;
  std::array<QLineEdit *, kOptionGroups> eopText_{};
  std::array<StringGrid *, kOptionGroups> eopGrid_{};

  StringGrid *AddIt = nullptr;
  QLabel *NotShown = nullptr;

  QPushButton *Cancel = nullptr;
  QPushButton *BackBut = nullptr;
  QPushButton *nextBut = nullptr;
  QPushButton *FinBut = nullptr;
};

}  // namespace vendigo
