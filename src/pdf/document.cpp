// The document as a whole: its life from BeginDoc to EndDoc, the objects and
// their cross-reference table, the catalog, the Info dictionary and the
// trailer.

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "pdf/encoders.h"
#include "pdf/text_literal.h"
#include "pdf/vbpdf.h"
#include "platform/errors.h"
#include "platform/message_box.h"

namespace vx::pdf {
namespace {

using platform::RuntimeError;

void AppendPadded(std::string& out, int value, int digits) {
  char buffer[16];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  for (int i = static_cast<int>(end - buffer); i < digits; ++i) out += '0';
  out.append(buffer, end);
}

std::string CreationDate(const LocalDateTime& now) {
  std::string date = "D:";
  AppendPadded(date, now.year, 4);
  AppendPadded(date, now.month, 2);
  AppendPadded(date, now.day, 2);
  AppendPadded(date, now.hour, 2);
  AppendPadded(date, now.minute, 2);
  AppendPadded(date, now.second, 2);
  return date + "Z+01'00'";
}

// The 20-byte cross-reference entry of an object at a 0-based offset.
void AppendXrefEntry(std::string& out, int64_t offset) {
  char digits[24];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, offset);
  out.append(10 - static_cast<size_t>(end - digits), '0');
  out.append(digits, end);
  out += " 00000 n\r\n";
}

platform::MessageBox FileInUseBox() {
  platform::MessageBox box;
  box.title = "Creazione PDF";
  box.text =
      "Attenzione!\r\r"
      "Il file PDF risulta essere gi\xE0 aperto.\r\r"
      "Per proseguire chiudere il file pdf aperto e successivamente premere sul "
      "pulsante 'OK' di questo messaggio\r\r";
  box.buttons = platform::Buttons::Ok;
  box.icon = platform::Icon::Information;
  box.unattended = platform::Answer::Ok;
  return box;
}

}  // namespace

vbPDF::vbPDF(WriterServices services) : services_(std::move(services)) { Abort(); }

// The file keeps what was handed to it so far, as if the program had ended.
vbPDF::~vbPDF() { out_.Abandon(); }

void vbPDF::Abort() {
  out_.Abandon();
  document_ = DocumentState{};
  document_.info.Producer = kBanner;
  document_.info.CreationDate = CreationDate(services_.now());
  page_ = PageState{};
  text_ = TextState{};
}

void vbPDF::SetDocProperty(const std::string& DocTitle, const std::string& DocSubject,
                           const std::string& DocAuthor, const std::string& DocCreator,
                           const std::string& DocProducer, const std::string& DocKeywords) {
  DocumentInfo& info = document_.info;
  info.Title = DocTitle;
  info.Subject = DocSubject;
  info.Keywords = DocKeywords;
  if (!DocAuthor.empty()) info.Author = DocAuthor;
  if (!DocCreator.empty()) info.Creator = DocCreator;
  if (!DocProducer.empty()) info.Producer = DocProducer;
}

int32_t vbPDF::FileSize() const {
  if (out_.IsOpen()) return static_cast<int32_t>(out_.Position());
  return document_.file_size;
}

void vbPDF::RecordError(const RuntimeError& error, const std::string& operation) {
  document_.ErrNumber = error.number;
  document_.ErrSource = "vbPDF." + operation;
  document_.ErrDescription = error.description;
}

// Runs one step of BeginDoc. A file another program holds open (permission
// denied) is retried for as long as the user, told to close it, answers OK;
// nobody to answer makes it final. Other errors are recorded and BeginDoc
// goes on with its next step.
template <typename Step>
void vbPDF::RunTrapped(Step step) {
  bool retrying = false;
  for (;;) {
    try {
      step();
      if (retrying) {  // the user closed the file: the failure is over
        document_.ErrNumber = 0;
        document_.ErrSource.clear();
        document_.ErrDescription.clear();
      }
      return;
    } catch (const RuntimeError& error) {
      RecordError(error, "BeginDoc");
      if (error.number != 70 || services_.boxes == nullptr) return;
      platform::Answer answer = services_.boxes->Show(FileInUseBox());
      if (!services_.boxes->Interactive() || answer != platform::Answer::Ok) return;
      retrying = true;
    }
  }
}

