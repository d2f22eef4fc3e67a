#pragma once
// While a run is in progress the window shows the wait cursor and keeps
// repainting, but takes no input: a click or a key meant for it is dropped,
// not kept for later, so that nothing the operator did while waiting (a
// second "Conferma", "Uscita") happens behind his back once the run ends.
// Message boxes the run shows are other windows and stay usable.

#include <QObject>

class QWidget;

namespace vx::app {

class InputGuard : public QObject {
 public:
  // Starts guarding `window`: wait cursor on, its input dropped.
  explicit InputGuard(QWidget* window);
  // Drops what input is still pending, then gives cursor and input back.
  ~InputGuard() override;
  InputGuard(const InputGuard&) = delete;
  InputGuard& operator=(const InputGuard&) = delete;

  // Lets the window repaint (the company line the run has selected, a
  // message box closed over it) while still dropping its input.
  void KeepPainting();

  // Lets the operator use `control` (a cancel button) with the ordinary
  // cursor; everything else of the window still takes no input. Null takes
  // that back.
  void Allow(QWidget* control);

  // How many input events were dropped so far.
  int Dropped() const { return dropped_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Whether input arriving at the window is meant for `control`.
  bool Reaches(const QEvent& event, QWidget* control) const;

  QWidget* window_;
  QWidget* allowed_ = nullptr;
  int dropped_ = 0;
};

// True for the events a person causes (mouse, keys, wheel, touch, closing
// the window from its frame).
bool IsUserInput(const QEvent& event);

}  // namespace vx::app
