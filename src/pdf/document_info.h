#pragma once
// The document's descriptive properties, as the Info dictionary and the
// metadata packet show them.

#include <string>

namespace vx::pdf {

struct DocumentInfo {
  std::string Title = "(senza titolo)";
  std::string Subject;
  std::string Keywords;
  std::string Author = "vbPDF";
  std::string Creator = "vbPDF";
  std::string Producer;  // the library banner unless set
  std::string CreationDate;  // "D:" + yyyymmddhhmmss + "Z+01'00'"
};

// The metadata packet (XMP) of a document: lines separated by CR, values
// escaped for XML.
std::string BuildXmpPacket(const DocumentInfo& info);

}  // namespace vx::pdf
