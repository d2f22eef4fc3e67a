#include "output/qt/qt_printers.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>
#include <QString>

#include "platform/codepage.h"
#include "platform/errors.h"

namespace vx::output {

namespace {

[[noreturn]] void Fail() { throw vx::platform::MakeRuntimeError(kPrinterError); }

QString FromCp1252(const std::string& text) {
  return QString::fromStdString(vx::platform::Cp1252ToUtf8(text));
}

QPageLayout::Orientation QtOrientation(int orientation) {
  return orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

}  // namespace

QtPrinter::QtPrinter(std::string name) : name_(std::move(name)) {}

QtPrinter::~QtPrinter() {
  // A document left open is abandoned, not printed half-way.
  if (painter_ && painter_->isActive()) {
    printer_->abort();
    painter_->end();
  }
}

void QtPrinter::SetFontSize(double points) {
  if (points <= 0) throw vx::platform::MakeRuntimeError(380);
  font_size_ = points;
}

void QtPrinter::SetOrientation(int orientation) {
  if (orientation != 1 && orientation != 2) throw vx::platform::MakeRuntimeError(380);
  orientation_ = orientation;
  // In a document already begun the new orientation applies from the next page.
  if (printer_ && !printer_->setPageOrientation(QtOrientation(orientation))) Fail();
}

void QtPrinter::Begin() {
  if (painter_ && painter_->isActive()) return;
  printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (output_file_.empty()) {
    printer_->setPrinterName(FromCp1252(name_));
    if (!printer_->isValid()) Fail();
  } else {
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(QString::fromStdString(output_file_));
  }
  // Names the job in the print queue, so the operator can tell the listing
  // apart from other jobs.
  printer_->setDocName(QStringLiteral("VXOREL - Stampa Pagamento in C/C"));
  printer_->setFullPage(false);
  printer_->setPageOrientation(QtOrientation(orientation_));
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(printer_.get())) {
    painter_.reset();
    printer_.reset();
    Fail();
  }
}

double QtPrinter::ToDevice(double twips) const {
  return twips * printer_->resolution() / 1440.0;
}

void QtPrinter::Print(const std::string& text) {
  Begin();
  QFont font(FromCp1252(font_name_));
  font.setPointSizeF(font_size_);
  font.setBold(font_bold_);
  font.setStyleHint(QFont::TypeWriter);
  painter_->setFont(font);
  QFontMetricsF metrics(font, printer_.get());
  painter_->setPen(QPen(Qt::black));
  painter_->drawText(QPointF(ToDevice(x_), ToDevice(y_) + metrics.ascent()), FromCp1252(text));
  // The next line starts at the left edge, one line lower.
  x_ = 0;
  y_ += metrics.height() * 1440.0 / printer_->resolution();
}

void QtPrinter::Box(double x1, double y1, double x2, double y2) {
  Begin();
  QPen pen(Qt::black);
  pen.setWidth(0);  // the thinnest line the device draws
  painter_->setPen(pen);
  painter_->setBrush(Qt::NoBrush);
  QPointF a(ToDevice(x1), ToDevice(y1)), b(ToDevice(x2), ToDevice(y2));
  if (a.x() == b.x() || a.y() == b.y())
    painter_->drawLine(a, b);
  else
    painter_->drawRect(QRectF(a, b).normalized());
}

void QtPrinter::NewPage() {
  Begin();
  if (!printer_->newPage()) Fail();
  x_ = y_ = 0;
}

void QtPrinter::EndDoc() {
  x_ = y_ = 0;
  if (!painter_) return;  // nothing was drawn: nothing to print
  bool ok = painter_->end();
  painter_.reset();
  printer_.reset();
  if (!ok) Fail();
}

QtPrinters::QtPrinters() {
  for (const QString& n : QPrinterInfo::availablePrinterNames())
    names_.push_back(vx::platform::Utf8ToCp1252(n.toStdString()));
  if (names_.empty()) return;
  std::string fallback = vx::platform::Utf8ToCp1252(QPrinterInfo::defaultPrinterName().toStdString());
  current_ = std::make_unique<QtPrinter>(fallback.empty() ? names_.front() : fallback);
}

QtPrinters::~QtPrinters() = default;

void QtPrinters::SetCurrent(std::size_t index) {
  if (index >= names_.size()) Fail();
  current_ = std::make_unique<QtPrinter>(names_[index]);
}

Printer& QtPrinters::Current() {
  if (!current_) return missing_;
  return *current_;
}

}  // namespace vx::output
