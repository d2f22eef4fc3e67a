#pragma once
// vbPDF: the program's own PDF writer. One object writes one PDF 1.3 file
// front to back, never reading it back: the fonts, pages and drawing the
// listing needs, standard Type 1 fonts only, optional stream compression and
// password protection (RC4, or AES-256 in a file that declares version 1.7).
//
// Lengths are user units (SetScale) measured from the top-left corner of the
// margin box, y growing downward. Texts and file bytes are single-byte
// (cp1252) strings. Operations other than BeginDoc let file errors propagate
// as vx::platform::RuntimeError; BeginDoc records them in ErrNumber,
// ErrSource and ErrDescription instead (see there).

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pdf/buffered_output.h"
#include "pdf/document_info.h"
#include "pdf/encoders.h"
#include "pdf/font_metrics.h"
#include "pdf/security_handler.h"
#include "pdf/writer_services.h"

namespace vx::platform {
struct RuntimeError;
}

namespace vx::pdf {

class vbPDF {
 public:
  explicit vbPDF(WriterServices services = {});
  vbPDF(const vbPDF&) = delete;
  vbPDF& operator=(const vbPDF&) = delete;
  // Leaves a file still open as it is (unfinished), like Abort would.
  ~vbPDF();

  // The boxes that ask the user to close a PDF open elsewhere (may be null).
  void SetMessageBoxes(platform::MessageBoxes* boxes) { services_.boxes = boxes; }

  // --- Document -----------------------------------------------------------

  // Starts a new document in strFileName (made up in the current folder when
  // empty) and returns the name used. A file of that name is replaced.
  // Settings and properties carry over; objects, pages and fonts of an
  // earlier file do not. Errors
  // are recorded, not thrown; "permission denied" (typically the file is
  // open in a viewer) asks the user to close it and tries again. When nobody
  // can answer, the error stays recorded and no file is open: check
  // ErrNumber() after the call.
  std::string BeginDoc(const std::string& strFileName = "");
  // Completes and closes the file: pending page, metadata, resources, page
  // tree, catalog, Info, cross-reference table and trailer.
  void EndDoc();
  // Closes the file unfinished, if one is open, and resets every setting.
  void Abort();

  void SetDocProperty(const std::string& DocTitle = "", const std::string& DocSubject = "",
                      const std::string& DocAuthor = "", const std::string& DocCreator = "",
                      const std::string& DocProducer = "", const std::string& DocKeywords = "");
  void SetViewerPreferences(int32_t Mode) { document_.viewer_mode = Mode; }
  void SetMemoryUsage(int16_t Value) { document_.memory_usage = Value < 1 ? 1 : Value; }
  // Mode bits: 1 run-length, 2 Flate, 4 LZW, 8 ASCII85, 16 ASCIIHex.
  void SetCompression(int32_t CompressionMode, int Quality = 0);
  // Encrypts the document (standard security handler). Call after
  // SetDocProperty and before the first page.
  void SetProtection(int32_t Mode, const std::string& OwnerPwd, const std::string& UserPwd);
  // Encrypts the document with AES-256 instead, printing and copying
  // allowed, nothing else; the file declares version 1.7 with the extension
  // level that brings AES-256. Same call order as SetProtection. Throws
  // PasswordRefused (aes256_protection.h) for a password nobody could type.
  void SetProtectionAES256(const std::string& OwnerPwd, const std::string& UserPwd);
  // Replaces ByteArray by its Flate encoding and BufCount by its length.
  void zzToFlateDecode(std::string& ByteArray, int32_t& BufCount, int CompressionQuality) const;

  // True between a successful BeginDoc and EndDoc (or Abort).
  bool IsFileOpen() const { return out_.IsOpen(); }
  // While a file is open, its length so far; afterwards, the finished size.
  int32_t FileSize() const;
  int32_t ErrNumber() const { return document_.ErrNumber; }
  const std::string& ErrSource() const { return document_.ErrSource; }
  const std::string& ErrDescription() const { return document_.ErrDescription; }
  std::string Version() const { return kVersion; }

  static constexpr const char* kVersion = "2.4.8";
  // Names the library; its 0xA9 byte marks the file as binary in the header.
  static constexpr const char* kBanner = "vbPDF \xA9 VXOREL";

  // --- Pages, units and paper ---------------------------------------------

  // 0 point, 1 inch, 2 millimetre, 3 centimetre, 255 UserFactor points.
  void SetScale(int32_t ScaleMode, float UserFactor = 1.0f);
  // -8..17 (A0 to A7, Letter, Tabloid, Legal, Statement, Executive; even
  // codes portrait) or 255 for UserWidth x UserHeight in user units.
  void SetPaperSize(int32_t PaperSize, float UserWidth = 0, float UserHeight = 0);
  void SetMargins(float Left, float Right, float Top, float Bottom, bool ClipPage = false);
  // 1 "/Rotate 270", 2 "/Rotate 180", 3 "/Rotate 90", else no rotation.
  void SetPageView(int32_t ViewMode);
  // Ends the open page, if any, and begins the next; returns its number.
  int32_t BeginPage();
  void EndPage();
  void SetXY(float X, float Y);
  float GetX() const { return page_.x / page_.scale; }
  float GetY() const { return page_.y / page_.scale; }
  int32_t GetPage() const { return document_.page_count; }

  // --- Fonts and text ------------------------------------------------------

  // Style bits: 1 bold, 2 italic, 4 underline, 8 overline, 16 strike-through.
  // Encoding 1 is Mac Roman, anything else Windows ANSI.
  void SetFont(const std::string& FontFamily, float Size, int32_t Style = 0,
               int32_t Encoding = 0);
  void SetFontSize(float Points);
  // Y is the baseline. Align (mod 8): 2 ends the text at X, 4 centres it on
  // X, anything else starts it at X.
  void DrawText(float X, float Y, const std::string& Text, int32_t Align = 0);
  float TextLength(const std::string& Text) const;
  float TextHeight() const;

