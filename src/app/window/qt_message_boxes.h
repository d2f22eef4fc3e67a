#pragma once
// The message boxes of the window program: modal Qt boxes with the title,
// text, icon and buttons the run asks for. Texts are cp1252 and written with
// CR or CR LF line ends; both become line breaks here.

#include <memory>

#include <QString>

#include "platform/message_box.h"

class QMessageBox;
class QWidget;

namespace vx::app {

// A box's cp1252 text as Qt shows it: UTF-8 decoded, CR LF and lone CR as
// line breaks.
QString MessageBoxText(const std::string& cp1252);

// The Qt box for `box`, ready to be shown: plain text (never taken as
// HTML), its icon and buttons, Yes the default of a Yes/No question.
std::unique_ptr<QMessageBox> MakeQMessageBox(const vx::platform::MessageBox& box, QWidget* parent);

class QtMessageBoxes : public vx::platform::MessageBoxes {
 public:
  // Boxes are centred over `parent` once there is one.
  void SetParent(QWidget* parent) { parent_ = parent; }
  vx::platform::Answer Show(const vx::platform::MessageBox& box) override;
  bool Interactive() const override { return true; }

 private:
  QWidget* parent_ = nullptr;
};

}  // namespace vx::app
