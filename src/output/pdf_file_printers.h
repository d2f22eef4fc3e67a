#pragma once
// A printer that writes PDF files instead of paper, for running the printer
// listing without a printer (--print-to DIR). Every printer document, from its
// first drawing to EndDoc, becomes one file DIR/NNN_CCC.pdf: NNN the
// document's number in the run from 001, CCC the company code the run gives
// before each company. Twips become points at 1440 per inch, Courier New is
// the writer's Courier, the page is A4 in the orientation set.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "output/pdf_factory.h"
#include "output/printer.h"

namespace vx::output {

class PdfFilePrinter : public Printer {
 public:
  PdfFilePrinter(std::filesystem::path folder, PdfFactory factory);
  ~PdfFilePrinter() override;

  // The company whose listing the next document holds.
  void SetCompany(std::string code) { company_ = std::move(code); }
  // Files written so far, in order.
  const std::vector<std::filesystem::path>& Written() const { return written_; }

  void SetFontName(const std::string& name) override;
  void SetFontSize(double points) override;
  void SetFontBold(bool bold) override;
  void SetCurrentX(double twips) override { x_ = twips; }
  void SetCurrentY(double twips) override { y_ = twips; }
  double CurrentX() const override { return x_; }
  double CurrentY() const override { return y_; }
  void SetOrientation(int orientation) override;
  void Print(const std::string& text) override;
  void Box(double x1, double y1, double x2, double y2) override;
  void NewPage() override;
  void EndDoc() override;

 private:
  void EnsureDocument();  // begins the file and its first page on first use
  void ApplyFont();

  std::filesystem::path folder_;
  PdfFactory factory_;
  std::unique_ptr<vx::pdf::vbPDF> pdf_;
  std::filesystem::path file_;       // the document's final name
  std::filesystem::path temporary_;  // what it is written under until ended
  std::string company_;
  int documents_ = 0;
  std::vector<std::filesystem::path> written_;
  std::string font_name_ = "Courier New";
  double font_size_ = 10;
  bool font_bold_ = false;
  int orientation_ = 1;
  double x_ = 0, y_ = 0;
};

// The one file printer, listed under the name "PDF".
class PdfFilePrinters : public Printers {
 public:
  PdfFilePrinters(std::filesystem::path folder, PdfFactory factory = {});
  std::vector<std::string> Names() const override { return {"PDF"}; }
  void SetCurrent(std::size_t index) override;
  Printer& Current() override { return printer_; }
  PdfFilePrinter& File() { return printer_; }

 private:
  PdfFilePrinter printer_;
};

}  // namespace vx::output
