// Line width, rectangles (square or with rounded corners) and the fill and
// stroke colours.

#include <algorithm>
#include <cmath>

#include "pdf/colour.h"
#include "pdf/number_format.h"
#include "pdf/vbpdf.h"

namespace vx::pdf {
namespace {

// The painting operator for DrawRect's option bits: 1 leaves the outline
// unstroked, 2 closes the path, 4 fills (even-odd), 128 also clips.
std::string PaintOperator(int32_t options) {
  std::string op;
  if (options & 4) {
    op = (options & 1) ? "f*" : (options & 2) ? "b*" : "B*";
  } else if (options & 1) {
    op = (options & 2) ? "h" : "";
  } else {
    op = (options & 2) ? "h S" : "S";
  }
  if (options & 128) op = op.empty() ? "W n" : "W " + op;  // a clip needs an operator to end it
  return op;
}

}  // namespace

void vbPDF::SetLineWidth(float Width) {
  if (Width < 0) return;
  text_.line_width = Width * page_.scale;
  if (std::string* content = Content()) {
    AppendNumber(*content, text_.line_width);
    content->append(" w\r");
  }
}

// Texts switch the fill colour twice each, mostly between the same two
// colours: the line of the last colour is kept rather than parsed again.
void vbPDF::AppendColour(const std::string& colour, bool stroke) {
  std::string* content = Content();
  if (content == nullptr) return;
  ColourCache& cache = stroke ? text_.stroke_cache : text_.fill_cache;
  if (!cache.valid || cache.colour != colour) {
    cache.line.clear();
    AppendColourLine(cache.line, colour, stroke);
    cache.colour = colour;
    cache.valid = true;
  }
  content->append(cache.line);
}

void vbPDF::SetColorFill(const std::string& Color) {
  text_.color_fill = Color;
  AppendColour(Color, false);
}

void vbPDF::SetColorLine(const std::string& Color) {
  text_.color_line = Color;
  AppendColour(Color, true);
}

void vbPDF::DrawRect(float X, float Y, float xDim, float YDim, int32_t Options, float Ray,
                     int32_t RoundedCorner) {
  const float scale = page_.scale;
  const float x = X * scale, y = Y * scale, w = xDim * scale, h = YDim * scale;
  std::string op = PaintOperator(Options);
  if (std::string* content = Content()) {
    std::string& c = *content;
    auto point = [&c](float px, float py) {
      AppendNumber(c, px);
      c.push_back(' ');
      AppendNumber(c, py);
      c.push_back(' ');
    };
    if (Ray <= 0) {
      point(x, y);
      point(w, h);
      c.append("re\r");
    } else {
      // Corners are rounded with cubic quarter arcs whose control points
      // lie 0.55 radius from the arc's ends towards the corner. Width and
      // height may be negative (drawn leftward or upward): the signs carry
      // the arcs the same way.
      float r = Ray * scale;
      r = std::min({r, std::abs(w) / 2, std::abs(h) / 2});
      const float sx = w < 0 ? -1.0f : 1.0f, sy = h < 0 ? -1.0f : 1.0f;
      const float rx = r * sx, ry = r * sy, kx = 0.45f * rx, ky = 0.45f * ry;
      const float r_tl = (RoundedCorner & 1) ? 1 : 0, r_tr = (RoundedCorner & 2) ? 1 : 0;
      const float r_br = (RoundedCorner & 4) ? 1 : 0, r_bl = (RoundedCorner & 8) ? 1 : 0;
      point(x + rx * r_tl, y);
      c.append("m\r");
      point(x + w - rx * r_tr, y);
      c.append("l\r");
      if (r_tr > 0) {
        point(x + w - kx, y);
        point(x + w, y + ky);
        point(x + w, y + ry);
        c.append("c\r");
      }
      point(x + w, y + h - ry * r_br);
      c.append("l\r");
      if (r_br > 0) {
        point(x + w, y + h - ky);
        point(x + w - kx, y + h);
        point(x + w - rx, y + h);
        c.append("c\r");
      }
      point(x + rx * r_bl, y + h);
      c.append("l\r");
      if (r_bl > 0) {
        point(x + kx, y + h);
        point(x, y + h - ky);
        point(x, y + h - ry);
        c.append("c\r");
      }
      point(x, y + ry * r_tl);
      c.append("l\r");
      if (r_tl > 0) {
        point(x, y + ky);
        point(x + kx, y);
        point(x + rx, y);
        c.append("c\r");
      }
      c.append("h\r");
    }
    if (!op.empty()) {
      c.append(op);
      c.push_back('\r');
    }
  }
  page_.x = x;
  page_.y = y;
}

}  // namespace vx::pdf
