#include "app/window/input_guard.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
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

bool InputGuard::Reaches(const QEvent& event, QWidget* control) const {
  if (const auto* pointer = dynamic_cast<const QSinglePointEvent*>(&event)) {
    QWidget* under = window_->childAt(window_->mapFromGlobal(pointer->globalPosition().toPoint()));
    return under && (under == control || control->isAncestorOf(under));
  }
  if (event.type() == QEvent::KeyPress || event.type() == QEvent::KeyRelease ||
      event.type() == QEvent::ShortcutOverride) {
    return control->hasFocus();
  }
  return false;
}

void InputGuard::Allow(QWidget* control) {
  if (control == allowed_) return;
  QApplication::changeOverrideCursor(control ? Qt::ArrowCursor : Qt::WaitCursor);
  allowed_ = control;
}

bool InputGuard::eventFilter(QObject* watched, QEvent* event) {
  if (!IsUserInput(*event)) return false;
  bool ours = false;
  if (auto* widget = qobject_cast<QWidget*>(watched)) {
    if (allowed_ && (widget == allowed_ || allowed_->isAncestorOf(widget))) return false;
    ours = widget->window() == window_;
  } else if (auto* handle = qobject_cast<QWindow*>(watched)) {
    ours = window_->windowHandle() == handle;
    // The window system hands input to the window first; what is meant
    // for the allowed control goes on to it.
    if (ours && allowed_ && Reaches(*event, allowed_)) return false;
  }
  if (!ours) return false;
  ++dropped_;
  return true;
}

}  // namespace vx::app
