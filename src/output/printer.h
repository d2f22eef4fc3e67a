#pragma once
// The printer the listing draws on: what the platform's printer object
// offers, nothing more. Positions are twips (1440 per inch, 567 per cm)
// from the top-left corner of the printable area; Print puts the top of the
// text line at CurrentY and moves CurrentY to the next line. Any failure of a
// printer raises vx::platform::RuntimeError 482.

#include <cstddef>
#include <string>
#include <vector>

namespace vx::output {

inline constexpr int kPrinterError = 482;

class Printer {
 public:
  virtual ~Printer();
  virtual void SetFontName(const std::string& name) = 0;
  virtual void SetFontSize(double points) = 0;
  virtual void SetFontBold(bool bold) = 0;
  virtual void SetCurrentX(double twips) = 0;
  virtual void SetCurrentY(double twips) = 0;
  virtual double CurrentX() const = 0;
  virtual double CurrentY() const = 0;
  // 1 portrait, 2 landscape; takes effect from the next page begun.
  virtual void SetOrientation(int orientation) = 0;
  // Draws cp1252 text at the current position.
  virtual void Print(const std::string& text) = 0;
  // The outline of a rectangle between two corners, black and unfilled (the
  // Line method in box mode); a zero width or height gives a straight line.
  virtual void Box(double x1, double y1, double x2, double y2) = 0;
  virtual void NewPage() = 0;
  // Ends the document: what was drawn since the first drawing is printed.
  virtual void EndDoc() = 0;
};

// The installed printers, in the order the platform lists them, and the one
// that printing goes to.
class Printers {
 public:
  virtual ~Printers();
  virtual std::vector<std::string> Names() const = 0;
  virtual void SetCurrent(std::size_t index) = 0;
  virtual Printer& Current() = 0;
};

// Twips per centimetre, as the printer coordinates count them.
inline constexpr double kTwipsPerCm = 567.0;

}  // namespace vx::output
