// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/paradox.h"

#include <iconv.h>
// paradox.h declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

#include "host/file_read.h"
#include "host/file_write.h"
#include "host/text.h"

// pxlib's own reader of .MB files overruns a stack buffer on sub-allocated
// blocks, and its writer garbles them in encrypted tables, so memos are read
// and written here; pxlib makes the memo file's header, and its block cipher
// (exported by the library but not declared in paradox.h) encrypts them.
extern "C" void px_encrypt_mb_block(unsigned char* src, unsigned char* dest, unsigned long encryption,
                                    unsigned long blocksize);
extern "C" void px_decrypt_mb_block(unsigned char* src, unsigned char* dest, unsigned long encryption,
                                    unsigned long blocksize);
extern "C" void px_decrypt_db_block(unsigned char* src, unsigned char* dest, unsigned long encryption,
                                    unsigned long blocksize, unsigned long blockno);

namespace vistrel::host {
namespace fs = std::filesystem;

namespace {

// Paradox counts days from 1 January of year 1 (day 1); this program from
// 30 December 1899 (day 0).
constexpr double kDayOffset = 693594;
constexpr double kMsPerDay = 86400000.0;
constexpr int kBlockHeader = 6;
constexpr std::size_t kMinHeader = 0x58;

int u16le(const unsigned char* p) { return p[0] | (p[1] << 8); }
std::uint32_t u32le(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
int s16le(const unsigned char* p) { return static_cast<std::int16_t>(u16le(p)); }

// Paradox stores numbers big-endian with the sign bit flipped, so that they
// sort as bytes; all bytes zero is null. False for null.
bool decodeInteger(const unsigned char* p, int size, std::int64_t* out) {
  unsigned char b[4] = {0, 0, 0, 0};
  bool any = false;
  for (int i = 0; i < size; ++i) any = any || p[i] != 0;
  if (!any) return false;
  std::memcpy(b, p, static_cast<std::size_t>(size));
  b[0] ^= 0x80;
  std::uint32_t u = 0;
  for (int i = 0; i < size; ++i) u = (u << 8) | b[i];
  const int shift = 32 - 8 * size;
  *out = static_cast<std::int32_t>(u << shift) >> shift;
  return true;
}

bool decodeDouble(const unsigned char* p, double* out) {
  unsigned char b[8];
  bool any = false;
  for (int i = 0; i < 8; ++i) any = any || p[i] != 0;
  if (!any) return false;
  std::memcpy(b, p, 8);
  if (b[0] & 0x80) {
    b[0] &= 0x7F;
  } else {
    for (unsigned char& c : b) c = static_cast<unsigned char>(~c);
  }
  std::uint64_t u = 0;
  for (unsigned char c : b) u = (u << 8) | c;
  std::memcpy(out, &u, sizeof u);
  return true;
}

void put32le(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

bool knownType(int t) {
  switch (static_cast<ParadoxType>(t)) {
    case ParadoxType::kAlpha: case ParadoxType::kDate: case ParadoxType::kShort: case ParadoxType::kLong:
    case ParadoxType::kCurrency: case ParadoxType::kNumber: case ParadoxType::kLogical: case ParadoxType::kMemo:
    case ParadoxType::kBlob: case ParadoxType::kFmtMemo: case ParadoxType::kOle: case ParadoxType::kGraphic:
    case ParadoxType::kTime: case ParadoxType::kTimestamp: case ParadoxType::kAutoInc: case ParadoxType::kBcd:
    case ParadoxType::kBytes: return true;
  }
  return false;
}

bool isMemo(ParadoxType t) { return t == ParadoxType::kMemo || t == ParadoxType::kFmtMemo; }

std::string codePageName(int codePage) { return "CP" + std::to_string(codePage == 0 ? 437 : codePage); }

// One direction of text conversion between a code page and UTF-8. A byte
// sequence the source cannot hold becomes "?".
class Converter {
 public:
  Converter(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  const std::string& convert(std::string_view in) {
    bool ascii = true;
    for (char c : in) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    out_.assign(in.data(), in.size());
    lossy_ = false;
    if (ascii) return out_;
    out_.resize(in.size() * 4 + 8);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = out_.data();
    std::size_t dstLeft = out_.size();
    while (srcLeft > 0) {
      const std::size_t changed = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      if (changed != static_cast<std::size_t>(-1)) {
        // Characters written as something else ("?", or a look-alike).
        lossy_ = lossy_ || changed > 0;
        break;
      }
      if (errno == E2BIG || dstLeft == 0) break;
      // An invalid or unconvertible sequence: one "?" for its first byte.
      ++src;
      --srcLeft;
      *dst++ = '?';
      --dstLeft;
      lossy_ = true;
    }
    out_.resize(out_.size() - dstLeft);
    return out_;
  }
  // True when the last text converted lost characters on the way.
  bool lossy() const { return lossy_; }

 private:
  iconv_t cd_;
  std::string out_;
  bool lossy_ = false;
};

struct PxErrors {
  std::string last;
};

void collectError(pxdoc_t* doc, int level, const char* msg, void* data) {
  if (level == PX_Warning || data == nullptr) return;
  static_cast<PxErrors*>(data)->last = msg != nullptr ? msg : "unknown error";
}

std::string fileName(const fs::path& p) { return p.filename().string(); }

}  // namespace

fs::path paradoxMemoFile(const fs::path& dbFile) {
  const std::string want = upperAscii(dbFile.stem().string() + ".MB");
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dbFile.parent_path().empty() ? "." : dbFile.parent_path(), ec)) {
    if (upperAscii(entry.path().filename().string()) == want) return entry.path();
  }
  return fs::path();
}

struct ParadoxReader::Impl {
  fs::path path;
  std::unique_ptr<InputFile> db;
  std::unique_ptr<InputFile> mb;  // the memo file, when a field needs one
  pxdoc_t* doc = nullptr;
  PxErrors errors;
  std::unique_ptr<Converter> toUtf8;

