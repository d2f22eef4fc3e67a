// Font selection and measurement with the standard Type 1 fonts: the name
// mapping, one font object per distinct font, widths from the built-in
// metrics.

#include <algorithm>
#include <cctype>
#include <iterator>
#include <optional>

#include "pdf/vbpdf.h"
#include "platform/errors.h"

namespace vx::pdf {
namespace {

std::string Upper(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return upper;
}

std::string StyleSuffix(int32_t style) {
  switch (style & 3) {
    case 1: return ",Bold";
    case 2: return ",Italic";
    case 3: return ",BoldItalic";
    default: return "";
  }
}

struct KnownFamily {
  std::string_view family;  // the name written into the file
  MetricFamily metrics;
  bool styled;
};

// The family a name stands for; names of no standard family are measured
// and declared as Arial.
std::optional<KnownFamily> FamilyOf(std::string_view upper_name) {
  if (upper_name == "TIMES" || upper_name == "TIMESNEWROMAN")
    return KnownFamily{"TimesNewRoman", MetricFamily::TimesNewRoman, true};
  if (upper_name == "COURIER" || upper_name == "COURIERNEW")
    return KnownFamily{"CourierNew", MetricFamily::CourierNew, true};
  if (upper_name == "HELVETICA" || upper_name == "ARIAL")
    return KnownFamily{"Arial", MetricFamily::Arial, true};
  if (upper_name == "SYMBOL") return KnownFamily{"Symbol", MetricFamily::Symbol, false};
  if (upper_name == "ZAPFDINGBATS")
    return KnownFamily{"ZapfDingbats", MetricFamily::ZapfDingbats, false};
  return std::nullopt;
}

}  // namespace

void vbPDF::SetFont(const std::string& FontFamily, float Size, int32_t Style,
                    int32_t Encoding) {
  text_.font_family = FontFamily;
  text_.style = Style;
  if (Size != 0) text_.size = Size;
  if (text_.size == 0) text_.size = 10;

  // The same request finds the same entry as long as the fonts are those of
  // the same file: entries are only appended, and the search takes the first.
  for (const FontChoice& choice : text_.choices) {
    if (choice.style == Style && choice.encoding == Encoding && choice.family == FontFamily) {
      text_.font_index = choice.index;
      return;
    }
  }

  std::string name;
  std::remove_copy(FontFamily.begin(), FontFamily.end(), std::back_inserter(name), ' ');
  std::optional<KnownFamily> known = FamilyOf(Upper(name));
  if (known) {
    name = std::string(known->family);
    if (known->styled) name += StyleSuffix(Style);
  }
  if (Encoding == 1) name.insert(0, "MAC");

  // An unknown family is filed under the Arial key it is declared with, but
  // found again by its own name, so that it gets one font object only.
  std::string key = Upper(name);
  for (size_t i = 0; i < text_.fonts.size(); ++i) {
    const FontEntry& entry = text_.fonts[i];
    if ((entry.key == key || Upper(entry.name) == key) && entry.encoding == Encoding) {
      text_.font_index = i + 1;
      text_.choices.push_back({FontFamily, Style, Encoding, text_.font_index});
      return;
    }
  }

  // A new font is written at once: without a file, fail before the font
  // table holds an entry whose object was never written.
  if (!out_.IsOpen()) throw platform::MakeRuntimeError(52);

  KnownFamily family = known.value_or(KnownFamily{"Arial", MetricFamily::Arial, true});
  const FamilyMetrics& metrics = BuiltInMetrics(family.metrics);
  FontEntry entry;
  entry.name = name;
  entry.base_font = std::string(family.family);
  if (family.styled) entry.base_font += StyleSuffix(Style);
  entry.key = (Encoding == 1 ? "MAC" : "") + Upper(entry.base_font);
  entry.widths = metrics.widths[family.styled ? (Style & 3) : 0];
  entry.height = metrics.height;
  entry.descent = metrics.descent;
  entry.encoding = Encoding;

  Grow(text_.fonts, text_.fonts.size() + 1);
  text_.fonts.push_back(std::move(entry));
  text_.font_index = text_.fonts.size();
  WriteFontObject(text_.fonts.back());
  text_.choices.push_back({FontFamily, Style, Encoding, text_.font_index});
}

void vbPDF::WriteFontObject(const FontEntry& font) {
  int32_t object = OpenObject();
  document_.font_resources += "/" + font.name + " " + std::to_string(object) + " 0 R ";
  WriteLine("<< /Type /Font /Subtype /Type1 /Name /" + font.name + " /BaseFont /" +
            font.base_font + " /FirstChar 0 /LastChar 255");
  std::string base = Upper(font.base_font);
  if (base != "SYMBOL" && base != "ZAPFDINGBATS") {
    WriteLine(std::string("/Encoding << /Type /Encoding /BaseEncoding /") +
              (font.encoding == 1 ? "MacRomanEncoding" : "WinAnsiEncoding") + ">>");
  }
  WriteLine(" >>");
  CloseObject();
}

const vbPDF::FontEntry* vbPDF::CurrentFont() const {
  if (text_.font_index == 0) return nullptr;
  return &text_.fonts[text_.font_index - 1];
}

void vbPDF::SetFontSize(float Points) { text_.size = Points; }

float vbPDF::TextLength(const std::string& Text) const {
  const FontEntry* font = CurrentFont();
  if (font == nullptr) return 0;
  int64_t thousandths = 0;
  size_t spaces = 0;
  for (char c : Text) {
    thousandths += (*font->widths)[static_cast<unsigned char>(c)];
    if (c == ' ') ++spaces;
  }
  float length = static_cast<float>(thousandths) * text_.size / 1000.0f +
                 text_.word_spacing * static_cast<float>(spaces) +
                 text_.char_spacing * static_cast<float>(Text.size());
  return length * text_.horizontal_scaling / 100.0f / page_.scale;
}

float vbPDF::TextHeight() const {
  const FontEntry* font = CurrentFont();
  if (font == nullptr) return 0;
  return static_cast<float>(font->height) * text_.size / 1000.0f / page_.scale;
}

}  // namespace vx::pdf
