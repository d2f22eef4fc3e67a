#include "app/window/input_guard.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace vx::app {

bool IsUserInput(const QEvent& event) {
  switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
    case QEvent::Close:
      return true;
    default:
      return false;
  }
}

InputGuard::InputGuard(QWidget* window) : window_(window) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  qApp->installEventFilter(this);
}

InputGuard::~InputGuard() {
  // Input that reached the queue during the last stretch of the run is
  // still dropped before the window listens again.
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  qApp->removeEventFilter(this);
  QApplication::restoreOverrideCursor();
}

void InputGuard::KeepPainting() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool InputGuard::eventFilter(QObject* watched, QEvent* event) {
  if (!IsUserInput(*event)) return false;
  bool ours = false;
  if (auto* widget = qobject_cast<QWidget*>(watched)) {
    ours = widget->window() == window_;
  } else if (auto* handle = qobject_cast<QWindow*>(watched)) {
    ours = window_->windowHandle() == handle;
  }
  if (!ours) return false;
  ++dropped_;
  return true;
}

}  // namespace vx::app
