#pragma once
// Stream encoders of the PDF writer. Each one takes the bytes of a stream and
// returns their encoded form, ready to be decoded by the standard PDF filter of
// the same name. They are pure functions over byte strings so that they can be
// tested and benchmarked without a document around them.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vx::pdf {

// /RunLengthDecode: runs of 2 to 128 equal bytes become a count byte
// 257 - n and the byte; other bytes go out in literal groups of up to 128,
// preceded by n - 1. Ends with the end-of-data byte 128.
std::string RunLengthEncode(std::string_view data);

// /LZWDecode with early change 1. quality 0..3 (larger values count as 3)
// limits the codes to 9 + quality bits; the table restarts with a clear code
// when it is full.
std::string LZWEncode(std::string_view data, int quality);

// The same encoding, keeping its table and its output buffer from one stream
// to the next: a writer that encodes many pages sets them up once instead of
// once a page. The result lies in that buffer, valid until the next call.
class LZWEncoder {
 public:
  LZWEncoder();
  ~LZWEncoder();
  std::string_view Encode(std::string_view data, int quality);

  static constexpr uint32_t kSlots = 65536;  // of the dictionary, see lzw.cpp

 private:
  struct Table;
  struct Release {  // of the blocks lzw.cpp allocates
    void operator()(void* block) const;
  };
  std::unique_ptr<Table, Release> table_;  // set up by the first stream, then kept
  std::unique_ptr<char[], Release> output_;  // the codes of the last stream
  size_t output_size_ = 0;
};

// /FlateDecode: a zlib stream (header 0x78 0x5E, deflate data, Adler-32)
// compressed with the matching effort of deflate levels 4 to 7, chosen by
// quality 0..3 (larger values count as 3).
std::string FlateEncode(std::string_view data, int quality);

// /ASCII85Decode: groups of four bytes as five characters '!'..'u', 'z' for
// four zero bytes, a line break every 64 characters, closed by "~>".
std::string ASCII85Encode(std::string_view data);

// /ASCIIHexDecode: two upper-case hexadecimal digits per byte, nothing else.
// Also used for the document identifier of the trailer, so it adds neither
// line breaks nor the end-of-data '>'.
std::string ASCIIHexEncode(std::string_view data);

}  // namespace vx::pdf
