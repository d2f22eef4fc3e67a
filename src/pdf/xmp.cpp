// The XMP metadata packet: the document properties again, for readers that
// look for them there rather than in the Info dictionary.

#include <cstdio>
#include <string>
#include <string_view>

#include "pdf/document_info.h"
#include "platform/codepage.h"

namespace vx::pdf {
namespace {

// Values go between tags; markup characters in a title or a company name
// would otherwise break the packet for every XML reader. The packet is read
// as UTF-8, so an accented letter of a company name (a single cp1252 byte)
// is written as a character reference: the packet stays plain ASCII and the
// reader still sees the letter.
std::string XmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default:
        if (byte < 0x80) {
          out += c;
        } else {
          char reference[16];
          const auto code_point = static_cast<unsigned>(vx::platform::Cp1252ToCodePoint(byte));
          std::snprintf(reference, sizeof reference, "&#x%X;", code_point);
          out += reference;
        }
    }
  }
  return out;
}

class Packet {
 public:
  void Line(std::string_view text) {
    if (!body_.empty()) body_ += '\r';
    body_ += text;
  }
  void Property(std::string_view tag, std::string_view value) {
    Line("  <" + std::string(tag) + ">" + XmlText(value) + "</" + std::string(tag) + ">");
  }
  void Alternative(std::string_view tag, std::string_view value) {
    Line("  <" + std::string(tag) + ">");
    Line("   <rdf:Alt>");
    Line("  <rdf:li xml:lang='x-default'>" + XmlText(value) + "</rdf:li>");
    Line("   </rdf:Alt>");
    Line("  </" + std::string(tag) + ">");
  }
  void OpenDescription(std::string_view prefix, std::string_view ns) {
    Line(" <rdf:Description about='' xmlns='" + std::string(ns) + "' xmlns:" +
         std::string(prefix) + "='" + std::string(ns) + "'>");
  }
  void CloseDescription() { Line(" </rdf:Description>"); }

  std::string Finish() const {
    // The declared size counts everything after the header line, plus 64.
    return "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='" +
           std::to_string(body_.size() + 64) + "'?>\r" + body_;
  }

 private:
  std::string body_;
};

}  // namespace

std::string BuildXmpPacket(const DocumentInfo& info) {
  const std::string& date = info.CreationDate;
  Packet xmp;
  xmp.Line(
      "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' "
      "xmlns:iX='http://ns.adobe.com/iX/1.0/'>");

  xmp.OpenDescription("pdf", "http://ns.adobe.com/pdf/1.3/");
  xmp.Property("pdf:Producer", info.Producer);
  xmp.Property("pdf:Author", info.Author);
  xmp.Property("pdf:Creator", info.Creator);
  xmp.Property("pdf:ModDate", date);
  xmp.Property("pdf:Title", info.Title);
  xmp.Property("pdf:CreationDate", date);
  xmp.Property("pdf:Subject", info.Subject);
  xmp.Property("pdf:Keywords", info.Keywords);
  xmp.CloseDescription();

  xmp.OpenDescription("xap", "http://ns.adobe.com/xap/1.0/");
  xmp.Property("xap:Author", info.Author);
  xmp.Property("xap:ModifyDate", date);
  xmp.Alternative("xap:Title", info.Title);
  xmp.Property("xap:CreateDate", date);
  xmp.Alternative("xap:Description", info.Subject);
  xmp.Property("xap:MetadataDate", date);
  xmp.CloseDescription();

  xmp.OpenDescription("dc", "http://purl.org/dc/elements/1.1/");
  xmp.Property("dc:creator", info.Creator);
  xmp.Property("dc:title", info.Title);
  xmp.Property("dc:description", info.Subject);
  xmp.CloseDescription();

  xmp.Line("</rdf:RDF>");
  xmp.Line("<?xpacket end='r'?>");
  return xmp.Finish();
}

}  // namespace vx::pdf
