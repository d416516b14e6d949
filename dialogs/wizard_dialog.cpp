#include "dialogs/wizard_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "builders/key_filters.h"
#include "builders/order_item_value.h"
#include "builders/price_rules.h"
#include "core/file_error.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/fragment_preview.h"
#include "dialogs/string_grid.h"
#include "dialogs/typed_key_filter.h"
#include "editorlink/editor_link.h"
#include "pages/template_coverage.h"

namespace vendigo {

namespace {

constexpr int kItemPage = 1;
constexpr int kDescriptionLength = 230;
constexpr int kPriceColumn = 1;
constexpr int kWeightColumn = 2;
constexpr int kReadableTextColumn = 5;
constexpr int kOptionReadableTextColumn = 3;
constexpr int kTaxableColumn = 3;
constexpr int kGeneration3Columns = 3;
// The folder a template entry was found in; Qt::UserRole holds its full path.
constexpr int kTemplateFolderRole = Qt::UserRole + 1;

const char *const kPageNames[T_PelluxFP::kPageCount] = {"intro",   "pelluxadd", "Image",
                                                        "Details", "Eop",       "AddIt"};

std::string ToStd(const QString &text) {
  return text.toStdString();
}
QString ToQt(const std::string &text) {
  return QString::fromStdString(text);
}
std::filesystem::path ToPath(const QString &path) {
  return std::filesystem::path(ToStd(path));
}

// The name filters of the file-open dialog from the "name|patterns|name|patterns" form: each
// name keeps its text before the bracket and gets its patterns, blank-separated, in brackets.
QStringList ToNameFilters(const QString &filter) {
  const QStringList parts = filter.split('|');
  QStringList result;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i];
    const qsizetype bracket = name.indexOf('(');
    if (bracket >= 0) name = name.left(bracket).trimmed();
    result << name + " (" + parts[i + 1].split(';').join(' ') + ")";
  }
  return result;
}

QString ChooseImageWithDialog(QWidget *parent) {
  QFileDialog openImage(parent);
  openImage.setObjectName("OpenImage");
  openImage.setFileMode(QFileDialog::ExistingFile);
  openImage.setNameFilters(ToNameFilters(kImageFileFilter));
  if (openImage.exec() != QDialog::Accepted || openImage.selectedFiles().isEmpty()) return {};
  return openImage.selectedFiles().first();
}

QLabel *Title(const QString &text, QWidget *parent) {
  auto *label = new QLabel(text, parent);
  MakeBold(label);
  return label;
}

// A grid of the wizard: its price column takes digits and "." (a "," for the point), its weight
// column digits.
StringGrid *NewGrid(const char *name, const QStringList &titles, const QList<int> &widths,
                    std::size_t dataRows, QWidget *parent) {
  auto *grid = Named(new StringGrid(parent), name);
  grid->Shape(titles, widths, static_cast<int>(dataRows));
  grid->SetPriceAndWeightColumns(kPriceColumn, kWeightColumn);
  return grid;
}

std::string CellOf(const StringGrid *grid, int column, int row) {
  return ToStd(grid->Cell(column, row));
}

// Fills an empty Price and Weight once the row's Cart Description holds text.
void ApplyDescriptionRule(StringGrid *grid, int row) {
  std::string price = CellOf(grid, kPriceColumn, row);
  std::string weight = CellOf(grid, kWeightColumn, row);
  ApplyDefaultRowFill(CellOf(grid, 0, row), price, weight);
  grid->SetCell(kPriceColumn, row, ToQt(price));
  grid->SetCell(kWeightColumn, row, ToQt(weight));
}

// A Taxable cell holds "", "0" or "1"; anything else is emptied.
void ApplyTaxableRule(StringGrid *grid, int row) {
  if (!IsTaxableText(CellOf(grid, kTaxableColumn, row))) grid->SetCell(kTaxableColumn, row, {});
}

}  // namespace

