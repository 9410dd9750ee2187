// SPDX-License-Identifier: MIT
// Segments without RTF: no backslash, no brace and no control character but the tab. Their inline
// content is their text, trimmed of blanks, tabs and no-break spaces at both ends, with "<", ">",
// "&", "'" and '"' written as entities: what the scanner, the clean-up and the pairing make of
// them, found without the three and without holding the content as UTF-16. Each byte of such a
// segment stands for one character, so the content is written byte by byte, straight in the
// output's encoding and in pieces of any size.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

// What one byte of a plain segment becomes in the output.
struct PlainByte {
  char bytes[16];       // its character in the output encoding: the first `length` bytes
  std::uint8_t length;  //
  bool stop;            // the segment is no plain segment (RTF, a control or a lead byte)
  bool trimmed;         // a blank, a tab or a no-break space: dropped at either end
};

struct PlainByteTable {
  std::array<PlainByte, 256> entries;
  // Printable ASCII bytes stand for themselves, and only "\\", "{" and "}" among them stop; in
  // UTF-8 output, those that need no entity are written as they are.
  bool asciiAsItself = false;
  bool highBytesPass = false;  // no byte 0x80-0xFF stops
  // UTF-8 text into a UTF-8 document: bytes 0x80-0xFF are copied, once Find has seen that they
  // make whole characters that the document takes as they are.
  bool utf8Text = false;
  bool utf16 = false;

  const PlainByte& operator[](unsigned char b) const { return entries[b]; }
};

// A plain segment's content still to be written: the trimmed bytes and what each becomes.
struct PlainText {
  std::string_view bytes;
  const PlainByteTable* table = nullptr;

  // Writes the content of up to room / kMaxBytesPerByte bytes at d and drops them from bytes;
  // returns the output bytes written.
  size_t WriteSome(char* d, size_t room);
  static constexpr size_t kMaxBytesPerByte = sizeof(PlainByte::bytes);
};

// Finds the plain segments and keeps a byte table for each code page met (one encoder per
// converter: the tables are its own).
class PlainSegmentEncoder {
 public:
  // utf16: the output is UTF-16 little-endian, otherwise UTF-8.
  explicit PlainSegmentEncoder(bool utf16 = false) : m_utf16(utf16) {}

  // True when the segment is plain in this code page (UTF-8 text with byte escapes in the code
  // page when unicodeText); then text holds its content.
  bool Find(std::string_view segment, int codePage, bool unicodeText, PlainText& text);

 private:
  const PlainByteTable* TableFor(int codePage, bool unicodeText);

  struct Entry {
    int codePage;
    bool unicodeText;
    std::unique_ptr<PlainByteTable> table;
  };
  bool m_utf16;
  std::vector<Entry> m_tables;
  size_t m_last = 0;  // the entry found last (units mostly repeat their code pages)
};
