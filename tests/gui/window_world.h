#pragma once
// The window over a small installation in a temporary Wine prefix, on Qt's
// offscreen platform: scripted message boxes, recording printers, and PDF
// writers whose clock is fixed so that files compare byte for byte.

#include <QApplication>
#include <QSettings>
#include <QTranslator>

#include <filesystem>
#include <memory>
#include <string>

#include "app/window/frm_bancnew.h"
#include "app/window/window_main.h"
#include "archive/payroll_archives.h"
#include "demo/installation_builder.h"
#include "output/output.h"
#include "output/recording_printer.h"
#include "pdf/vbpdf.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform/wine_prefix.h"
#include "support/temp_folder.h"

namespace vx::testing {

// One QApplication for the whole test program, offscreen at a fixed 96 dpi
// so that twips map to pixels at 15 to 1.
inline void EnsureApplication() {
  static int argc = 1;
  static char name[] = "vxorel-gui-test";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance()) return;
  // Choices the window remembers go to a folder of the test's own.
  static TempFolder config;
  qputenv("XDG_CONFIG_HOME", QByteArray(config.Path().c_str()));
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  // Never destroyed: at exit Qt's own globals go first, and an application
  // outliving them would crash the test program on its way out.
  static QApplication* application = new QApplication(argc, argv);
  static QTranslator qt_texts;
  vx::app::InstallItalianQtTexts(*application, qt_texts);
}

inline output::PdfFactory FixedClockWriters() {
  return [] {
    pdf::WriterServices services;
    services.now = [] { return pdf::LocalDateTime{2025, 11, 27, 10, 30, 0}; };
    services.random_digit = [] { return 4; };
    return std::make_unique<pdf::vbPDF>(services);
  };
}

class WindowWorld {
 public:
  // The window's remembered choices go to the world's own folder, never to
  // the user's configuration.
  WindowWorld() {
    EnsureApplication();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((folder_.Path() / "config").string()));
  }
  ~WindowWorld() {
    window_.reset();
    output_.reset();
    archives_.reset();
  }

  // Writes the installation and builds the window over it (not started).
  app::FRMBANCNEW& Open() {
    builder.Write(Prefix());
    prefix_ = std::make_unique<platform::WinePrefix>(Prefix());
    files_ = std::make_unique<platform::Files>(*prefix_);
    registry_ = std::make_unique<platform::Registry>(*prefix_);
    archives_ = std::make_unique<archive::PayrollArchives>(*prefix_, *files_, *registry_, boxes);
    archives_->SetInstanceCheck([] { return false; });
    output_ = std::make_unique<output::Output>(*archives_, printers, boxes, FixedClockWriters());
    window_ = std::make_unique<app::FRMBANCNEW>(*archives_, *output_, boxes);
    return *window_;
  }

  // The next session's window over the same installation (not started).
  app::FRMBANCNEW& Reopen() {
    window_.reset();
    window_ = std::make_unique<app::FRMBANCNEW>(*archives_, *output_, boxes);
    return *window_;
  }

  std::filesystem::path Prefix() const { return folder_.Path() / "prefix"; }
  app::FRMBANCNEW& window() { return *window_; }

  template <typename Control>
  Control* Find(const char* name) {
    return window_->findChild<Control*>(QLatin1String(name));
  }

  demo::InstallationBuilder builder;
  platform::ScriptedMessageBoxes boxes;
  output::RecordingPrinters printers{{"Ufficio", "LASER-UFFICIO-PAGHE"}};

 private:
  TempFolder folder_;
  std::unique_ptr<platform::WinePrefix> prefix_;
  std::unique_ptr<platform::Files> files_;
  std::unique_ptr<platform::Registry> registry_;
  std::unique_ptr<archive::PayrollArchives> archives_;
  std::unique_ptr<output::Output> output_;
  std::unique_ptr<app::FRMBANCNEW> window_;
};

}  // namespace vx::testing
