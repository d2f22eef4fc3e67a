#include "app/window/window_main.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <iostream>

#include "app/window/frm_bancnew.h"
#include "app/window/qt_message_boxes.h"
#include "app/window/svg_icon.h"
#include "archive/payroll_archives.h"
#include "output/output.h"
#include "output/qt/qt_printers.h"
#include "platform/files.h"
#include "platform/registry.h"

namespace vx::app {

bool InstallItalianQtTexts(QCoreApplication& application, QTranslator& translator) {
  // The program speaks Italian whatever the desktop's language: Qt's own
  // texts (standard buttons, file dialogs) too, from Qt's translations.
  if (!translator.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return false;
  }
  return application.installTranslator(&translator);
}

int RunWindow(int argc, char** argv, const vx::platform::WinePrefix& prefix) {
  // Without a display Qt would abort with a message about its plugins; say
  // what is wrong in the program's own words instead.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    std::cerr << "vxorel: no display to open the window on (DISPLAY is not set); "
                 "run with --batch to list without the window\n";
    return 2;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vxorel"));
  QApplication::setDesktopFileName(QStringLiteral("vxorel"));
  QApplication::setWindowIcon(ShippedIcon(QStringLiteral("vxorel"), 64));
  QTranslator qt_texts;
  InstallItalianQtTexts(application, qt_texts);

  vx::platform::Files files(prefix);
  const vx::platform::Registry registry(prefix);
  QtMessageBoxes boxes;
  vx::archive::PayrollArchives archives(prefix, files, registry, boxes);
  vx::output::QtPrinters printers;
  vx::output::Output output(archives, printers, boxes);

  FRMBANCNEW window(archives, output, boxes);
  boxes.SetParent(&window);
  if (!window.Form_Load()) return window.Ended().value_or(1);
  QObject::connect(&window, &FRMBANCNEW::programEnded, &application,
                   [](int status) { QCoreApplication::exit(status); }, Qt::QueuedConnection);
  window.show();
  const int status = QApplication::exec();
  files.CloseAll();
  return window.Ended().value_or(status);
}

}  // namespace vx::app