T_PelluxFP::T_PelluxFP(AppContext &context, QWidget *parent)
    : QDialog(parent), context_(context), imageFileChooser_(ChooseImageWithDialog) {
  setObjectName("_PelluxFP");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Pellux Vendigo Product Page Wizard");
  SetFixedDialogWindow(this, DialogBorder::Fixed, DialogLayer::Normal);
  setFixedSize(567, 324);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  Notebook1 = Named(new QStackedWidget(this), "Notebook1");
  layout->addWidget(Notebook1, 1);
  for (const char *name : kPageNames) {
    Notebook1->addWidget(Named(new QWidget(Notebook1), (std::string(name) + "Page").c_str()));
  }
  BuildIntroPage(Notebook1->widget(0));
  BuildItemPage(Notebook1->widget(1));
  BuildImagePage(Notebook1->widget(2));
  BuildDetailsPage(Notebook1->widget(3));
  BuildOptionsPage(Notebook1->widget(4));
  BuildRelatedPage(Notebook1->widget(5));

  Cancel = Named(new QPushButton("Cancel", this), "Cancel");
  BackBut = Named(new QPushButton("<<Previous", this), "BackBut");
  nextBut = Named(new QPushButton("Next>>", this), "nextBut");
  FinBut = Named(new QPushButton("Finish", this), "FinBut");
  auto *buttons = ButtonRow({Cancel, BackBut, nextBut, FinBut});
  layout->addLayout(buttons);
  BackBut->setEnabled(false);
  nextBut->setEnabled(false);
  FinBut->setEnabled(false);

  connect(Cancel, &QPushButton::clicked, this, &T_PelluxFP::CancelClick);
  connect(BackBut, &QPushButton::clicked, this, &T_PelluxFP::BackButClick);
  connect(nextBut, &QPushButton::clicked, this, &T_PelluxFP::nextButClick);
  connect(FinBut, &QPushButton::clicked, this, &T_PelluxFP::FinButClick);

  FormCreate();
  UpdateButtons();

  // The page's preview belongs to the last step.
  auto *preview = new FragmentPreview(this, buttons, [this] { return PagePreview(); });
  preview->SetAvailable(false);
  connect(Notebook1, &QStackedWidget::currentChanged, preview,
          [preview](int page) { preview->SetAvailable(page == kPageCount - 1); });
}

void T_PelluxFP::SetImageFileChooser(ImageFileChooser chooser) {
  imageFileChooser_ = std::move(chooser);
}

void T_PelluxFP::BuildIntroPage(QWidget *page) {
  auto *layout = new QHBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);

  FileListBox1 = Named(new QListWidget(page), "FileListBox1");
  FileListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  FileListBox1->viewport()->installEventFilter(this);
  connect(FileListBox1, &QListWidget::itemSelectionChanged, this,
          &T_PelluxFP::FileListBox1SelectionChange);
  layout->addWidget(FileListBox1, 1);

  auto *right = new QVBoxLayout();
  layout->addLayout(right);
  auto *head = new QHBoxLayout();
  right->addLayout(head);
  Image1 = Named(new QToolButton(page), "Image1");
  Image1->setAutoRaise(true);
  Image1->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
  Image1->setCursor(Qt::PointingHandCursor);
  Image1->setEnabled(false);
  connect(Image1, &QToolButton::clicked, this, &T_PelluxFP::Image1Click);
  head->addWidget(Image1);
  auto *text = new QVBoxLayout();
  head->addLayout(text, 1);
  text->addWidget(Title("Vendigo", page));
  auto *hint = new QLabel("Please select an ZestForm Template to use for this product page.", page);
  hint->setWordWrap(true);
  text->addWidget(hint);

  auto *facts = new QGridLayout();
  right->addLayout(facts);
  auto addFact = [page, facts](int row, const char *caption, const char *name) {
    facts->addWidget(new QLabel(caption, page), row, 0);
    auto *value = Named(new QLabel(page), name);
    facts->addWidget(value, row, 1);
    return value;
  };
  Author = addFact(0, "Author:", "Author");
  License = addFact(1, "License:", "License");
  email = addFact(2, "E-mail:", "email");
  facts->setColumnStretch(1, 1);

  Image2 = Named(new QLabel(page), "Image2");
  Image2->setFixedSize(285, 180);
  Image2->setScaledContents(true);
  Image2->setFrameShape(QFrame::StyledPanel);
  right->addWidget(Image2);
  right->addStretch(1);
}

