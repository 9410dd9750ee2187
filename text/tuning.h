// SPDX-License-Identifier: MIT
// The sizes the conversion is tuned with, in one place: how much it reads, writes and hands on
// at a time, and how large a working buffer may grow before it is given back. The working
// buffers of the inline conversion, the unit conversion and the line reader are kept from one
// segment (or line) to the next, so that the usual short ones allocate nothing; one that a very
// long segment made larger than its limit here is freed instead, so a single huge segment does
// not hold its memory for the rest of the file. None of them changes what is written.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tuning {

// --- Reading and writing files ---------------------------------------------------------------

// Bytes read from the TXT file at a time.
inline constexpr size_t kReadBlockBytes = size_t{1} << 16;
// Bytes the TMX writer collects before it hands them to its sink.
inline constexpr size_t kOutputFlushBytes = size_t{1} << 18;
// Bytes of encoded <seg> content asked for at a time.
inline constexpr size_t kPieceBytes = size_t{1} << 16;
// Bytes the file sink collects before writing; a write of a quarter of it or more goes out as
// it is.
inline constexpr size_t kSinkBufferBytes = size_t{1} << 18;
// Bytes written after which the file sink starts the system writing back what it has.
inline constexpr int64_t kWritebackBytes = int64_t{8} << 20;

// --- Handing units between threads ----------------------------------------------------------

// A batch of units is handed on when it holds this many units or this many bytes of segments.
inline constexpr size_t kBatchUnits = 128;
inline constexpr size_t kBatchBytes = size_t{1} << 19;

// --- The inline conversion of a segment -----------------------------------------------------

// UTF-16 units of encoded <seg> content produced at a time.
inline constexpr size_t kEncodeSliceUnits = size_t{1} << 16;
// Units of markup whose tags are listed once for both walks of the pairing; longer markup is
// walked twice, so a huge segment needs no list of its tags.
inline constexpr size_t kListedTagsUpTo = size_t{1} << 20;
// Units of markup from which the room for the encoded content is reserved ahead.
inline constexpr size_t kReserveEncodedFrom = size_t{1} << 20;
// Tag records from which a list whose numbers rise is paired without lookup tables.
inline constexpr size_t kOrderedTagListFrom = size_t{1} << 12;

// --- Buffers given back after a very long segment (capacity above the limit) ----------------

// A segment's text, markup and encoded bytes, and the line reader's pending bytes.
inline constexpr size_t kKeptTextUnits = size_t{1} << 22;
// Lists with an entry per tag or per piece of text (clean-up items, pairing tables); the
// scanner's placeholders are kept up to kKeptTextUnits / 8.
inline constexpr size_t kKeptListEntries = size_t{1} << 20;
// The pairing's tags and the slice of content it encodes at a time.
inline constexpr size_t kKeptPairingTags = size_t{1} << 16;
inline constexpr size_t kKeptPairingSliceUnits = size_t{1} << 18;
// A segment's tag records, and the units of their names and texts.
inline constexpr size_t kKeptTagRecords = 4096;
inline constexpr size_t kKeptTagRecordUnits = size_t{1} << 16;
// Open tags: names kept from one segment for the next (more are all dropped), and the entries
// kept for each.
inline constexpr size_t kKeptOpenTagNames = 64;
inline constexpr size_t kKeptOpenTagEntries = 1024;
// Distinct field texts whose encoded lines are kept for reuse.
inline constexpr size_t kKeptFieldTexts = 1024;

}  // namespace tuning