  // What the header says, as read here; pxlib is shown a copy of the header
  // that holds no record and no block (below).
  std::string header;
  std::string shownHeader;  // what pxlib reads, through headerFile
  FILE* headerFile = nullptr;
  int recordSize = 0;
  std::size_t blockSize = 0;
  int fileBlocks = 0;
  int firstBlock = 0;
  std::int64_t records = 0;
  std::uint32_t encryption = 0;

  // The part of the memo file read last, decrypted.
  std::string window;
  std::uintmax_t windowAt = 0;
  Status memoError;

  ~Impl() {
    if (doc != nullptr) PX_delete(doc);
    if (headerFile != nullptr) std::fclose(headerFile);
  }
  Status corrupt(const std::string& why) const { return Status::Corrupt(fileName(path) + ": " + why); }
  Status checkHeader();
  Status countRecords();
  Status openDoc();
  Status readFields(ParadoxTableInfo& info);
  Status openMemo(const ParadoxTableInfo& info);
  // Reads block `number` (1-based) into `block`, decrypted.
  Status readBlock(int number, std::vector<unsigned char>& block) const;
  // Reads field `f` of a record, its bytes at `data`, into `v` (null when empty).
  Status decodeField(const ParadoxField& f, char* data, std::int64_t recordNumber, Value& v);

  // The `n` bytes of the memo file at `at`, decrypted; null when the file
  // does not hold them (or cannot be read: memoError says why). Valid until
  // the next call.
  const unsigned char* memoBytes(std::uintmax_t at, std::size_t n) {
    constexpr std::size_t kWindow = 64 * 1024;
    if (mb == nullptr || at > mb->size() || n > mb->size() - at) return nullptr;
    if (at >= windowAt && at + n <= windowAt + window.size()) {
      return reinterpret_cast<const unsigned char*>(window.data() + (at - windowAt));
    }
    // Whole 256-byte chunks from a chunk's start: the cipher works on those.
    const std::uintmax_t start = at / 256 * 256;
    window.resize(std::max<std::size_t>(kWindow, static_cast<std::size_t>((at + n - start + 255) / 256 * 256)));
    auto got = mb->readAt(start, window.size(), window.data());
    if (!got.ok()) {
      memoError = got.status();
      window.clear();
      return nullptr;
    }
    window.resize(*got);
    windowAt = start;
    if (encryption != 0) {
      auto* p = reinterpret_cast<unsigned char*>(window.data());
      px_decrypt_mb_block(p, p, encryption, window.size() / 256 * 256);
    }
    if (at + n > windowAt + window.size()) return nullptr;
    return reinterpret_cast<const unsigned char*>(window.data() + (at - windowAt));
  }