void T_PelluxFP::BuildItemPage(QWidget *page) {
  auto *layout = new QGridLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setVerticalSpacing(2);

  RadioButton1 = Named(new QRadioButton("Single Product Description", page), "RadioButton1");
  RadioButton1->setChecked(true);
  layout->addWidget(RadioButton1, 0, 0, 1, 4);

  auto addEdit = [page, layout](const char *caption, const char *name, int row, int column) {
    auto *edit = Named(new QLineEdit(page), name);
    QLabel *label = LabelFor(caption, edit);
    layout->addWidget(label, row, column);
    layout->addWidget(edit, row, column + 1);
    return std::make_pair(label, edit);
  };
  Description = addEdit("Description:", "Description", 1, 0).second;
  Description->setMaxLength(kDescriptionLength);
  layout->addWidget(Description, 1, 1, 1, 3);
  Price = addEdit("Price:", "Price", 2, 0).second;
  QPalette red = Price->palette();
  red.setColor(QPalette::Text, Qt::red);
  Price->setPalette(red);
  ProductWeight = addEdit("Weight:", "ProductWeight", 2, 2).second;
  CheckBox1 = Named(new QCheckBox("Item is Taxable", page), "CheckBox1");
  layout->addWidget(CheckBox1, 3, 0, 1, 2);
  auto smartTax = addEdit("Smart Tax Code:", "SmartTaxCode", 3, 2);
  SmartTaxCodeLabel = Named(smartTax.first, "SmartTaxCodeLabel");
  SmartTaxCode = smartTax.second;

  RadioButton2 = Named(new QRadioButton("Multiple Product Descriptions", page), "RadioButton2");
  layout->addWidget(RadioButton2, 4, 0, 1, 4);
  MultDesGrid =
      NewGrid("MultDesGrid",
              {"Cart Description", "Price", "Weight", "Taxable", "Smart Tax", "Readable Text"},
              {213, 70, 50, 61, 63, 307}, kDescriptionRows, page);
  MultDesGrid->SetColumnKeyFilter(kTaxableColumn, TaxableKeyAllowed);
  MultDesGrid->setEnabled(false);
  layout->addWidget(MultDesGrid, 5, 0, 1, 4);
  layout->setRowStretch(5, 1);
  layout->setColumnStretch(1, 1);
  layout->setColumnStretch(3, 1);

  TypedKeyFilter::InstallPrice(Price);
  TypedKeyFilter::Install(ProductWeight, WeightKeyAllowed);
  connect(RadioButton1, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) RadioButton1Click();
  });
  connect(RadioButton2, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) RadioButton2Click();
  });
  connect(Description, &QLineEdit::textChanged, this, &T_PelluxFP::UpdateButtons);
  connect(Price, &QLineEdit::textChanged, this, &T_PelluxFP::UpdateButtons);
  connect(ProductWeight, &QLineEdit::textChanged, this, &T_PelluxFP::UpdateButtons);
  connect(MultDesGrid, &StringGrid::SetEditText, this, &T_PelluxFP::MultDesGridSetEditText);
  connect(MultDesGrid, &StringGrid::SelectCell, this, &T_PelluxFP::MultDesGridSelectCell);
}

void T_PelluxFP::BuildImagePage(QWidget *page) {
  auto *layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  ImageButton = Named(new QToolButton(page), "ImageButton");
  ImageButton->setText("Image");
  ImageButton->setPopupMode(QToolButton::InstantPopup);
  ImageButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
  auto *popupMenu1 = Named(new QMenu(ImageButton), "PopupMenu1");
  SelectImage1 = Named(popupMenu1->addAction("Select Image"), "SelectImage1");
  CancelImage1 = Named(popupMenu1->addAction("Cancel Image"), "CancelImage1");
  ImageButton->setMenu(popupMenu1);
  layout->addWidget(ImageButton, 0, Qt::AlignLeft);

  WebBrowser1 = Named(new QTextBrowser(page), "WebBrowser1");
  WebBrowser1->setOpenLinks(false);
  layout->addWidget(WebBrowser1, 1);

  connect(SelectImage1, &QAction::triggered, this, &T_PelluxFP::SelectImage1Click);
  connect(CancelImage1, &QAction::triggered, this, &T_PelluxFP::CancelImage1Click);
}

