#include "palette/palette_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QToolButton>
#include <QUrl>

#include "builders/simple_element_commands.h"
#include "dialogs/addit_dialog.h"
#include "dialogs/extended_option_dialog.h"
#include "dialogs/hidden_item_dialog.h"
#include "dialogs/options_dialog.h"
#include "dialogs/quick_link_dialog.h"
#include "dialogs/text_option_dialog.h"
#include "dialogs/wizard_dialog.h"
#include "palette/about_message.h"
#include "palette/hint_timing.h"
#include "palette/palette_title_bar.h"
#include "palette/svg_picture.h"

namespace vendigo {
namespace {

constexpr QSize kGlyphSize(16, 16);

const SimpleElementCommand &CommandCaptioned(const std::string &caption) {
  for (const SimpleElementCommand &command : SimpleElementCommands()) {
    if (command.caption == caption) return command;
  }
  qFatal("no palette command captioned %s", caption.c_str());
}

void SetCaptionColour(QWidget *widget, const QColor &colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::ButtonText, colour);
  palette.setColor(QPalette::WindowText, colour);
  widget->setPalette(palette);
}

// The small sans-serif of the frame titles and the FrontPage button, or the nearest narrow one
// the desktop has.
QFont SystemFont(bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                    QStringLiteral("Arial"), QStringLiteral("Nimbus Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  font.setBold(bold);
  return font;
}

}  // namespace

TVendigoProject::TVendigoProject(AppContext &context, EditorRegistry &editorMenus,
                                 std::string executablePath, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      context_(context),
      editorMenus_(editorMenus),
      executablePath_(std::move(executablePath)) {
  setObjectName(QStringLiteral("VendigoProject"));
  // The program ends when the palette closes (Closed) or a command ends it, never because the
  // toolkit counts no window left: the palette is a tool window, which does not count, so a
  // message box closing while no window of ours is active would otherwise end the program.
  QApplication::setQuitOnLastWindowClosed(false);
  setWindowTitle(QStringLiteral("Vendigo"));
  setWindowIcon(QIcon(SvgPicture(QStringLiteral("vendigo"), QSize(64, 64))));
  BuildLayout();
  resize(kClientWidth, PaletteTitleBar::kHeight + kClientHeight);
  if (const QScreen *screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  FormCreate();
}

TVendigoProject::~TVendigoProject() = default;

void TVendigoProject::FormCreate() {
  rollUp_ =
      std::make_unique<RollUp>(height(), PaletteTitleBar::kHeight,
                               RollUp::Window{[this] { return height(); },
                                              [this](int newHeight) { resize(width(), newHeight); },
                                              [this] {
                                                QCoreApplication::processEvents();
                                                repaint();
                                              }});

  installState_ = ReadInstallState(editorMenus_);
  if (installState_ == InstallState::Installed) {
    FrontPageButton->setText(QString::fromLatin1(kRemoveCaption));
    SetCaptionColour(FrontPageButton, Qt::black);
  }

  new HintTiming(kHintHidePauseMs, this);

  if (installState_ != InstallState::NotInstalled && !context_.editor.Connect()) {
    endedAtStart_ = true;
  }
}

void TVendigoProject::BuildLayout() {
  TitleBar = new PaletteTitleBar(this);
  TitleBar->setObjectName(QStringLiteral("TitleBar"));
  TitleBar->setGeometry(0, 0, kClientWidth, PaletteTitleBar::kHeight);
  connect(TitleBar, &PaletteTitleBar::RightPressed, this, [this] { rollUp_->Toggle(); });

  Client = new QWidget(this);
  Client->setObjectName(QStringLiteral("Client"));
  Client->setGeometry(0, PaletteTitleBar::kHeight, kClientWidth, kClientHeight);
  Client->setAutoFillBackground(true);
  QPalette white = Client->palette();
  white.setColor(QPalette::Window, Qt::white);
  Client->setPalette(white);
  QFont verdana;
  verdana.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
  verdana.setStyleHint(QFont::SansSerif);
  verdana.setPixelSize(11);
  Client->setFont(verdana);

  // Created first, so every control lies above it.
  auto *mascot = new QLabel(Client);
  mascot->setObjectName(QStringLiteral("Mascot"));
  mascot->setGeometry(104, 8, 248, 310);
  mascot->setPixmap(SvgPicture(QStringLiteral("mascot"), mascot->size(), devicePixelRatioF()));

  connect(AddButton("CloseButton", QStringLiteral("Close"), QStringLiteral("Exit Program"),
                    {1, 0, 49, 17}),
          &QToolButton::clicked, this, &TVendigoProject::CloseButtonClick);
  connect(AddButton("OptionsButton", QStringLiteral("Options"),
                    QStringLiteral("Configure your options first!"), {70, 0, 51, 17}),
          &QToolButton::clicked, this, &TVendigoProject::OptionsButtonClick);
  FrontPageButton =
      AddButton("FrontPageButton", QString::fromLatin1(kInstallCaption), {}, {208, 0, 129, 17});
  FrontPageButton->setFont(SystemFont(false));
  SetCaptionColour(FrontPageButton, Qt::red);
  connect(FrontPageButton, &QToolButton::clicked, this, &TVendigoProject::FrontPageButtonClick);
  connect(AddButton("AboutButton", QStringLiteral("About"), QStringLiteral("About Vendigo"),
                    {352, 0, 45, 17}),
          &QToolButton::clicked, this, &TVendigoProject::AboutButtonClick);

  AddGroup("ComplexProductsGroup", QStringLiteral("Complex Products"), {8, 48, 137, 153}, {16, 40});
  AddGroup("StructureGroup", QStringLiteral("Structure & Navigation"), {8, 224, 225, 41},
           {16, 216});
  AddGroup("BeginnerGroup", QStringLiteral(" Beginner"), {272, 40, 89, 41}, {280, 32});
  AddGroup("SimpleProductsGroup", QStringLiteral("Simple Products"), {200, 104, 129, 49},
           {216, 100});
  AddGroup("MultiProductGroup", QStringLiteral(" Multi-Product Ordering "), {240, 168, 153, 49},
           {248, 160});
  AddGroup("HomePageFrame", {}, {248, 224, 145, 33}, {});

  const auto simpleElement = [this](const char *name, const char *caption, const char *hint,
                                    const QRect &geometry, const char *glyph) {
    const SimpleElementCommand &command = CommandCaptioned(caption);
    QToolButton *button = AddButton(name, QString::fromStdString(command.caption),
                                    QString::fromUtf8(hint), geometry, glyph);
    connect(button, &QToolButton::clicked, this, [this, &command] { RunSimpleElement(command); });
    return button;
  };
  const auto dialog = [this](const char *name, const char *caption, const char *hint,
                             const QRect &geometry, const char *glyph, auto show) {
    QToolButton *button =
        AddButton(name, QString::fromUtf8(caption), QString::fromUtf8(hint), geometry, glyph);
    connect(button, &QToolButton::clicked, this, show);
    return button;
  };

  simpleElement("InsertFormButton", "Insert Form",
                "Inserts a form container into the document, the first part of building a "
                "product interface. All form elements must be placed within this form container. "
                "REMEMBER to configure your Vendigo options first.",
                {16, 56, 120, 22}, "glyph_form");
  dialog("PelluxAddButton", "pelluxadd",
         "Inserts the \"pelluxadd\" PFO, the root element of your product interface and required "
         "for building a complex product catalog.",
         {16, 84, 120, 25}, "glyph_pelluxadd", [this] { ShowDialog<TPelluxAdd>(); });
  dialog("TextInputButton", "Text Input",
         "Allows the shopper to enter text for a product, for example, a product that will be "
         "custom printed using the shopper's text input.",
         {16, 112, 120, 25}, "glyph_text_input", [this] { ShowDialog<TTextAdd>(); });
  simpleElement("QuantityBoxButton", "Quantity Box",
                "Inserts a simple input box for shoppers to enter the quantity of an item to be "
                "purchased.",
                {16, 140, 120, 22}, "glyph_quantity");
  dialog("ProductOptionsButton", "Product Options",
         "Allows you to add product options such as shirt size, colors, etc. Keep in mind that "
         "each product can have unlimited options.",
         {16, 168, 120, 22}, "glyph_options", [this] { ShowDialog<TPelluxOptionsBuilder>(); });

  // Looks like a link on a web page: navy, underlined, no picture.
  QToolButton *viewCart =
      simpleElement("ViewCartLinkButton", "View Cart Link",
                    "Inserts a View Cart link that should be on every page of your web site!",
                    {16, 232, 81, 22}, nullptr);
  QFont underlined = viewCart->font();
  underlined.setUnderline(true);
  viewCart->setFont(underlined);
  SetCaptionColour(viewCart, QColor(0x00, 0x00, 0x80));
  simpleElement("BuyButton", "Buy Button",
                "Adds an Order or Buy button to a product page, the final step of creating any "
                "product page (except a quick link product page, which does not need an Order "
                "button).",
                {120, 232, 97, 22}, "glyph_buy");

  QToolButton *wizard =
      dialog("WizardButton", "Wizard",
             "Allows you to create simple product pages quickly, but does not give you the control "
             "and power of \"Complex Products\" building methods.",
             {280, 48, 73, 22}, "glyph_wizard", [this] { ShowDialog<T_PelluxFP>(); });
  QToolButton *quickLink = dialog(
      "QuickLinkButton", "Quick Link",
      "Inserts an easy \"Buy It\" link system, simple hypertext links for products that have "
      "no options, so they do not require forms. ",
      {208, 120, 113, 22}, "glyph_quick_link", [this] { ShowDialog<TQuickLink>(); });
  // The picture stands to the right of the caption on this one.
  quickLink->setLayoutDirection(Qt::RightToLeft);
  dialog("AddItButton", "addit and pelluxqa",
         "Inserts the addit or pelluxqa elements on a page and can be used as the primary product "
         "page or as upsells to a primary product.",
         {248, 176, 129, 33}, "glyph_addit", [this] { ShowDialog<TAddBuilder>(); });

  QToolButton *ebay =
      simpleElement("EbayButton", "eBay\u2122", "Quick eBay Interface", {344, 88, 47, 22}, nullptr);
  SetCaptionColour(ebay, Qt::red);
  // Tab follows the right-hand column from the top: Wizard, eBay, Quick Link.
  setTabOrder(wizard, ebay);

  auto *homePage = new QLabel(Client);
  homePage->setObjectName(QStringLiteral("HomePageLink"));
  homePage->setText(
      QStringLiteral("<a href=\"%1\">www.example.com</a>").arg(QString::fromLatin1(kHomePage)));
  homePage->setToolTip(QStringLiteral(
      "Go to the Pellux home page. A Vendigo manual is available from the support section of "
      "our web site!"));
  homePage->setCursor(Qt::PointingHandCursor);
  homePage->move(256, 232);
  homePage->adjustSize();
  connect(homePage, &QLabel::linkActivated, this, &TVendigoProject::HomePageLinkClick);

  // Over the mascot's nose.
  auto *nose = new QWidget(Client);
  nose->setObjectName(QStringLiteral("NoseHotSpot"));
  nose->setGeometry(180, 98, 17, 8);
  nose->setToolTip(QStringLiteral("Hey! Please keep that pointer out of my nose. It tickles!"));
}

QToolButton *TVendigoProject::AddButton(const char *name, const QString &caption,
                                        const QString &hint, const QRect &geometry,
                                        const char *glyph) {
  auto *button = new QToolButton(Client);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(caption);
  button->setToolTip(hint);
  button->setGeometry(geometry);
  button->setAutoRaise(true);
  button->setCursor(Qt::PointingHandCursor);
  // Tab reaches every button, and a click leaves the focus on the button clicked; the style
  // frames the focused one once the keyboard has moved the focus.
  button->setFocusPolicy(Qt::StrongFocus);
  if (glyph) {
    button->setIcon(QIcon(SvgPicture(QString::fromLatin1(glyph), kGlyphSize, devicePixelRatioF())));
    button->setIconSize(kGlyphSize);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  } else {
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  }
  return button;
}

void TVendigoProject::AddGroup(const char *name, const QString &title, const QRect &frame,
                               const QPoint &titleAt) {
  auto *box = new QFrame(Client);
  box->setObjectName(QString::fromLatin1(name));
  box->setFrameStyle(QFrame::Box | QFrame::Sunken);
  box->setGeometry(frame);
  if (title.isEmpty()) return;
  // The title stands on the frame's upper edge, on white, so the line breaks behind it.
  auto *label = new QLabel(title, Client);
  label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Title"));
  label->setFont(SystemFont(true));
  label->setAutoFillBackground(true);
  label->move(titleAt);
  label->adjustSize();
}

void TVendigoProject::closeEvent(QCloseEvent *event) {
  event->accept();
  emit Closed();
}

// Space presses the focused button by itself; Enter and Return press it too, as in a dialog.
void TVendigoProject::keyPressEvent(QKeyEvent *event) {
  auto *button = qobject_cast<QAbstractButton *>(focusWidget());
  if (button && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    button->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TVendigoProject::changeEvent(QEvent *event) {
  if (event->type() == QEvent::ActivationChange) TitleBar->update();
  QWidget::changeEvent(event);
}

void TVendigoProject::CloseButtonClick() {
  close();
}

void TVendigoProject::OptionsButtonClick() {
  ShowDialog<TOptions>();
}

void TVendigoProject::FrontPageButtonClick() {
  if (ChangeEditorMenus(FrontPageButton->text().toStdString(), editorMenus_, executablePath_,
                        context_.messages)) {
    close();
  }
}

void TVendigoProject::AboutButtonClick() {
  context_.messages.ShowMessage(AboutMessage(ProgramVersion()));
}

void TVendigoProject::HomePageLinkClick() {
  QDesktopServices::openUrl(QUrl(QString::fromLatin1(kHomePage)));
}

void TVendigoProject::RunSimpleElement(const SimpleElementCommand &command) {
  RunSimpleElementCommand(command, context_.settings, context_.editor);
}

// The dialog belongs to the palette, which waits until it closes; the dialog deletes itself.
template <typename Dialog>
void TVendigoProject::ShowDialog() {
  auto *dialog = new Dialog(context_, this);
  dialog->exec();
}

}  // namespace vendigo