  // The text of a memo field whose record part is `data` (`length` bytes:
  // the inline part, then offset and index, size and modification number).
  // False when the memo file does not hold what the record points to.
  bool memoText(const unsigned char* data, int length, std::string_view* text) {
    const int leader = length - 10;
    const std::uint32_t where = u32le(data + leader);
    const std::uint32_t size = u32le(data + leader + 4);
    *text = std::string_view();
    if (size == 0) return true;
    if (size <= static_cast<std::uint32_t>(leader)) {
      *text = std::string_view(reinterpret_cast<const char*>(data), size);
      return true;
    }
    const std::uintmax_t offset = where & 0xFFFFFF00u;
    const std::size_t index = where & 0xFFu;
    const unsigned char* head = offset == 0 ? nullptr : memoBytes(offset, 12);
    if (head == nullptr) return false;
    std::uintmax_t start = 0;
    if (head[0] == 2) {
      if (index != 0xFF || u32le(head + 3) != size) return false;
      start = offset + 9;
    } else if (head[0] == 3) {
      const unsigned char* slot = index < 64 ? memoBytes(offset + 12 + index * 5, 5) : nullptr;
      if (slot == nullptr) return false;
      if ((static_cast<std::uint32_t>(slot[1]) - 1) * 16 + slot[4] != size) return false;
      start = offset + static_cast<std::uintmax_t>(slot[0]) * 16;
    } else {
      return false;
    }
    const unsigned char* bytes = memoBytes(start, size);
    if (bytes == nullptr) return false;
    *text = std::string_view(reinterpret_cast<const char*>(bytes), size);
    return true;
  }
};

ParadoxReader::ParadoxReader(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ParadoxReader::~ParadoxReader() = default;

StatusOr<std::unique_ptr<ParadoxReader>> ParadoxReader::open(const fs::path& dbFile) {
  auto impl = std::make_unique<Impl>();
  impl->path = dbFile;
  auto db = InputFile::open(dbFile, kParadoxTableFile);
  if (!db.ok()) return db.status();
  impl->db = std::move(db).value();
  VISTREL_RETURN_IF_ERROR(impl->checkHeader());
  VISTREL_RETURN_IF_ERROR(impl->countRecords());
  VISTREL_RETURN_IF_ERROR(impl->openDoc());
  ParadoxTableInfo info;
  VISTREL_RETURN_IF_ERROR(impl->readFields(info));
  VISTREL_RETURN_IF_ERROR(impl->openMemo(info));
  auto reader = std::unique_ptr<ParadoxReader>(new ParadoxReader(std::move(impl)));
  reader->info_ = std::move(info);
  return reader;
}

// The numbers of the header that say where the records are, checked against
// the file's size before anything is read by them.
Status ParadoxReader::Impl::checkHeader() {
  const std::uintmax_t size = db->size();
  // The main header, and the start of the data header that follows it from
  // version 4 on (it may hold the encryption key).
  unsigned char head[0x60] = {};
  auto got = db->readAt(0, sizeof head, reinterpret_cast<char*>(head));
  if (!got.ok()) return got.status();
  if (*got < kMinHeader) return corrupt("the file is cut short (" + std::to_string(size) + " bytes)");
  recordSize = u16le(head);
  const int headerSize = u16le(head + 2);
  const int maxTableSize = head[5];
  records = u32le(head + 6);
  fileBlocks = u16le(head + 0x0C);
  firstBlock = u16le(head + 0x0E);
  if (recordSize == 0 || headerSize < static_cast<int>(kMinHeader) || maxTableSize == 0 || maxTableSize > 32) {
    return corrupt("not a Paradox table, or its header is damaged");
  }
  blockSize = static_cast<std::size_t>(maxTableSize) * 0x400;
  const std::uintmax_t wanted = headerSize + static_cast<std::uintmax_t>(fileBlocks) * blockSize;
  if (wanted > size) {
    return corrupt("the file is cut short (" + std::to_string(size) + " of " + std::to_string(wanted) + " bytes)");
  }
  if (static_cast<std::size_t>(recordSize) + kBlockHeader > blockSize) {
    return corrupt("damaged header (record size " + std::to_string(recordSize) + ")");
  }
  encryption = u32le(head + 0x25);
  if (encryption == 0xFF00FF00u) encryption = u32le(head + 0x5C);
  header.resize(static_cast<std::size_t>(headerSize));
  got = db->readAt(0, header.size(), header.data());
  if (!got.ok()) return got.status();
  return Status::OK();
}

Status ParadoxReader::Impl::readBlock(int number, std::vector<unsigned char>& block) const {
  block.resize(blockSize);
  const std::uintmax_t at = header.size() + static_cast<std::uintmax_t>(number - 1) * blockSize;
  auto got = db->readAt(at, blockSize, reinterpret_cast<char*>(block.data()));
  if (!got.ok()) return got.status();
  if (*got != blockSize) return corrupt("the file is cut short (block " + std::to_string(number) + ")");
  if (encryption != 0) {
    px_decrypt_db_block(block.data(), block.data(), encryption, blockSize, static_cast<unsigned long>(number));
  }
  return Status::OK();
}

namespace {

// The records of one block: its last record's offset over the record size,
// plus one; a block without records stores minus the record size. -1 for a
// block that says something else.
int recordsInBlock(const std::vector<unsigned char>& block, int recordSize) {
  const int last = s16le(block.data() + 4);
  if (last == -recordSize) return 0;
  if (last < 0 || last % recordSize != 0 ||
      kBlockHeader + static_cast<std::size_t>(last) + recordSize > block.size()) {
    return -1;
  }
  return last / recordSize + 1;
}

}  // namespace

// Follows the chain of data blocks from the first, refusing a chain that
// runs in a circle or leaves the file, a block that says it holds more than
// it can, and blocks that hold other than the header's count of records:
// a table read short would replace a whole copy with part of it.
Status ParadoxReader::Impl::countRecords() {
  std::vector<unsigned char> block;
  std::int64_t counted = 0;
  int number = firstBlock;
  for (int steps = 0; number > 0; ++steps) {
    if (steps >= fileBlocks || number > fileBlocks) {
      return corrupt("damaged block chain at block " + std::to_string(number));
    }
    VISTREL_RETURN_IF_ERROR(readBlock(number, block));
    const int count = recordsInBlock(block, recordSize);
    if (count < 0) return corrupt("damaged block " + std::to_string(number));
    counted += count;
    number = u16le(block.data());
  }
  if (counted != records) {
    return corrupt("damaged header or block chain (the header counts " + std::to_string(records) +
                   " records, the blocks hold " + std::to_string(counted) + ")");
  }
  return Status::OK();
}

// pxlib reads the fields, the code page and the encryption key from a copy
// of the header in memory. The copy says the table holds no block: opening a
// table, pxlib walks its blocks and prints what it finds odd straight to
// standard error; the blocks are read here instead.
Status ParadoxReader::Impl::openDoc() {
  shownHeader = header;
  std::fill(shownHeader.begin() + 6, shownHeader.begin() + 10, '\0');     // records
  std::fill(shownHeader.begin() + 0x0E, shownHeader.begin() + 0x10, '\0');  // first block
  headerFile = fmemopen(shownHeader.data(), shownHeader.size(), "rb");
  if (headerFile == nullptr) return Status::IoError(fileName(path) + ": out of memory");
  doc = PX_new();
  if (doc == nullptr) return Status::IoError(fileName(path) + ": out of memory");
  doc->errorhandler = collectError;
  doc->errorhandler_user_data = &errors;
  if (PX_open_fp(doc, headerFile) < 0) {
    return corrupt("not a Paradox table, or its header is damaged (" + errors.last + ")");
  }
  if (doc->px_head->px_recordsize != recordSize) return corrupt("not a Paradox table, or its header is damaged");
  return Status::OK();
}

namespace {

// The width a field of a fixed-width type takes in the record; 0 for the others.
int fixedWidth(ParadoxType t) {
  switch (t) {
    case ParadoxType::kLogical: return 1;
    case ParadoxType::kShort: return 2;
    case ParadoxType::kDate: case ParadoxType::kLong: case ParadoxType::kTime: case ParadoxType::kAutoInc: return 4;
    case ParadoxType::kNumber: case ParadoxType::kCurrency: case ParadoxType::kTimestamp: return 8;
    default: return 0;
  }
}

// Fails when a field's width does not fit its type: the record reader reads
// a fixed-width field whole, and a memo's pointer from its last 10 bytes.
std::string badWidth(const ParadoxField& f) {
  const std::string width = std::to_string(f.length) + (f.length == 1 ? " byte" : " bytes");
  if (const int fixed = fixedWidth(f.type); fixed != 0 && f.length != fixed) {
    return "field " + f.name + " is " + width + " long where its type takes " + std::to_string(fixed);
  }
  if (isMemo(f.type) && f.length < 10) {
    return "memo field " + f.name + " is " + width + " long, shorter than its 10-byte pointer";
  }
  if (f.length <= 0) return "field " + f.name + " is " + width + " long";
  return std::string();
}

}  // namespace

// The fields of the record, refusing a type this program does not read or a
// width that does not fit the type. Names come in the table's code page.
Status ParadoxReader::Impl::readFields(ParadoxTableInfo& info) {
  const pxhead_t* h = doc->px_head;
  info.records = records;
  info.codePage = h->px_doscodepage;
  info.encrypted = encryption != 0;
  toUtf8 = std::make_unique<Converter>("UTF-8", codePageName(info.codePage));
  if (!toUtf8->ok()) {
    return corrupt("code page " + std::to_string(info.codePage) + " is not known on this system");
  }
  int total = 0;
  for (int i = 0; i < h->px_numfields; ++i) {
    const pxfield_t& f = h->px_fields[i];
    const int type = static_cast<unsigned char>(f.px_ftype);
    const std::string name = toUtf8->convert(f.px_fname != nullptr ? f.px_fname : "");
    if (!knownType(type)) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "0x%02X", type);
      return corrupt("field " + name + " has a type this program does not read (" + hex + ")");
    }
    info.fields.push_back({name, static_cast<ParadoxType>(type), f.px_flen});
    if (const std::string bad = badWidth(info.fields.back()); !bad.empty()) return corrupt("damaged header (" + bad + ")");
    total += f.px_flen;
    info.hasMemoFile = info.hasMemoFile || type == 0x0C || type == 0x0D || type == 0x0E || type == 0x0F ||
                       type == 0x10;
  }
  if (total != recordSize) return corrupt("damaged header (the fields do not fill the record)");
  return Status::OK();
}

// The memo file, when the table has one. Only the parts the records point
// at are read, as they are needed.
Status ParadoxReader::Impl::openMemo(const ParadoxTableInfo& info) {
  if (!info.hasMemoFile) return Status::OK();
  const fs::path file = paradoxMemoFile(path);
  if (file.empty()) return corrupt("its memo file " + path.stem().string() + ".MB is missing");
  auto opened = InputFile::open(file, kMemoFile);
  if (!opened.ok()) return opened.status();
  mb = std::move(opened).value();
  return Status::OK();
}

int ParadoxReader::field(std::string_view name) const {
  for (std::size_t i = 0; i < info_.fields.size(); ++i) {
    if (equalsIgnoreCase(info_.fields[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

Status ParadoxReader::Impl::decodeField(const ParadoxField& f, char* data, std::int64_t recordNumber,
                                        Value& v) {
  switch (f.type) {
    case ParadoxType::kAlpha: {
      std::size_t n = 0;
      while (n < static_cast<std::size_t>(f.length) && data[n] != '\0') ++n;
      if (n > 0) v.setText(toUtf8->convert(std::string_view(data, n)));
      break;
    }
    case ParadoxType::kDate:
    case ParadoxType::kTime:
    case ParadoxType::kLong:
    case ParadoxType::kAutoInc:
    case ParadoxType::kShort:
    case ParadoxType::kLogical: {
      const auto* bytes = reinterpret_cast<const unsigned char*>(data);
      std::int64_t n = 0;
      const int size = f.type == ParadoxType::kShort ? 2 : f.type == ParadoxType::kLogical ? 1 : 4;
      if (!decodeInteger(bytes, size, &n)) break;
      if (f.type == ParadoxType::kDate) v.setReal(static_cast<double>(n) - kDayOffset);
      else if (f.type == ParadoxType::kTime) v.setReal(static_cast<double>(n) / kMsPerDay);
      else if (f.type == ParadoxType::kLogical) v.setInteger(n != 0 ? 1 : 0);
      else v.setInteger(n);
      break;
    }
    case ParadoxType::kNumber:
    case ParadoxType::kCurrency:
    case ParadoxType::kTimestamp: {
      double d = 0;
      if (!decodeDouble(reinterpret_cast<const unsigned char*>(data), &d)) break;
      v.setReal(f.type == ParadoxType::kTimestamp ? d / kMsPerDay - kDayOffset : d);
      break;
    }
    case ParadoxType::kMemo:
    case ParadoxType::kFmtMemo: {
      std::string_view text;
      if (!memoText(reinterpret_cast<const unsigned char*>(data), f.length, &text)) {
        if (!memoError.ok()) return memoError;
        return corrupt("memo " + f.name + " of record " + std::to_string(recordNumber) +
                       " is not in its memo file (damaged or cut short)");
      }
      while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
      if (!text.empty()) v.setText(toUtf8->convert(text));
      break;
    }
    default: break;  // binary, OLE, graphic, bytes and BCD fields read as null
  }
  return Status::OK();
}

Status ParadoxReader::read(const std::vector<int>& wanted, const RecordVisitor& visit) {
  Impl& t = *impl_;
  std::vector<int> offsets;
  int offset = 0;
  for (const ParadoxField& f : info_.fields) {
    offsets.push_back(offset);
    offset += f.length;
  }
  std::vector<unsigned char> block;
  std::vector<Value> values(wanted.size());
  std::int64_t seen = 0;
  int number = t.firstBlock;
  for (int steps = 0; number > 0; ++steps) {
    if (steps >= t.fileBlocks || number > t.fileBlocks) {
      return t.corrupt("damaged block chain at block " + std::to_string(number));
    }
    VISTREL_RETURN_IF_ERROR(t.readBlock(number, block));
    const int count = recordsInBlock(block, t.recordSize);
    if (count < 0) return t.corrupt("damaged block " + std::to_string(number));
    for (int r = 0; r < count; ++r) {
      char* record = reinterpret_cast<char*>(block.data()) + kBlockHeader + static_cast<std::size_t>(r) * t.recordSize;
      for (std::size_t w = 0; w < wanted.size(); ++w) {
        Value& v = values[w];
        v.setNull();
        if (wanted[w] < 0) continue;
        const ParadoxField& f = info_.fields[static_cast<std::size_t>(wanted[w])];
        char* data = record + offsets[static_cast<std::size_t>(wanted[w])];
        VISTREL_RETURN_IF_ERROR(t.decodeField(f, data, seen + r + 1, v));
      }
      VISTREL_RETURN_IF_ERROR(visit(values));
    }
    seen += count;
    number = u16le(block.data());
  }
  // The file may have changed since it was opened.
  if (seen != t.records) {
    return t.corrupt("damaged header or block chain (the header counts " + std::to_string(t.records) +
                     " records, the blocks hold " + std::to_string(seen) + ")");
  }
  return Status::OK();
}

namespace {

struct WriteDoc {
  pxdoc_t* doc = nullptr;
  PxErrors errors;
  ~WriteDoc() {
    if (doc != nullptr) PX_delete(doc);
  }
};

std::string textOf(const Value& v) {
  switch (v.kind()) {
    case Value::Kind::kText: return v.text();
    case Value::Kind::kInteger: return std::to_string(v.integer());
    case Value::Kind::kReal: {
      char buf[32];
      std::snprintf(buf, sizeof buf, "%.15g", v.real());
      return buf;
    }
    case Value::Kind::kNull: break;
  }
  return std::string();
}

double numberOf(const Value& v) {
  if (v.kind() == Value::Kind::kInteger) return static_cast<double>(v.integer());
  if (v.kind() == Value::Kind::kReal) return v.real();
  return std::atof(v.text().c_str());
}

// The blocks of a memo file after its header: each memo longer than its
// record's inline part gets blocks of its own (type 2).
class MemoWriter {
 public:
  static constexpr std::size_t kBlock = 4096;

  void put(char* field, int length, const std::string& text) {
    auto* data = reinterpret_cast<unsigned char*>(field);
    const std::size_t leader = static_cast<std::size_t>(length - 10);
    const std::size_t size = text.size();
    std::memcpy(data, text.data(), std::min(leader, size));
    put32le(data + leader + 4, static_cast<std::uint32_t>(size));
    data[leader + 8] = 1;  // modification number
    if (size <= leader) return;
    const std::size_t offset = kBlock + tail_.size();
    const std::size_t blocks = (9 + size + kBlock - 1) / kBlock;
    unsigned char head[9] = {2, static_cast<unsigned char>(blocks), static_cast<unsigned char>(blocks >> 8)};
    put32le(head + 3, static_cast<std::uint32_t>(size));
    head[7] = 1;
    tail_.append(reinterpret_cast<const char*>(head), sizeof head);
    tail_ += text;
    tail_.resize(offset - kBlock + blocks * kBlock, '\0');
    put32le(data + leader, static_cast<std::uint32_t>(offset) | 0xFF);
  }

  // The memo file: the header pxlib wrote, then the blocks, the whole
  // encrypted when `encryption` is not 0.
  std::string finish(std::string header, unsigned long encryption) const {
    header.resize(kBlock, '\0');
    header += tail_;
    if (encryption != 0) {
      auto* p = reinterpret_cast<unsigned char*>(header.data());
      px_encrypt_mb_block(p, p, encryption, header.size());
    }
    return header;
  }

 private:
  std::string tail_;
};

// What puts one record's values into the table being written.
struct RecordWriter {
  pxdoc_t* doc;
  Converter& fromUtf8;
  MemoWriter& memos;
  const ParadoxWriteOptions& options;
  std::int64_t record = 0;  // 1-based

  // The text of `v` in the code page, telling the options of what it lost.
  const std::string& codePageText(const ParadoxField& f, const Value& v) {
    const std::string utf8 = textOf(v);
    const std::string& text = fromUtf8.convert(utf8);
    if (fromUtf8.lossy() && options.unmappable) options.unmappable(record, f.name, utf8);
    return text;
  }
};

Status putField(RecordWriter& w, const ParadoxField& f, char* data, const Value& v) {
  if (v.isNull()) return Status::OK();  // the record starts zeroed: every type reads that as null
  pxdoc_t* doc = w.doc;
  switch (f.type) {
    case ParadoxType::kAlpha: {
      const std::string& text = w.codePageText(f, v);
      std::memcpy(data, text.data(), std::min<std::size_t>(text.size(), static_cast<std::size_t>(f.length)));
      break;
    }
    case ParadoxType::kMemo:
    case ParadoxType::kFmtMemo: {
      const std::string& text = w.codePageText(f, v);
      if (!text.empty()) w.memos.put(data, f.length, text);
      break;
    }
    case ParadoxType::kDate:
      PX_put_data_long(doc, data, 4, static_cast<int>(std::floor(numberOf(v)) + kDayOffset));
      break;
    case ParadoxType::kTime:
      PX_put_data_long(doc, data, 4, static_cast<int>(std::llround(numberOf(v) * kMsPerDay)));
      break;
    case ParadoxType::kTimestamp:
      PX_put_data_double(doc, data, 8, std::round((numberOf(v) + kDayOffset) * kMsPerDay));
      break;
    case ParadoxType::kShort:
      PX_put_data_short(doc, data, 2, static_cast<short>(numberOf(v)));
      break;
    case ParadoxType::kLong:
    case ParadoxType::kAutoInc:
      PX_put_data_long(doc, data, 4, static_cast<int>(std::llround(numberOf(v))));
      break;
    case ParadoxType::kNumber:
    case ParadoxType::kCurrency:
      PX_put_data_double(doc, data, 8, numberOf(v));
      break;
    case ParadoxType::kLogical:
      PX_put_data_byte(doc, data, 1, numberOf(v) != 0 ? 1 : 0);
      break;
    default:
      return Status::InvalidArgument("field " + f.name + ": this type cannot be written");
  }
  return Status::OK();
}

// A read-write FILE over memory. pxlib seeks before nearly every write,
// and on a disk file each seek costs a system call; the table is built
// here and written to disk in one go.
class MemoryFile {
 public:
  MemoryFile() {
    cookie_io_functions_t io{};
    io.read = [](void* c, char* buf, std::size_t n) -> ssize_t {
      auto* m = static_cast<MemoryFile*>(c);
      const std::size_t got = m->pos_ >= m->data_.size() ? 0 : std::min(n, m->data_.size() - m->pos_);
      std::memcpy(buf, m->data_.data() + m->pos_, got);
      m->pos_ += got;
      return static_cast<ssize_t>(got);
    };
    io.write = [](void* c, const char* buf, std::size_t n) -> ssize_t {
      auto* m = static_cast<MemoryFile*>(c);
      if (m->data_.size() < m->pos_ + n) m->data_.resize(m->pos_ + n);
      std::memcpy(m->data_.data() + m->pos_, buf, n);
      m->pos_ += n;
      return static_cast<ssize_t>(n);
    };
    io.seek = [](void* c, off64_t* offset, int whence) -> int {
      auto* m = static_cast<MemoryFile*>(c);
      const off64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<off64_t>(m->pos_)
                                                                         : static_cast<off64_t>(m->data_.size());
      if (base + *offset < 0) return -1;
      m->pos_ = static_cast<std::size_t>(base + *offset);
      *offset = static_cast<off64_t>(m->pos_);
      return 0;
    };
    io.close = [](void*) { return 0; };
    file_ = fopencookie(this, "w+", io);
  }
  ~MemoryFile() {
    if (file_ != nullptr) std::fclose(file_);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  FILE* file() const { return file_; }
  // What was written; the file is empty afterwards.
  std::string take() {
    std::fflush(file_);
    pos_ = 0;
    return std::move(data_);
  }

 private:
  FILE* file_ = nullptr;
  std::string data_;
  std::size_t pos_ = 0;
};

// Puts every row the source gives into the table being written.
Status writeRows(WriteDoc& w, const std::vector<ParadoxField>& fields, const ParadoxRowSource& rows,
                 RecordWriter& writer) {
  pxdoc_t* doc = w.doc;
  std::vector<char> record(static_cast<std::size_t>(PX_get_recordsize(doc)));
  std::vector<Value> row;
  while (true) {
    auto more = rows(&row);
    if (!more.ok()) return more.status();
    if (!*more) break;
    if (row.size() != fields.size()) return Status::InvalidArgument("a row does not match the fields");
    ++writer.record;
    std::memset(record.data(), 0, record.size());
    int offset = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const Status s = putField(writer, fields[i], record.data() + offset, row[i]);
      if (!s.ok()) return s.prefixed("record " + std::to_string(writer.record) + ": ");
      offset += fields[i].length;
    }
    if (PX_put_record(doc, record.data()) < 0) {
      return Status::IoError("cannot write record " + std::to_string(writer.record) + ": " + w.errors.last);
    }
  }
  return Status::OK();
}

}  // namespace

StatusOr<ParadoxFiles> buildParadoxTable(std::string_view tableName, const std::vector<ParadoxField>& fields,
                                         const ParadoxRowSource& rows, const ParadoxWriteOptions& options) {
  if (fields.empty()) return Status::InvalidArgument(std::string(tableName) + ": a table needs fields");
  Converter fromUtf8(codePageName(options.codePage) + "//TRANSLIT", "UTF-8");
  if (!fromUtf8.ok()) return Status::InvalidArgument("code page " + std::to_string(options.codePage) + " is not known");
  // Tables are built in memory: pxlib seeks before nearly every write, and on
  // a disk file each seek costs a system call. They reach the disk through
  // the one file writer.
  MemoryFile table;
  MemoryFile memo;
  if (table.file() == nullptr || memo.file() == nullptr) return Status::IoError("out of memory");
  WriteDoc w;
  w.doc = PX_new();
  if (w.doc == nullptr) return Status::IoError("out of memory");
  w.doc->errorhandler = collectError;
  w.doc->errorhandler_user_data = &w.errors;
  pxdoc_t* doc = w.doc;
  // pxlib frees the field array and its names with the document.
  auto* pxf = static_cast<pxfield_t*>(doc->malloc(doc, sizeof(pxfield_t) * fields.size(), "fields"));
  bool hasMemo = false;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    pxf[i].px_fname = PX_strdup(doc, fromUtf8.convert(fields[i].name).c_str());
    pxf[i].px_ftype = static_cast<char>(fields[i].type);
    pxf[i].px_flen = fields[i].length;
    pxf[i].px_fdc = 0;
    hasMemo = hasMemo || isMemo(fields[i].type);
  }
  if (PX_create_fp(doc, pxf, static_cast<int>(fields.size()), table.file(), pxfFileTypNonIndexDB) < 0) {
    return Status::IoError("cannot create the table: " + w.errors.last);
  }
  PX_set_parameter(doc, "tablename", std::string(tableName).c_str());
  if (PX_set_value(doc, "codepage", static_cast<float>(options.codePage)) < 0) {
    doc->px_head->px_doscodepage = options.codePage;
  }
  if (!options.password.empty() && PX_set_parameter(doc, "password", options.password.c_str()) < 0) {
    return Status::IoError("cannot set the table password: " + w.errors.last);
  }
  if (hasMemo && PX_set_blob_fp(doc, memo.file()) < 0) {
    return Status::IoError("cannot create the memo file: " + w.errors.last);
  }
  MemoWriter memos;
  RecordWriter writer{doc, fromUtf8, memos, options};
  VISTREL_RETURN_IF_ERROR(writeRows(w, fields, rows, writer));
  const unsigned long encryption = doc->px_head->px_encryption;
  // pxlib frees a memo file's stream and header only when it opened the file
  // itself; this one is ours.
  if (pxblob_t* blob = doc->px_blob; blob != nullptr) {
    doc->free(doc, blob->mb_stream);
    blob->mb_stream = nullptr;
    doc->free(doc, blob->mb_head);
    blob->mb_head = nullptr;
  }
  PX_close(doc);
  ParadoxFiles files;
  files.table = table.take();
  if (hasMemo) files.memo = memos.finish(memo.take(), encryption);
  return files;
}

fs::path paradoxMemoFileFor(const fs::path& dbFile) {
  if (fs::path existing = paradoxMemoFile(dbFile); !existing.empty()) return existing;
  return fs::path(dbFile).replace_extension(".MB");
}

Status writeParadoxTable(const fs::path& dbFile, const std::vector<ParadoxField>& fields, const ParadoxRowSource& rows,
                         const ParadoxWriteOptions& options) {
  auto files = buildParadoxTable(dbFile.filename().string(), fields, rows, options);
  if (!files.ok()) return files.status().prefixed(fileName(dbFile) + ": ");
  std::unique_ptr<StagedFile> memo;
  if (!files->memo.empty()) {
    auto staged = StagedFile::write(paradoxMemoFileFor(dbFile), files->memo);
    if (!staged.ok()) return staged.status();
    memo = std::move(staged).value();
  }
  auto table = StagedFile::write(dbFile, files->table);
  if (!table.ok()) return table.status();
  if (memo) VISTREL_RETURN_IF_ERROR(memo->commit());
  return (*table)->commit();
}

}  // namespace vistrel::host