void T_PelluxFP::BuildDetailsPage(QWidget *page) {
  auto *layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Title("Long Text Description of Product", page));
  LongText = Named(new QPlainTextEdit(page), "LongText");
  LongText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  layout->addWidget(LongText, 1);
}

void T_PelluxFP::BuildOptionsPage(QWidget *page) {
  auto *layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Title("Multiple Options for Product", page));
  PageControl1 = Named(new QTabWidget(page), "PageControl1");
  layout->addWidget(PageControl1, 1);

  const char *const tabs[kOptionGroups] = {"Option 1", "Option 2", "Option3"};
  const char *const textNames[kOptionGroups] = {"eop1text", "eop2text", "eop3text"};
  const char *const gridNames[kOptionGroups] = {"Eop1Grid", "eop2grid", "eop3grid"};
  for (std::size_t g = 0; g < kOptionGroups; ++g) {
    auto *tab = Named(new QWidget(PageControl1), ("TabSheet" + std::to_string(g + 1)).c_str());
    auto *tabLayout = new QVBoxLayout(tab);
    auto *nameRow = new QHBoxLayout();
    tabLayout->addLayout(nameRow);
    nameRow->addWidget(new QLabel("Extended Options is for:", tab));
    eopText_[g] = Named(new QLineEdit(tab), textNames[g]);
    nameRow->addWidget(eopText_[g], 1);
    eopGrid_[g] = NewGrid(gridNames[g], {"Cart Description", "Price", "Weight", "Readable Text"},
                          {197, 67, 71, 184}, kOptionRows, tab);
    eopGrid_[g]->hide();
    tabLayout->addWidget(eopGrid_[g], 1);
    PageControl1->addTab(tab, tabs[g]);

    StringGrid *grid = eopGrid_[g];
    const int group = static_cast<int>(g);
    connect(eopText_[g], &QLineEdit::textChanged, this, [this, group] { EopTextChange(group); });
    connect(grid, &StringGrid::SetEditText, this,
            [this, grid](int ACol, int ARow) { EOPGridSetEditText(grid, ACol, ARow); });
    connect(grid, &StringGrid::SelectCell, this,
            [this, grid](int ACol, int ARow) { EOPGridSelectCell(grid, ACol, ARow); });
  }
}

void T_PelluxFP::BuildRelatedPage(QWidget *page) {
  auto *layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Title("Additional Related Products", page));
  AddIt = NewGrid("AddIt", {"Cart Description", "Price", "Weight", "Taxable", "Smart Tax"},
                  {261, 64, 58, 64, 64}, kRelatedRows, page);
  AddIt->SetColumnKeyFilter(kTaxableColumn, TaxableKeyAllowed);
  layout->addWidget(AddIt, 1);
  // Before Finish: what the merchant entered that the chosen template has no place for.
  NotShown = Named(new QLabel(page), "NotShown");
  NotShown->setWordWrap(true);
  QPalette warning = NotShown->palette();
  warning.setColor(QPalette::WindowText, QColor(0xa0, 0x20, 0x20));
  NotShown->setPalette(warning);
  NotShown->hide();
  layout->addWidget(NotShown);
  connect(AddIt, &StringGrid::SetEditText, this, &T_PelluxFP::AddItSetEditText);
}

void T_PelluxFP::FormCreate() {
  QFileIconProvider icons;
  for (const TemplateEntry &found : ListTemplatesIn(context_.TemplateFolders())) {
    const QDir folder(ToQt(found.folder.string()));
    const QString fileName = ToQt(found.name);
    auto *entry = new QListWidgetItem(icons.icon(QFileInfo(folder.filePath(fileName))), fileName);
    entry->setData(Qt::UserRole, folder.filePath(fileName));
    entry->setData(kTemplateFolderRole, ToQt(found.folder.string()));
    FileListBox1->addItem(entry);
  }
  currentPage_ = 0;
  ShowPage(currentPage_);
  PageControl1->setCurrentIndex(0);
  MakeTaxCheckBox(CheckBox1);
  if (context_.settings.PelluxGeneration != 4) {
    // The grids keep only their first columns: the cells of the others read as empty.
    MultDesGrid->setColumnCount(kGeneration3Columns);
    AddIt->setColumnCount(kGeneration3Columns);
    CheckBox1->hide();
    SmartTaxCodeLabel->hide();
    SmartTaxCode->hide();
  }
}

