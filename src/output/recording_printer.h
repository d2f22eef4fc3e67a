#pragma once
// A printer that records every call with its arguments, for tests and for
// checking a listing without paper. Calls are kept per document: a document
// runs from its first call to EndDoc.

#include <memory>
#include <string>
#include <vector>

#include "output/printer.h"

namespace vx::output {

struct PrinterCall {
  // "FontName", "FontSize", "FontBold", "CurrentX", "CurrentY",
  // "Orientation", "Print", "Box", "NewPage", "EndDoc".
  std::string op;
  std::string text;          // FontName, Print
  std::vector<double> args;  // numbers in the order of the call
  // State at the moment of a Print or Box (font and position).
  std::string font_name;
  double font_size = 0;
  bool font_bold = false;
  double x = 0, y = 0;
};

class RecordingPrinter : public Printer {
 public:
  explicit RecordingPrinter(std::string name = "Recorder") : name_(std::move(name)) {}

  void SetFontName(const std::string& name) override;
  void SetFontSize(double points) override;
  void SetFontBold(bool bold) override;
  void SetCurrentX(double twips) override;
  void SetCurrentY(double twips) override;
  double CurrentX() const override { return x_; }
  double CurrentY() const override { return y_; }
  void SetOrientation(int orientation) override;
  void Print(const std::string& text) override;
  void Box(double x1, double y1, double x2, double y2) override;
  void NewPage() override;
  void EndDoc() override;

  const std::string& Name() const { return name_; }
  // Finished documents, then the one in progress (if any call was made).
  std::vector<std::vector<PrinterCall>> documents;
  // The calls of the document in progress.
  std::vector<PrinterCall> current;
  // Only the Print and Box calls of every finished document, then of the
  // one in progress, in order.
  std::vector<PrinterCall> Drawings() const;

 private:
  void Record(std::string op, std::string text, std::vector<double> args);

  std::string name_;
  std::string font_name_;
  double font_size_ = 0;
  bool font_bold_ = false;
  double x_ = 0, y_ = 0;
};

// A set of recording printers with the names given, the first current.
class RecordingPrinters : public Printers {
 public:
  explicit RecordingPrinters(std::vector<std::string> names = {"Recorder"});
  std::vector<std::string> Names() const override;
  void SetCurrent(std::size_t index) override;
  Printer& Current() override { return *printers_[current_]; }

  RecordingPrinter& At(std::size_t index) { return *printers_[index]; }
  RecordingPrinter& CurrentRecorder() { return *printers_[current_]; }
  std::size_t CurrentIndex() const { return current_; }

 private:
  std::vector<std::unique_ptr<RecordingPrinter>> printers_;
  std::size_t current_ = 0;
};

}  // namespace vx::output
