#pragma once
// How the output code gets a fresh PDF writer. The run passes one that fixes
// the writer's clock and random source in tests, so that files compare byte
// for byte; an empty factory means a writer with the real clock.

#include <functional>
#include <memory>

namespace vx::pdf {
class vbPDF;
}

namespace vx::output {

using PdfFactory = std::function<std::unique_ptr<vx::pdf::vbPDF>()>;

// A writer from the factory, or a default one when the factory is empty.
std::unique_ptr<vx::pdf::vbPDF> MakePdf(const PdfFactory& factory);

}  // namespace vx::output
