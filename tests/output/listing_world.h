#pragma once
// A small payroll installation in a temporary Wine prefix with the archive
// layer, a recording printer and the output devices over it. Tests describe
// companies and employees with the demo builder, then Open() the world.

#include <filesystem>
#include <memory>
#include <string>

#include "archive/payroll_archives.h"
#include "demo/installation_builder.h"
#include "demo/installation_layout.h"
#include "output/output.h"
#include "output/recording_printer.h"
#include "pdf/vbpdf.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform/wine_prefix.h"
#include "support/folder_snapshot.h"
#include "support/shell.h"
#include "support/temp_folder.h"

namespace vx::testing {

// A writer whose clock and random digit are fixed, so files repeat exactly.
inline output::PdfFactory FixedClockPdf() {
  return [] {
    pdf::WriterServices services;
    services.now = [] { return pdf::LocalDateTime{2023, 11, 30, 9, 15, 0}; };
    services.random_digit = [] { return 7; };
    return std::make_unique<pdf::vbPDF>(services);
  };
}

class ListingWorld {
 public:
  ListingWorld() = default;

  // Writes the installation and builds the layers over it.
  void Open(output::Printers* printers = nullptr) {
    builder.Write(folder_.Path());
    prefix_ = std::make_unique<platform::WinePrefix>(folder_.Path());
    files_ = std::make_unique<platform::Files>(*prefix_);
    registry_ = std::make_unique<platform::Registry>(*prefix_);
    archives_ = std::make_unique<archive::PayrollArchives>(*prefix_, *files_, *registry_, boxes);
    archives_->SetInstanceCheck([] { return false; });
    archives_->state.NomeProgramma = "VXOREL";
    archives_->state.PERCORSOARCHIVI = demo::kArchivesFolder;
    archives_->state.RagioneSocialeInst = "STUDIO PAGHE BERTOLINI S.A.S.";
    output_ = std::make_unique<output::Output>(*archives_, printers ? *printers : recorder, boxes,
                                               FixedClockPdf());
  }

  archive::PayrollArchives& archives() { return *archives_; }
  output::Output& output() { return *output_; }
  output::RecordingPrinter& printer() { return recorder.CurrentRecorder(); }

  // Puts a company's or an employee's record in the buffer field access reads.
  void LoadCompany(int code) {
    archives_->state.RecordRepository["DITX$"] = builder.Company(code).Bytes();
  }
  void LoadEmployee(std::string_view code) {
    archives_->state.RecordRepository["DIPX$"] = builder.Employee(code).Bytes();
  }

  // The host path of a program path on drive C:.
  std::filesystem::path Linux(const std::string& windows_path) const {
    return prefix_->Map(windows_path);
  }

  demo::InstallationBuilder builder;
  platform::ScriptedMessageBoxes boxes;
  output::RecordingPrinters recorder{{"Recorder"}};

 private:
  TempFolder folder_;
  std::unique_ptr<platform::WinePrefix> prefix_;
  std::unique_ptr<platform::Files> files_;
  std::unique_ptr<platform::Registry> registry_;
  std::unique_ptr<archive::PayrollArchives> archives_;
  std::unique_ptr<output::Output> output_;
};

// The file rewritten by qpdf with every stream decoded, as text; empty when
// qpdf cannot read it.
inline std::string DecodedPdf(const std::filesystem::path& pdf, const std::string& password = "") {
  const auto out = std::filesystem::path(pdf.string() + ".qdf");
  if (Shell("qpdf --password=" + Quote(password) + " --qdf --object-streams=disable --decrypt " +
            Quote(pdf) + " " + Quote(out))
          .status != 0)
    return {};
  return ReadWholeFile(out);
}

}  // namespace vx::testing
