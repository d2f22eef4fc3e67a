#include "output/pdf_factory.h"

#include "pdf/vbpdf.h"

namespace vx::output {

std::unique_ptr<vx::pdf::vbPDF> MakePdf(const PdfFactory& factory) {
  if (factory) return factory();
  return std::make_unique<vx::pdf::vbPDF>();
}

}  // namespace vx::output
