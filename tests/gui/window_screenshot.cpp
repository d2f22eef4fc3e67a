// Takes a screenshot of the window as it opens on the demo installation:
// the window is shown on a real X server (Xvfb under the test suite) and the
// server's pixels are saved as PNG. The README's picture is made this way
// (see update-screenshot). Usage: gui_window_screenshot OUTPUT.png

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <cstdio>
#include <set>

#include "demo/demo_population.h"
#include "gui/window_world.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gui_window_screenshot OUTPUT.png\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("DISPLAY")) {
    std::printf("skipped: no X display (run under xvfb-run)\n");
    return 77;
  }
  QApplication application(argc, argv);
  vx::testing::WindowWorld world;
  vx::demo::PopulateDemo(world.builder, vx::demo::DemoOptions{});
  vx::app::FRMBANCNEW& window = world.Open();
  if (!window.Form_Load()) {
    std::fprintf(stderr, "the window did not start\n");
    return 1;
  }
  window.show();
  if (!QTest::qWaitForWindowExposed(&window, 10000)) {
    std::fprintf(stderr, "the window was never shown\n");
    return 1;
  }
  QTest::qWait(300);
  const QPixmap shot = window.screen()->grabWindow(window.winId());
  const QImage image = shot.toImage();
  // A window that did not paint is one colour; the real one has text,
  // frames, pictures and a list.
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); y += 3)
    for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
  if (image.size() != window.size() * window.devicePixelRatio() || colours.size() < 16) {
    std::fprintf(stderr, "the screenshot is %dx%d with %zu colours: not the window\n", image.width(),
                 image.height(), colours.size());
    return 1;
  }
  if (!shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("window screenshot %dx%d written to %s\n", image.width(), image.height(), argv[1]);
  return 0;
}
