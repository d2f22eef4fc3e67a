// Pages: units and paper, the open page's content, and the page dictionary
// and content stream written when a page ends.

#include "pdf/number_format.h"
#include "pdf/paper.h"
#include "pdf/vbpdf.h"

namespace vx::pdf {

void vbPDF::SetScale(int32_t ScaleMode, float UserFactor) {
  if (ScaleMode == 255) {
    if (UserFactor > 0) page_.scale = UserFactor;  // a zero unit would divide by zero
    return;
  }
  if (std::optional<float> factor = PointsPerUnit(ScaleMode)) page_.scale = *factor;
}

void vbPDF::SetPaperSize(int32_t PaperSize, float UserWidth, float UserHeight) {
  if (PaperSize == 255) {
    page_.width = UserWidth * page_.scale;
    page_.height = UserHeight * page_.scale;
  } else if (std::optional<struct PaperSize> size = StandardPaperSize(PaperSize)) {
    page_.width = size->width;
    page_.height = size->height;
  }
}

void vbPDF::SetMargins(float Left, float Right, float Top, float Bottom, bool ClipPage) {
  page_.margin_left = Left * page_.scale;
  page_.margin_right = Right * page_.scale;
  page_.margin_top = Top * page_.scale;
  page_.margin_bottom = Bottom * page_.scale;
  page_.clip = ClipPage;
}

void vbPDF::SetPageView(int32_t ViewMode) {
  if (document_.page_open) {
    page_.page_view = ViewMode;
  } else {
    page_.default_view = ViewMode;
  }
}

void vbPDF::SetXY(float X, float Y) {
  page_.x = X * page_.scale;
  page_.y = Y * page_.scale;
}

void vbPDF::AppendContent(std::string_view line) {
  if (std::string* content = Content()) {
    content->append(line);
    content->push_back('\r');
  }
}

int32_t vbPDF::BeginPage() {
  if (document_.page_open) EndPage();
  ++document_.page_count;
  Grow(document_.page_objects, static_cast<size_t>(document_.page_count));
  document_.page_objects.push_back(0);
  page_.content.clear();
  document_.page_open = true;
  SetColorFill("Black");
  SetColorLine("Black");
  SetColorText("Black");
  page_.page_view = page_.default_view;
  page_.x = page_.y = 0;
  text_.char_spacing = text_.word_spacing = 0;
  text_.horizontal_scaling = 100;
  text_.line_spacing = 1;
  return document_.page_count;
}

void vbPDF::EndPage() {
  if (!document_.page_open) return;
  document_.page_open = false;

  // The page's own coordinates: origin at the top-left corner of the margin
  // box, y growing downward.
  const PageState& page = page_;
  std::string& bytes = scratch_;
  bytes.clear();
  bytes += "1 0 0 -1 ";
  AppendNumber(bytes, page.margin_left);
  bytes += ' ';
  AppendNumber(bytes, page.height - page.margin_top);
  bytes += " cm \r";
  if (page.clip) {
    bytes += "0 0 ";
    AppendNumber(bytes, page.width - page.margin_right - page.margin_left);
    bytes += ' ';
    AppendNumber(bytes, page.height - page.margin_bottom - page.margin_top);
    bytes += " re W n\r";
  }
  bytes += page.content;

  int32_t object = OpenObject();
  document_.page_objects.back() = object;
  std::string dictionary = "<< /Type /Page /Parent 1 0 R /Contents ";
  dictionary += std::to_string(object + 1);
  dictionary += " 0 R\r";
  switch (page.page_view) {
    case 1: dictionary += "/Rotate 270\r"; break;
    case 2: dictionary += "/Rotate 180\r"; break;
    case 3: dictionary += "/Rotate 90\r"; break;
    default: break;
  }
  std::string box = "[0 0 ";
  AppendNumber(box, page.width);
  box += ' ';
  AppendNumber(box, page.height);
  box += "]\r";
  dictionary += "/MediaBox " + box + "/CropBox " + box + "/BleedBox " + box;
  dictionary += "/Resources 2 0 R>>";
  WriteLine(dictionary);
  CloseObject();
  document_.kids += std::to_string(object);
  document_.kids += " 0 R ";

  OpenObject(object + 1);
  WriteLine("<<");
  WriteStream(bytes, object + 1);
  CloseObject();
}

}  // namespace vx::pdf
