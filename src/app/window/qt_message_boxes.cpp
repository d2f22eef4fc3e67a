#include "app/window/qt_message_boxes.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QPushButton>

#include "platform/codepage.h"

namespace vx::app {

using vx::platform::Answer;
using vx::platform::Buttons;
using vx::platform::Icon;

QString MessageBoxText(const std::string& cp1252) {
  QString text = QString::fromStdString(vx::platform::Cp1252ToUtf8(cp1252));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

namespace {

QMessageBox::Icon QtIcon(Icon icon) {
  switch (icon) {
    case Icon::Critical:
      return QMessageBox::Critical;
    case Icon::Warning:
      return QMessageBox::Warning;
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

std::unique_ptr<QMessageBox> MakeQMessageBox(const vx::platform::MessageBox& box, QWidget* parent) {
  auto qbox = std::make_unique<QMessageBox>(parent);
  qbox->setWindowTitle(QString::fromStdString(vx::platform::Cp1252ToUtf8(box.title)));
  qbox->setTextFormat(Qt::PlainText);
  qbox->setText(MessageBoxText(box.text));
  qbox->setIcon(QtIcon(box.icon));
  if (box.buttons == Buttons::YesNo) {
    qbox->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    qbox->setDefaultButton(QMessageBox::Yes);
  } else {
    qbox->setStandardButtons(QMessageBox::Ok);
    qbox->setDefaultButton(QMessageBox::Ok);
  }
  return qbox;
}

Answer QtMessageBoxes::Show(const vx::platform::MessageBox& box) {
  auto qbox = MakeQMessageBox(box, parent_);
  // A run shows the wait cursor; over a question the operator must answer
  // the ordinary arrow is the honest one.
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int result = qbox->exec();
  if (busy) QApplication::restoreOverrideCursor();
  if (box.buttons == Buttons::Ok) return Answer::Ok;
  if (result == QMessageBox::Yes) return Answer::Yes;
  if (result == QMessageBox::No) return Answer::No;
  // A question closed without an answer (its window closed from the frame)
  // counts as the answer the caller takes when nobody can answer.
  return box.unattended;
}

}  // namespace vx::app
