#pragma once

#include <QWidget>

#include <memory>
#include <string>

#include "core/app_context.h"
#include "editorlink/editor_registry.h"
#include "palette/menu_installation.h"
#include "palette/roll_up.h"

class QLabel;
class QToolButton;

namespace vendigo {

class PaletteTitleBar;
struct SimpleElementCommand;

// The palette: a small always-on-top tool window whose buttons insert fixed fragments, open the
// builder dialogs and serve the tool itself. It is the program's main window; closing it ends the
// program.
class TVendigoProject : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 397;
  static constexpr int kClientHeight = 321;
  static constexpr int kHintHidePauseMs = 20000;
  static constexpr char kHomePage[] = "https://www.example.com/vendigo/";

  // editorMenus is the page editor's store of menu registrations; executablePath is what an
  // installation registers there.
  TVendigoProject(AppContext &context, EditorRegistry &editorMenus, std::string executablePath,
                  QWidget *parent = nullptr);
  ~TVendigoProject() override;

  InstallState InstallStateAtStart() const { return installState_; }
  // True when the editor could not be reached at start: the user has been told and the program
  // ends without showing the palette.
  bool EndedAtStart() const { return endedAtStart_; }
  const RollUp &Rolling() const { return *rollUp_; }

 signals:
  // The palette has closed, which ends the program.
  void Closed();

 protected:
  void closeEvent(QCloseEvent *event) override;
  void changeEvent(QEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

 private:
  void FormCreate();
  void BuildLayout();
  QToolButton *AddButton(const char *name, const QString &caption, const QString &hint,
                         const QRect &geometry, const char *glyph = nullptr);
  void AddGroup(const char *name, const QString &title, const QRect &frame, const QPoint &titleAt);

  void CloseButtonClick();
  void OptionsButtonClick();
  void FrontPageButtonClick();
  void AboutButtonClick();
  void HomePageLinkClick();
  void RunSimpleElement(const SimpleElementCommand &command);
  template <typename Dialog>
  void ShowDialog();

  AppContext &context_;
  EditorRegistry &editorMenus_;
  std::string executablePath_;
  InstallState installState_ = InstallState::KeyAbsent;
  bool endedAtStart_ = false;
  std::unique_ptr<RollUp> rollUp_;

  PaletteTitleBar *TitleBar;
  QWidget *Client;
  QToolButton *FrontPageButton;
};

}  // namespace vendigo
