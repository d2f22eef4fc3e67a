#include "output/recording_printer.h"

#include "platform/errors.h"

namespace vx::output {

namespace {
// Courier New's line height, 1133 thousandths of the size, in twips.
double LineHeightTwips(double points) { return points * 1.133 * 20.0; }
}  // namespace

void RecordingPrinter::Record(std::string op, std::string text, std::vector<double> args) {
  PrinterCall call;
  call.op = std::move(op);
  call.text = std::move(text);
  call.args = std::move(args);
  call.font_name = font_name_;
  call.font_size = font_size_;
  call.font_bold = font_bold_;
  call.x = x_;
  call.y = y_;
  current.push_back(std::move(call));
}

void RecordingPrinter::SetFontName(const std::string& name) {
  font_name_ = name;
  Record("FontName", name, {});
}

void RecordingPrinter::SetFontSize(double points) {
  font_size_ = points;
  Record("FontSize", {}, {points});
}

void RecordingPrinter::SetFontBold(bool bold) {
  font_bold_ = bold;
  Record("FontBold", {}, {bold ? 1.0 : 0.0});
}

void RecordingPrinter::SetCurrentX(double twips) {
  x_ = twips;
  Record("CurrentX", {}, {twips});
}

void RecordingPrinter::SetCurrentY(double twips) {
  y_ = twips;
  Record("CurrentY", {}, {twips});
}

void RecordingPrinter::SetOrientation(int orientation) {
  if (orientation != 1 && orientation != 2) throw vx::platform::MakeRuntimeError(380);
  Record("Orientation", {}, {static_cast<double>(orientation)});
}

void RecordingPrinter::Print(const std::string& text) {
  Record("Print", text, {});
  // Like the platform's printer: the next line starts at the left edge.
  x_ = 0;
  y_ += LineHeightTwips(font_size_);
}

void RecordingPrinter::Box(double x1, double y1, double x2, double y2) {
  Record("Box", {}, {x1, y1, x2, y2});
}

void RecordingPrinter::NewPage() {
  Record("NewPage", {}, {});
  x_ = y_ = 0;
}

void RecordingPrinter::EndDoc() {
  Record("EndDoc", {}, {});
  documents.push_back(std::move(current));
  current.clear();
  x_ = y_ = 0;
}

std::vector<PrinterCall> RecordingPrinter::Drawings() const {
  std::vector<PrinterCall> out;
  auto add = [&out](const std::vector<PrinterCall>& calls) {
    for (const auto& c : calls)
      if (c.op == "Print" || c.op == "Box") out.push_back(c);
  };
  for (const auto& d : documents) add(d);
  add(current);
  return out;
}

RecordingPrinters::RecordingPrinters(std::vector<std::string> names) {
  for (auto& n : names) printers_.push_back(std::make_unique<RecordingPrinter>(std::move(n)));
  if (printers_.empty()) printers_.push_back(std::make_unique<RecordingPrinter>());
}

std::vector<std::string> RecordingPrinters::Names() const {
  std::vector<std::string> out;
  for (const auto& p : printers_) out.push_back(p->Name());
  return out;
}

void RecordingPrinters::SetCurrent(std::size_t index) {
  if (index >= printers_.size()) throw vx::platform::MakeRuntimeError(kPrinterError);
  current_ = index;
}

}  // namespace vx::output