// "~" + hexadecimal of day, hour, minute, second and a random digit + ".pdf".
std::string vbPDF::MadeUpFileName() const {
  LocalDateTime now = services_.now();
  std::string digits = std::to_string(now.day);
  AppendPadded(digits, now.hour, 2);
  AppendPadded(digits, now.minute, 2);
  AppendPadded(digits, now.second, 2);
  digits += static_cast<char>('0' + services_.random_digit() % 10);
  char hex[24];
  std::snprintf(hex, sizeof hex, "%llX", std::stoull(digits));
  return std::string("~") + hex + ".pdf";
}

std::string vbPDF::BeginDoc(const std::string& strFileName) {
  out_.Abandon();
  // Objects, pages and fonts belong to the file they were written to: a
  // writer used again without Abort must not refer to them in a new file.
  // Settings and properties stay.
  document_.offsets.clear();
  document_.current_object = 0;
  document_.page_count = 0;
  document_.page_objects.clear();
  document_.kids.clear();
  document_.page_open = false;
  document_.font_resources.clear();
  text_.fonts.clear();
  text_.font_index = 0;
  text_.choices.clear();
  page_.content.clear();
  document_.ErrNumber = 0;
  document_.ErrSource.clear();
  document_.ErrDescription.clear();
  std::string name = strFileName.empty() ? MadeUpFileName() : strFileName;
  document_.file_name = name;
  FileSystem& files = *services_.files;

  RunTrapped([&] {
    if (files.CanOpenForReading(name)) files.Remove(name);
  });
  RunTrapped([&] { out_.Open(files.Create(name)); });
  RunTrapped([&] {
    if (!out_.IsOpen()) return;  // the failure to create it is what matters
    WriteLine("%PDF-1.3");
    WriteLine(std::string("% ") + kBanner + " rel. " + kVersion);
  });
  document_.last_object = 3;
  return name;
}

void vbPDF::WriteLine(std::string_view text) {
  out_.Write(text);
  out_.Write('\n');
}

int32_t vbPDF::OpenObject(int32_t number) {
  if (number == 0) {
    number = ++document_.last_object;
  } else if (number > document_.last_object) {
    document_.last_object = number;
  }
  auto index = static_cast<size_t>(number);
  if (document_.offsets.size() <= index) {
    Grow(document_.offsets, index + 1);
    document_.offsets.resize(index + 1, -1);
  }
  document_.offsets[index] = out_.Position();
  char line[32];
  auto [end, error] = std::to_chars(line, line + 16, number);
  std::string_view suffix = " 0 obj\n";
  std::copy(suffix.begin(), suffix.end(), end);
  out_.Write(std::string_view(line, static_cast<size_t>(end - line) + suffix.size()));
  document_.current_object = number;
  return number;
}

// Objects 2 and 3: what pages and reusable content may refer to. Only fonts
// exist in this writer's documents, so both read the same.
void vbPDF::WriteResourceDictionary() {
  std::string text = "<<\r";
  if (!document_.font_resources.empty()) {
    text += "/Font <<\r" + document_.font_resources + ">>\r";
  }
  text += "/ProcSet [/PDF /Text ]\r\r>>";
  WriteLine(text);
}

void vbPDF::WriteCatalog(int32_t metadata_object) {
  WriteLine("<< /Type /Catalog\r/Pages 1 0 R\r/Metadata " + std::to_string(metadata_object) +
            " 0 R");
  if (document_.protection && !document_.protection->CatalogEntries().empty()) {
    WriteLine(document_.protection->CatalogEntries());
  }
  int32_t mode = document_.viewer_mode;
  switch (mode & 0xF000) {
    case 0x2000: WriteLine("/PageLayout /OneColumn"); break;
    case 0x4000: WriteLine("/PageLayout /TwoColumnLeft"); break;
    case 0x8000: WriteLine("/PageLayout /TwoColumnRight"); break;
    default: break;
  }
  switch (mode & 0xF) {
    case 1: WriteLine("/PageMode /FullScreen"); break;
    case 4: WriteLine("/PageMode /UseThumbs"); break;
    case 8:
      WriteLine("/PageMode /UseOC");
      document_.version_increment = std::max(document_.version_increment, 2);
      break;
    default: break;  // 2 (outlines) needs bookmarks, which are never made
  }
  std::string flags;
  if (mode & 0x10) flags += "/HideMenubar true ";
  if (mode & 0x20) flags += "/HideToolbar true ";
  if (mode & 0x40) flags += "/HideWindowUI true ";
  if (mode & 0x80) {
    flags += "/DisplayDocTitle true ";
    document_.version_increment = std::max(document_.version_increment, 1);
  }
  if (mode & 0x100) flags += "/CenterWindow true ";
  if (mode & 0x200) flags += "/FitWindow true ";
  WriteLine("/ViewerPreferences << " + flags + " >>");
  WriteLine(">>");
}

