#pragma once

#include <QString>

#include <functional>
#include <initializer_list>
#include <string>

#include "builders/order_item_value.h"

class QCheckBox;
class QDialog;
class QFormLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vendigo {

// Small pieces the builder dialogs share.

enum class DialogBorder {
  Fixed,       // a dialog frame that cannot be resized
  SystemMenu,  // a single-line frame with only the close box
};

// Whether a dialog window stays above the other windows of the desktop.
enum class DialogLayer {
  AlwaysOnTop,
  Normal,
};

// Makes dialog a window of a fixed size with the given frame, always on top unless layer says
// otherwise, centred on its screen each time it is shown.
void SetFixedDialogWindow(QDialog *dialog, DialogBorder border,
                          DialogLayer layer = DialogLayer::AlwaysOnTop);

// Gives a control its name, which tests and the window's code find it by.
template <typename Widget>
Widget *Named(Widget *widget, const char *name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// A label for field, beside it in its window; the label's shortcut moves the focus to field.
QLabel *LabelFor(const QString &caption, QWidget *field);

// Shows the control's text in bold.
void MakeBold(QWidget *widget);

// The row of buttons at the foot of a dialog, pushed to the right. Enter presses the focused
// button, or else the one the dialog made its default (its OK), when that is enabled.
QHBoxLayout *ButtonRow(std::initializer_list<QPushButton *> buttons);

// An "Item is Taxable" box: three states, starting grayed so an untouched box states nothing.
void MakeTaxCheckBox(QCheckBox *box);
TaxState TaxStateOf(const QCheckBox *box);
// Sets the box to what an item's Taxable text says: "1" checked, "0" unchecked, else grayed.
void SetTaxableText(QCheckBox *box, const std::string &taxable);

// A line edit named name, with a Browse... button beside it that fills it from choose (a file
// dialog, given the window and the edit's text), added to form under label.
QLineEdit *PathRow(QFormLayout *form, const QString &label, const char *name,
                   std::function<QString(QWidget *, const QString &)> choose);

}  // namespace vendigo
