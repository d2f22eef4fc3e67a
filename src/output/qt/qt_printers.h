#pragma once
// The installed printers, reached through Qt Print Support (the CUPS queues
// on Linux). Positions are twips from the top-left corner of the printable
// area; Print puts the top of the text line at CurrentY. A QGuiApplication
// must exist before the first drawing.

#include <memory>
#include <string>
#include <vector>

#include "output/no_printers.h"
#include "output/printer.h"

class QPrinter;
class QPainter;

namespace vx::output {

class QtPrinter : public Printer {
 public:
  explicit QtPrinter(std::string name);
  ~QtPrinter() override;

  const std::string& Name() const { return name_; }
  // Prints into a PDF file instead of the named printer (to look at a
  // listing without paper, and for tests).
  void SetOutputFile(std::string path) { output_file_ = std::move(path); }

  void SetFontName(const std::string& name) override { font_name_ = name; }
  void SetFontSize(double points) override;
  void SetFontBold(bool bold) override { font_bold_ = bold; }
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
  void Begin();  // starts the document on the first drawing
  double ToDevice(double twips) const;

  std::string name_;
  std::string output_file_;
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
  std::string font_name_ = "Courier New";
  double font_size_ = 10;
  bool font_bold_ = false;
  int orientation_ = 1;
  double x_ = 0, y_ = 0;
};

class QtPrinters : public Printers {
 public:
  // The printers installed now; the system's default printer is current.
  QtPrinters();
  ~QtPrinters() override;
  std::vector<std::string> Names() const override { return names_; }
  void SetCurrent(std::size_t index) override;
  Printer& Current() override;

 private:
  std::vector<std::string> names_;
  std::unique_ptr<QtPrinter> current_;
  MissingPrinter missing_;
};

}  // namespace vx::output