bool T_PelluxFP::eventFilter(QObject *watched, QEvent *event) {
  if (watched == FileListBox1->viewport() && event->type() == QEvent::MouseButtonPress) {
    listMousePressed_ = true;
  }
  if (watched == FileListBox1->viewport() && event->type() == QEvent::MouseButtonRelease) {
    listMousePressed_ = false;
    FileListBox1MouseUp();
  }
  return QDialog::eventFilter(watched, event);
}

void T_PelluxFP::UpdateButtons() {
  FinBut->setEnabled(false);
  BackBut->setEnabled(false);
  nextBut->setEnabled(false);
  BackBut->setEnabled(currentPage_ > 0);
  nextBut->setEnabled(currentPage_ <= kPageCount - 2 && !FileListBox1->selectedItems().isEmpty());
  bool itemComplete = false;
  if (RadioButton1->isChecked()) {
    itemComplete = !Description->text().isEmpty() && !Price->text().isEmpty() &&
                   !ProductWeight->text().isEmpty();
  } else {
    itemComplete = !MultDesGrid->Cell(0, 1).isEmpty();
  }
  FinBut->setEnabled(itemComplete);
  if (currentPage_ == kItemPage) nextBut->setEnabled(itemComplete);
  // Enter goes on to the next page while there is one to go to, and finishes otherwise.
  (nextBut->isEnabled() ? nextBut : FinBut)->setDefault(true);
  if (currentPage_ == kPageCount - 1) UpdateNotShown();
}

void T_PelluxFP::UpdateNotShown() {
  const std::string line =
      TemplateChosen()
          ? NotShownLine(EntriesNotShown(templateText_, CollectInput(), context_.settings))
          : std::string();
  NotShown->setText(ToQt(line));
  NotShown->setVisible(!line.empty());
}

void T_PelluxFP::ShowPage(int index) {
  Notebook1->setCurrentIndex(index);
}

QString T_PelluxFP::SelectedTemplatePath() const {
  const QList<QListWidgetItem *> selected = FileListBox1->selectedItems();
  if (selected.isEmpty()) return {};
  return selected.first()->data(Qt::UserRole).toString();
}

QString T_PelluxFP::SelectedTemplateFolder() const {
  const QList<QListWidgetItem *> selected = FileListBox1->selectedItems();
  if (selected.isEmpty()) return {};
  return selected.first()->data(kTemplateFolderRole).toString();
}

// A template counts as chosen when the selected entry is the one whose text was loaded: when an
// entry's text could not be read, Finish would otherwise build the page from another template's
// text than the one the list shows.
bool T_PelluxFP::TemplateChosen() const {
  return !loadedTemplatePath_.isEmpty() && SelectedTemplatePath() == loadedTemplatePath_;
}

void T_PelluxFP::FileListBox1MouseUp() {
  UpdateButtons();
  const QList<QListWidgetItem *> selected = FileListBox1->selectedItems();
  if (selected.isEmpty()) return;
  const int index = FileListBox1->row(selected.first());
  const QString path = SelectedTemplatePath();
  if (path.isEmpty() || index < 0 || index >= FileListBox1->count()) return;
  LoadProfile(path);
  LoadTemplateText(path);
}

// An entry selected with the keyboard (or any other way but the mouse) is loaded at once; one
// selected with the mouse is loaded when the button is released.
void T_PelluxFP::FileListBox1SelectionChange() {
  if (!listMousePressed_) FileListBox1MouseUp();
}

