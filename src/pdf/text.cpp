// Drawing text at a baseline, with the page's y-downward coordinates flipped
// back by the text matrix so that glyphs stand upright.

#include <utility>

#include "pdf/colour.h"
#include "pdf/number_format.h"
#include "pdf/text_literal.h"
#include "pdf/vbpdf.h"

namespace vx::pdf {

void vbPDF::DrawText(float X, float Y, const std::string& Text, int32_t Align) {
  const float scale = page_.scale;
  if (Text.find_first_not_of(' ') == std::string::npos) {
    page_.x = X * scale;
    page_.y = Y * scale;
    return;
  }
  // Text drawn before any SetFont comes out in the default family rather
  // than naming a font the document does not have.
  if (CurrentFont() == nullptr) SetFont("Arial", text_.size, text_.style, 0);

  const float width = TextLength(Text);
  float offset = 0;
  if (Align % 8 == 2) offset = -width;
  if (Align % 8 == 4) offset = -width / 2;
  const float left = (offset + X) * scale;
  const float baseline = Y * scale;

  std::string saved_fill = text_.color_fill;
  SetColorFill(text_.color_text);
  if (std::string* content = Content()) {
    content->append("BT\r/");
    content->append(CurrentFont()->name);
    content->push_back(' ');
    AppendNumber(*content, text_.size);
    content->append(" Tf ");
    AppendNumber(*content, text_.size);
    content->append(" TL\r1 0 0 -1 ");
    AppendNumber(*content, left);
    content->push_back(' ');
    AppendNumber(*content, baseline);
    content->append(" Tm\r(");
    AppendEscaped(*content, Text);
    content->append(") Tj\rET\r");
  }
  SetColorFill(saved_fill);

  if (text_.style & (4 | 8 | 16)) {
    std::string saved_line = text_.color_line;
    AppendContent("q");
    SetColorLine(text_.color_text);
    std::string line = FormatNumber(text_.size / 16) + " w ";
    AppendContent(line);
    line = "1 0 0 1 " + FormatNumber(left) + " " + FormatNumber(baseline) + " cm";
    AppendContent(line);
    // Offsets from the baseline, negative above it.
    const float size = text_.size;
    for (auto [bit, at] : {std::pair{4, size / 8}, {8, -0.8f * size}, {16, -0.3f * size}}) {
      if (!(text_.style & bit)) continue;
      std::string y = FormatNumber(at);
      AppendContent("0 " + y + " m " + FormatNumber(width * scale) + " " + y + " l S");
    }
    SetColorLine(saved_line);
    AppendContent("Q");
  }

  page_.x = (X + width) * scale;
  page_.y = baseline;
}

}  // namespace vx::pdf