void vbPDF::WriteInfo() {
  const DocumentInfo& info = document_.info;
  int32_t object = document_.current_object;
  WriteLine("<<\r/Title " + Literal(info.Title, object) +      //
            "\r/Author " + Literal(info.Author, object) +      //
            "\r/Creator " + Literal(info.Creator, object) +    //
            "\r/Producer " + Literal(info.Producer, object) +  //
            "\r/CreationDate " + Literal(info.CreationDate, object) +
            "\r/Subject " + Literal(info.Subject, object) +  //
            "\r/Keywords " + Literal(info.Keywords, object) + "\r>>");
}

void vbPDF::WriteCrossReferenceAndTrailer(int32_t catalog, int32_t info, int32_t encryption) {
  int64_t xref_offset = out_.Position();
  std::string size = std::to_string(document_.last_object + 1);
  std::string table = "xref\n0 " + size + "\n0000000000 65535 f\r\n";
  table.reserve(table.size() + 20 * static_cast<size_t>(document_.last_object));
  for (int32_t number = 1; number <= document_.last_object; ++number) {
    auto index = static_cast<size_t>(number);
    int64_t offset = index < document_.offsets.size() ? document_.offsets[index] : -1;
    if (offset < 0) {
      table += "0000000000 65535 f\r\n";  // a number never used: a free entry
    } else {
      AppendXrefEntry(table, offset);
    }
  }
  out_.Write(table);

  WriteLine("trailer");
  WriteLine("<< /Size " + size + " /Info " + std::to_string(info) + " 0 R /Root " +
            std::to_string(catalog) + " 0 R");
  if (document_.protection) {
    std::string id = ASCIIHexEncode(document_.protection->Identifier());
    WriteLine("/Encrypt " + std::to_string(encryption) + " 0 R /ID [<" + id + "><" + id + ">]");
  }
  WriteLine(">>\nstartxref\n" + std::to_string(xref_offset) + "\n%%EOF");
}

void vbPDF::EndDoc() {
  if (!out_.IsOpen()) throw platform::MakeRuntimeError(52);  // no document begun
  if (document_.page_count == 0) BeginPage();
  if (document_.page_open) EndPage();

  int32_t encryption = 0;
  if (document_.protection) {
    encryption = OpenObject();
    WriteLine(document_.protection->Dictionary());
    CloseObject();
  }

  int32_t metadata = OpenObject();
  WriteLine("<< /Type /Metadata /Subtype /XML");
  WriteStream(BuildXmpPacket(document_.info), metadata);
  CloseObject();

  for (int32_t resources : {3, 2}) {
    OpenObject(resources);
    WriteResourceDictionary();
    CloseObject();
  }

  OpenObject(1);
  WriteLine("<<\r/Type /Pages /Count " + std::to_string(document_.page_count) + "\r/Kids [" +
            document_.kids + "] \r>>");
  CloseObject();

  int32_t catalog = OpenObject();
  WriteCatalog(metadata);
  CloseObject();

  int32_t info = OpenObject();
  WriteInfo();
  CloseObject();

  WriteCrossReferenceAndTrailer(catalog, info, encryption);

  if (document_.version_increment > 0) {
    out_.WriteAt(0, "%PDF-1." + std::to_string(3 + document_.version_increment));
  }
  int64_t size = out_.Position();
  out_.Close();
  document_.file_size = static_cast<int32_t>(size);
}

}  // namespace vx::pdf
