// Stream objects: the encodings chosen with SetCompression, the encryption
// chosen with SetProtection, and the dictionary entries that describe them.

#include <algorithm>

#include "pdf/aes256_protection.h"
#include "pdf/encoders.h"
#include "pdf/protection.h"
#include "pdf/text_literal.h"
#include "pdf/vbpdf.h"

namespace vx::pdf {

void vbPDF::SetCompression(int32_t CompressionMode, int Quality) {
  document_.compression_mode = CompressionMode;
  document_.quality = std::clamp(Quality, 0, 3);
}

void vbPDF::SetProtection(int32_t Mode, const std::string& OwnerPwd, const std::string& UserPwd) {
  // The identifier, and with it every key, is fixed now: a Producer set
  // later changes the Info dictionary only.
  std::string document_id = document_.info.Producer + kVersion;
  UseProtection(std::make_shared<Protection>(Protection::Make(Mode, OwnerPwd, UserPwd, document_id)));
}

void vbPDF::SetProtectionAES256(const std::string& OwnerPwd, const std::string& UserPwd) {
  std::string document_id = document_.info.Producer + kVersion;
  UseProtection(std::make_shared<Aes256Protection>(OwnerPwd, UserPwd, std::move(document_id),
                                                   services_.random_bytes));
}

void vbPDF::UseProtection(std::shared_ptr<const SecurityHandler> handler) {
  document_.version_increment = std::max(document_.version_increment, handler->MinorVersion() - 3);
  document_.protection = std::move(handler);
}

void vbPDF::zzToFlateDecode(std::string& ByteArray, int32_t& BufCount,
                            int CompressionQuality) const {
  ByteArray = FlateEncode(ByteArray, CompressionQuality);
  BufCount = static_cast<int32_t>(ByteArray.size());
}

// Writes the end of a stream object's dictionary and the stream itself. The
// caller has written "<<" and its own entries. Filters the caller names mean
// the data is already encoded: only the ASCII encodings are added then.
void vbPDF::WriteStream(std::string_view data, int32_t object, std::string filters,
                        int32_t length1) {
  std::string encoded;
  auto apply = [&](std::string next, const char* filter) {
    encoded = std::move(next);
    data = encoded;
    filters.insert(0, filter);
  };
  const int32_t mode = document_.compression_mode;
  if (filters.empty()) {
    if (mode & 1) apply(RunLengthEncode(data), "/RunLengthDecode ");
    if (mode & 2) apply(FlateEncode(data, document_.quality), "/FlateDecode ");
    if (mode & 4) {
      data = lzw_.Encode(data, document_.quality);  // in the encoder's buffer, as long as needed here
      filters.insert(0, "/LZWDecode ");
    }
  }
  if (mode & 8) apply(ASCII85Encode(data), "/ASCII85Decode ");
  if (mode & 16) apply(ASCIIHexEncode(data), "/ASCIIHexDecode ");
  if (document_.protection) {
    encoded = document_.protection->Encrypt(object, data);
    data = encoded;
  }

  if (!filters.empty()) WriteLine("/Filter [" + filters + "]");
  if (length1 > 0) WriteLine("/Length1 " + std::to_string(length1));
  out_.Write("/Length " + std::to_string(data.size()) + " >>\rstream\n");
  out_.Write(data);
  out_.Write("\nendstream\n");
}

// A text literal of a dictionary belonging to `object`, encrypted first when
// the document is protected.
std::string vbPDF::Literal(std::string_view text, int32_t object) const {
  std::string literal = "(";
  if (document_.protection) {
    AppendEscaped(literal, document_.protection->Encrypt(object, text));
  } else {
    AppendEscaped(literal, text);
  }
  literal += ')';
  return literal;
}

}  // namespace vx::pdf