void T_PelluxFP::LoadProfile(const QString &templatePath) {
  Author->clear();
  License->clear();
  email->clear();
  profile_ = ReadTemplateProfile(ToPath(templatePath));
  Author->setText(ToQt(profile_.Author));
  License->setText(ToQt(profile_.License));
  email->setText(ToQt(profile_.Email));
  const std::optional<std::filesystem::path> picture =
      PreviewPicturePath(ToPath(SelectedTemplateFolder()), profile_);
  if (picture) {
    QPixmap pixmap;
    if (pixmap.load(ToQt(picture->string()))) {
      Image2->setPixmap(pixmap);
      Image2->show();
    } else {
      context_.messages.ShowError(kPagePreviewError);
    }
  }
  Image1->setEnabled(HasPrompts(profile_));
}

void T_PelluxFP::LoadTemplateText(const QString &templatePath) {
  try {
    templateText_ = ReadTemplateText(ToPath(templatePath));
    loadedTemplatePath_ = templatePath;
  } catch (const FileError &error) {
    context_.messages.ShowError(error.what());
  }
}

void T_PelluxFP::Image1Click() {
  context_.messages.ShowMessage(PromptsMessage(profile_));
}

void T_PelluxFP::nextButClick() {
  currentPage_ = std::min(currentPage_ + 1, kPageCount - 1);
  ShowPage(currentPage_);
  UpdateButtons();
}

void T_PelluxFP::BackButClick() {
  if (currentPage_ > 0) --currentPage_;
  ShowPage(currentPage_);
  UpdateButtons();
}

void T_PelluxFP::CancelClick() {
  reject();
}

ProductPageInput T_PelluxFP::CollectInput() const {
  ProductPageInput input;
  input.Mode = RadioButton2->isChecked() ? DescriptionMode::Multiple : DescriptionMode::Single;
  input.Description = ToStd(Description->text());
  input.Price = ToStd(Price->text());
  input.Weight = ToStd(ProductWeight->text());
  input.Taxable = TaxStateOf(CheckBox1);
  input.SmartTaxCode = ToStd(SmartTaxCode->text());

  const StringGrid *descriptions = MultDesGrid;
  for (int row = 1; row <= descriptions->DataRowCount(); ++row) {
    input.Descriptions.push_back({CellOf(descriptions, 0, row), CellOf(descriptions, 1, row),
                                  CellOf(descriptions, 2, row), CellOf(descriptions, 3, row),
                                  CellOf(descriptions, 4, row), CellOf(descriptions, 5, row)});
  }
  for (std::size_t g = 0; g < kOptionGroups; ++g) {
    const StringGrid *grid = eopGrid_[g];
    input.Options[g].Name = ToStd(eopText_[g]->text());
    for (int row = 1; row <= grid->DataRowCount(); ++row) {
      input.Options[g].Rows.push_back(
          {CellOf(grid, 0, row), CellOf(grid, 1, row), CellOf(grid, 2, row), CellOf(grid, 3, row)});
    }
  }
  const StringGrid *related = AddIt;
  for (int row = 1; row <= related->DataRowCount(); ++row) {
    input.Related.push_back({CellOf(related, 0, row), CellOf(related, 1, row),
                             CellOf(related, 2, row), CellOf(related, 3, row),
                             CellOf(related, 4, row)});
  }
  QString longText = LongText->toPlainText();
  longText.replace('\n', "\r\n");
  input.LongText = ToStd(longText);
  input.ProductImageTag = productImageTag_;
  return input;
}

void T_PelluxFP::FinButClick() {
  if (!TemplateChosen()) {
    context_.messages.ShowError(kNoTemplateChosen);
    return;
  }
  std::string page;
  try {
    page = PageHtml();
  } catch (const PageTooLarge &error) {
    context_.messages.ShowError(error.what());
    return;
  }
  if (context_.editor.InsertFragment(page, FailurePolicy::EndProgram) ==
      InsertOutcome::ProgramEnded) {
    return;
  }
  QPointer<T_PelluxFP> self(this);
  QCoreApplication::processEvents();
  if (self) accept();
}

std::string T_PelluxFP::PageHtml() const {
  return BuildProductPage(templateText_, CollectInput(), context_.settings);
}

PreviewContent T_PelluxFP::PagePreview() const {
  if (!FinBut->isEnabled()) {
    return {std::nullopt, "Fill in the item on the second page first."};
  }
  if (!TemplateChosen()) return {std::nullopt, kNoTemplateChosen};
  try {
    return {PageHtml(), {}};
  } catch (const PageTooLarge &error) {
    return {std::nullopt, error.what()};
  }
}

