#pragma once
// What the writer asks of a document's protection, whichever cipher it uses:
// the encrypted bytes of every stream and text literal, the encryption
// dictionary, and what the file's header and catalog must declare for
// readers to know how to open it.

#include <cstdint>
#include <string>
#include <string_view>

namespace vx::pdf {

class SecurityHandler {
 public:
  virtual ~SecurityHandler() = default;
  // data (a stream after its filters, or the bytes of a text literal)
  // encrypted for the object it belongs to.
  virtual std::string Encrypt(int32_t object_number, std::string_view data) const = 0;
  // The encryption dictionary, from "<<" to ">>", as the file holds it.
  virtual std::string Dictionary() const = 0;
  // The identifier the trailer's /ID repeats.
  virtual const std::string& Identifier() const = 0;
  // The lowest "%PDF-1.x" version, x, that readers need to open the file.
  virtual int MinorVersion() const = 0;
  // Entries the catalog must carry (an extension level), or nothing.
  virtual std::string CatalogEntries() const { return {}; }
};

}  // namespace vx::pdf
