// The Qt message boxes and the text boxes' code page check.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QTimer>
#include <QMessageBox>
#include <QPushButton>

#include "app/window/cp1252_validator.h"
#include "app/window/qt_message_boxes.h"
#include "gui/window_world.h"

namespace {

using vx::platform::Buttons;
using vx::platform::Icon;

TEST(QtMessageBoxes, ShowTitleTextIconAndButtonsAsAsked) {
  vx::testing::EnsureApplication();
  vx::platform::MessageBox box;
  box.title = "Velmora VXOREL";
  box.text = "Errore 53 File non trovato\r\nAPRIARCHIVI\r\nperch\xE8 <b>no</b>\rfine\r";
  box.icon = Icon::Critical;
  auto qbox = vx::app::MakeQMessageBox(box, nullptr);
  EXPECT_EQ(qbox->windowTitle(), "Velmora VXOREL");
  EXPECT_EQ(qbox->text(), QString::fromUtf8("Errore 53 File non trovato\nAPRIARCHIVI\nperchè <b>no</b>\nfine\n"));
  EXPECT_EQ(qbox->textFormat(), Qt::PlainText);
  EXPECT_EQ(qbox->icon(), QMessageBox::Critical);
  EXPECT_EQ(qbox->standardButtons(), QMessageBox::Ok);

  box.buttons = Buttons::YesNo;
  box.icon = Icon::Warning;
  qbox = vx::app::MakeQMessageBox(box, nullptr);
  EXPECT_EQ(qbox->standardButtons(), QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(static_cast<QAbstractButton*>(qbox->defaultButton()), qbox->button(QMessageBox::Yes));
  EXPECT_EQ(qbox->icon(), QMessageBox::Warning);
}

// Presses `which` on the box about to be shown, noting the cursor over it.
void PressWhenShown(QMessageBox::StandardButton which, Qt::CursorShape* cursor) {
  QTimer::singleShot(0, [which, cursor] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    *cursor = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::BitmapCursor;
    box->button(which)->click();
  });
}

TEST(QtMessageBoxes, AnswerIsTheButtonPressedUnderTheArrowCursorEvenDuringARun) {
  vx::testing::EnsureApplication();
  vx::app::QtMessageBoxes boxes;
  vx::platform::MessageBox question;
  question.title = "Velmora";
  question.text = "ERR.STAMPANTE - SI VUOLE RITENTARE ?";
  question.buttons = Buttons::YesNo;
  question.unattended = vx::platform::Answer::No;
  Qt::CursorShape cursor = Qt::BitmapCursor;

  QApplication::setOverrideCursor(Qt::WaitCursor);
  PressWhenShown(QMessageBox::Yes, &cursor);
  EXPECT_EQ(boxes.Show(question), vx::platform::Answer::Yes);
  EXPECT_EQ(cursor, Qt::ArrowCursor);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  QApplication::restoreOverrideCursor();

  PressWhenShown(QMessageBox::No, &cursor);
  EXPECT_EQ(boxes.Show(question), vx::platform::Answer::No);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  vx::platform::MessageBox notice;
  PressWhenShown(QMessageBox::Ok, &cursor);
  EXPECT_EQ(boxes.Show(notice), vx::platform::Answer::Ok);
}

TEST(Cp1252Validator, RefusesWhatTheCodePageCannotWrite) {
  EXPECT_TRUE(vx::app::FitsCp1252(QString::fromUtf8("Perché 100€ – “netti”?")));
  EXPECT_FALSE(vx::app::FitsCp1252(QString::fromUtf8("Łódź")));
  EXPECT_FALSE(vx::app::FitsCp1252(QString::fromUtf8("stipendi 😀")));
  vx::app::Cp1252Validator validator;
  int position = 0;
  for (const char* refused : {"ŁÓDŹ", "tredicesima\nnovembre", "\x1b[2J", "a\u0090b"}) {
    QString text = QString::fromUtf8(refused);
    EXPECT_EQ(validator.validate(text, position), QValidator::Invalid) << refused;
  }
}

}  // namespace