void T_PelluxFP::ApplyMode() {
  const bool multiple = RadioButton2->isChecked();
  MultDesGrid->setEnabled(multiple);
  Description->setEnabled(!multiple);
  Price->setEnabled(!multiple);
  ProductWeight->setEnabled(!multiple);
  UpdateButtons();
}

void T_PelluxFP::RadioButton1Click() {
  ApplyMode();
}

void T_PelluxFP::RadioButton2Click() {
  ApplyMode();
}

void T_PelluxFP::MultDesGridSetEditText(int ACol, int ARow) {
  UpdateButtons();
  if (ACol == 0) ApplyDescriptionRule(MultDesGrid, ARow);
  if (ACol == kTaxableColumn) ApplyTaxableRule(MultDesGrid, ARow);
  UpdateButtons();
}

void T_PelluxFP::MultDesGridSelectCell(int ACol, int ARow) {
  if (ACol != kReadableTextColumn || !MultDesGrid->Cell(ACol, ARow).isEmpty()) return;
  MultDesGrid->SetCell(ACol, ARow,
                       ToQt(DescriptionReadableText(CellOf(MultDesGrid, 0, ARow),
                                                    CellOf(MultDesGrid, kPriceColumn, ARow),
                                                    context_.settings.Currency)));
}

void T_PelluxFP::EOPGridSetEditText(StringGrid *grid, int ACol, int ARow) {
  if (ACol == 0) ApplyDescriptionRule(grid, ARow);
  UpdateButtons();
}

void T_PelluxFP::EOPGridSelectCell(StringGrid *grid, int ACol, int ARow) {
  if (ACol != kOptionReadableTextColumn || !grid->Cell(ACol, ARow).isEmpty()) return;
  grid->SetCell(ACol, ARow,
                ToQt(OptionReadableText(CellOf(grid, 0, ARow), CellOf(grid, kPriceColumn, ARow),
                                        context_.settings.Currency)));
}

void T_PelluxFP::AddItSetEditText(int ACol, int ARow) {
  if (ACol == 0) ApplyDescriptionRule(AddIt, ARow);
  if (ACol == kTaxableColumn) ApplyTaxableRule(AddIt, ARow);
  UpdateButtons();
}

void T_PelluxFP::EopTextChange(int group) {
  eopGrid_[group]->setVisible(!eopText_[group]->text().isEmpty());
}

void T_PelluxFP::SelectImage1Click() {
  const QString file = imageFileChooser_ ? imageFileChooser_(this) : QString();
  if (!file.isEmpty() && IsProductImageFile(ToStd(file))) {
    // A preview that cannot be written ends the choice: the browser stays as it was.
    if (!PreviewImage(QFileInfo(file).absoluteFilePath())) return;
  }
  WebBrowser1->show();
  WebBrowser1->raise();
  WebBrowser1->update();
}

bool T_PelluxFP::PreviewImage(const QString &path) {
  const std::filesystem::path folder = context_.PreviewFolder();
  try {
    // The user's cache folder, where an installed copy writes the page, is made at the first
    // preview; the program folder is never made.
    std::error_code ignored;
    if (folder != std::filesystem::path(context_.programDir)) {
      std::filesystem::create_directories(folder, ignored);
    }
    WriteImagePreview(folder, ToStd(path));
  } catch (const FileError &error) {
    context_.messages.ShowError(error.what());
    return false;
  }
  const QUrl page =
      QUrl::fromLocalFile(QDir(ToQt(folder.string())).filePath(kImagePreviewFileName));
  if (WebBrowser1->source() == page) {
    WebBrowser1->reload();
  } else {
    WebBrowser1->setSource(page);
  }
  productImageTag_ = vendigo::ProductImageTag(ToStd(path));
  WebBrowser1->show();
  WebBrowser1->raise();
  return true;
}

void T_PelluxFP::CancelImage1Click() {
  productImageTag_.clear();
  WebBrowser1->hide();
}

}  // namespace vendigo