  // --- Lines, rectangles and colours ---------------------------------------

  void SetLineWidth(float Width);
  // Options: 1 no stroke, 2 close, 4 fill, 128 clip. Ray rounds the corners
  // chosen by RoundedCorner (1 top left, 2 top right, 4 bottom right,
  // 8 bottom left).
  void DrawRect(float X, float Y, float xDim, float YDim, int32_t Options = 0, float Ray = 0,
                int32_t RoundedCorner = 15);
  // Colours: a name ("Black", "navy" ...), "#rrggbb", "%" + percent of grey,
  // or "@" + components 0..255 separated by ";" (three: red, green, blue;
  // four: cyan, magenta, yellow, black).
  void SetColorFill(const std::string& Color);
  void SetColorLine(const std::string& Color);
  void SetColorText(const std::string& Color) { text_.color_text = Color; }

 private:
  struct FontEntry {
    std::string key;        // upper-case base font name ("MAC" in front for Mac Roman)
    std::string name;       // resource name used in content streams
    std::string base_font;  // written after /BaseFont
    const WidthTable* widths = nullptr;
    int32_t height = 0;
    int32_t descent = 0;
    int32_t encoding = 0;
  };

  struct DocumentState {
    std::string file_name;
    int32_t file_size = 0;
    int32_t last_object = 3;
    std::vector<int64_t> offsets;  // by object number; the xref entries
    int32_t current_object = 0;
    int32_t page_count = 0;
    std::vector<int32_t> page_objects;  // by page number - 1
    std::string kids;
    bool page_open = false;
    std::string font_resources;
    DocumentInfo info;
    int32_t viewer_mode = 0;
    int32_t version_increment = 0;
    int32_t compression_mode = 0;
    int quality = 0;
    int16_t memory_usage = 1;
    std::shared_ptr<const SecurityHandler> protection;
    int32_t ErrNumber = 0;
    std::string ErrSource;
    std::string ErrDescription;
  };

  struct PageState {
    float scale = 1.0f;
    float width = 596, height = 842;
    float margin_left = 0, margin_right = 0, margin_top = 0, margin_bottom = 0;
    bool clip = false;
    int32_t default_view = 0, page_view = 0;
    float x = 0, y = 0;
    std::string content;  // operators of the open page
  };

  struct ColourCache {
    bool valid = false;
    std::string colour, line;
  };

  // A font asked for and the entry it found: a listing names the same few
  // fonts over and over, and fonts are only added within a file.
  struct FontChoice {
    std::string family;
    int32_t style = 0, encoding = 0;
    size_t index = 0;  // 1-based
  };

  struct TextState {
    std::vector<FontEntry> fonts;
    size_t font_index = 0;  // 1-based; 0 while no font is set
    std::vector<FontChoice> choices;
    std::string font_family;
    int32_t style = 0;
    float size = 10;
    float char_spacing = 0, word_spacing = 0, horizontal_scaling = 100, line_spacing = 1;
    float line_width = 0;
    std::string color_fill = "#FFFFFF", color_line = "#000000", color_text = "#000000";
    ColourCache fill_cache, stroke_cache;
  };

  // Document structure (document.cpp).
  void WriteLine(std::string_view text);
  int32_t OpenObject(int32_t number = 0);
  void CloseObject() { WriteLine("endobj"); }
  void WriteResourceDictionary();
  void WriteCatalog(int32_t metadata_object);
  void WriteInfo();
  void WriteCrossReferenceAndTrailer(int32_t catalog, int32_t info, int32_t encryption);
  void RecordError(const platform::RuntimeError& error, const std::string& operation);
  template <typename Step>
  void RunTrapped(Step step);
  std::string MadeUpFileName() const;
  template <typename T>
  void Grow(std::vector<T>& table, size_t needed) const;

  // Streams, compression and protection (stream.cpp).
  void WriteStream(std::string_view data, int32_t object, std::string filters = "",
                   int32_t length1 = 0);
  std::string Literal(std::string_view text, int32_t object) const;
  void UseProtection(std::shared_ptr<const SecurityHandler> handler);

  // Pages (page.cpp).
  // The open page's operators; null while no page is open, so that what is
  // drawn outside a page is dropped.
  std::string* Content() { return document_.page_open ? &page_.content : nullptr; }
  void AppendContent(std::string_view line);

  // Graphics (graphics.cpp).
  void AppendColour(const std::string& colour, bool stroke);

  // Fonts and text (fonts.cpp, text.cpp).
  const FontEntry* CurrentFont() const;
  void WriteFontObject(const FontEntry& font);

  WriterServices services_;
  BufferedOutput out_;
  DocumentState document_;
  PageState page_;
  TextState text_;
  std::string scratch_;  // reused for the bytes of one page
  LZWEncoder lzw_;       // its table serves every stream of the document
};

// Tables grow in steps set by the memory-usage factor; a step is never less
// than half the table, so that long documents do not spend their time
// copying.
template <typename T>
inline void vbPDF::Grow(std::vector<T>& table, size_t needed) const {
  if (needed <= table.capacity()) return;
  size_t used = table.size();
  size_t factor = static_cast<size_t>(document_.memory_usage);
  size_t capacity = table.capacity() == 0 ? 10 * factor
                    : factor == 1          ? used + 10
                                           : factor * used / 5 + used + 10;
  capacity = std::max({capacity, used + used / 2, needed});
  table.reserve(capacity);
}

}  // namespace vx::pdf
