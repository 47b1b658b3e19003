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
    if (ascii) return out_;
    out_.resize(in.size() * 4 + 8);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = out_.data();
    std::size_t dstLeft = out_.size();
    while (srcLeft > 0) {
      if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG || dstLeft == 0) break;
      // An invalid or unconvertible sequence: one "?" for its first byte.
      ++src;
      --srcLeft;
      *dst++ = '?';
      --dstLeft;
    }
    out_.resize(out_.size() - dstLeft);
    return out_;
  }

 private:
  iconv_t cd_;
  std::string out_;
};

struct PxErrors {
  std::string last;
};

void collectError(pxdoc_t* doc, int level, const char* msg, void* data) {
  if (level == PX_Warning || data == nullptr) return;
  static_cast<PxErrors*>(data)->last = msg != nullptr ? msg : "unknown error";
}

struct FileCloser {
  void operator()(FILE* f) const {
    if (f != nullptr) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

std::string fileName(const fs::path& p) { return p.filename().string(); }

// The same failure with `prefix` before its message.
Status prefixed(const Status& s, const std::string& prefix) {
  const std::string msg = prefix + s.message();
  switch (s.code()) {
    case StatusCode::kOk: return s;
    case StatusCode::kNotFound: return Status::NotFound(msg);
    case StatusCode::kCorrupt: return Status::Corrupt(msg);
    case StatusCode::kBusy: return Status::Busy(msg);
    case StatusCode::kInvalidArgument: return Status::InvalidArgument(msg);
    case StatusCode::kAccessDenied: return Status::AccessDenied(msg);
    case StatusCode::kAlreadyExists: return Status::AlreadyExists(msg);
    default: return Status::IoError(msg);
  }
}

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
  FilePtr db;
  std::string memo;  // the whole .MB file, decrypted
  pxdoc_t* doc = nullptr;
  PxErrors errors;
  std::unique_ptr<Converter> toUtf8;

  ~Impl() {
    if (doc != nullptr) PX_delete(doc);
  }
  Status corrupt(const std::string& why) const { return Status::Corrupt(fileName(path) + ": " + why); }
  Status checkHeader(std::uintmax_t size);
  Status openDoc(std::uintmax_t size);
  Status readFields(ParadoxTableInfo& info) const;
  Status loadMemo(const ParadoxTableInfo& info);
  // Reads field `f` of a record, its bytes at `data`, into `v` (null when empty).
  Status decodeField(const ParadoxField& f, char* data, std::int64_t recordNumber, Value& v) const;

  // The text of a memo field whose record part is `data` (`length` bytes:
  // the inline part, then offset and index, size and modification number).
  // False when the memo file does not hold what the record points to.
  bool memoText(const unsigned char* data, int length, std::string_view* text) const {
    const int leader = length - 10;
    const std::uint32_t where = u32le(data + leader);
    const std::uint32_t size = u32le(data + leader + 4);
    *text = std::string_view();
    if (size == 0) return true;
    if (size <= static_cast<std::uint32_t>(leader)) {
      *text = std::string_view(reinterpret_cast<const char*>(data), size);
      return true;
    }
    const std::size_t offset = where & 0xFFFFFF00u;
    const std::size_t index = where & 0xFFu;
    const auto* mb = reinterpret_cast<const unsigned char*>(memo.data());
    if (offset == 0 || offset + 12 > memo.size()) return false;
    std::size_t start = 0;
    if (mb[offset] == 2) {
      if (index != 0xFF || u32le(mb + offset + 3) != size) return false;
      start = offset + 9;
    } else if (mb[offset] == 3) {
      const std::size_t slot = offset + 12 + index * 5;
      if (index >= 64 || slot + 5 > memo.size()) return false;
      if ((static_cast<std::uint32_t>(mb[slot + 1]) - 1) * 16 + mb[slot + 4] != size) return false;
      start = offset + static_cast<std::size_t>(mb[slot]) * 16;
    } else {
      return false;
    }
    if (start + size > memo.size()) return false;
    *text = std::string_view(memo.data() + start, size);
    return true;
  }
};

ParadoxReader::ParadoxReader(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ParadoxReader::~ParadoxReader() = default;

StatusOr<std::unique_ptr<ParadoxReader>> ParadoxReader::open(const fs::path& dbFile) {
  auto impl = std::make_unique<Impl>();
  impl->path = dbFile;
  std::error_code ec;
  const auto size = fs::file_size(dbFile, ec);
  if (ec) return Status::NotFound(fileName(dbFile) + ": " + ec.message());
  impl->db.reset(std::fopen(dbFile.c_str(), "rb"));
  if (!impl->db) return Status::IoError(fileName(dbFile) + ": " + std::strerror(errno));
  VISTREL_RETURN_IF_ERROR(impl->checkHeader(size));
  VISTREL_RETURN_IF_ERROR(impl->openDoc(size));
  ParadoxTableInfo info;
  VISTREL_RETURN_IF_ERROR(impl->readFields(info));
  VISTREL_RETURN_IF_ERROR(impl->loadMemo(info));
  auto reader = std::unique_ptr<ParadoxReader>(new ParadoxReader(std::move(impl)));
  reader->info_ = std::move(info);
  return reader;
}

// pxlib trusts the header: this looks at what it divides by and how far it
// reads before the file is handed over.
Status ParadoxReader::Impl::checkHeader(std::uintmax_t size) {
  // The main header, and the start of the data header that follows it from
  // version 4 on (it may hold the encryption key).
  unsigned char head[0x60] = {};
  if (size < kMinHeader || std::fread(head, 1, sizeof head, db.get()) < kMinHeader) {
    return corrupt("the file is cut short (" + std::to_string(size) + " bytes)");
  }
  const int recordSize = u16le(head);
  const int headerSize = u16le(head + 2);
  const int maxTableSize = head[5];
  const int fileBlocks = u16le(head + 0x0C);
  if (recordSize == 0 || headerSize < static_cast<int>(kMinHeader) || maxTableSize == 0 || maxTableSize > 32) {
    return corrupt("not a Paradox table, or its header is damaged");
  }
  // pxlib counts the records block by block when it opens a table; on a file
  // cut short it would walk blocks that are not there.
  const std::uintmax_t wanted = headerSize + static_cast<std::uintmax_t>(fileBlocks) * maxTableSize * 0x400;
  if (wanted > size) {
    return corrupt("the file is cut short (" + std::to_string(size) + " of " + std::to_string(wanted) + " bytes)");
  }
  // pxlib follows the chain of data blocks when it opens a table, without
  // noticing a chain that runs in a circle.
  std::uint32_t encryption = u32le(head + 0x25);
  if (encryption == 0xFF00FF00u) encryption = u32le(head + 0x5C);
  unsigned char block[256];
  int blockNumber = u16le(head + 0x0E);
  for (int steps = 0; blockNumber > 0; ++steps) {
    if (steps >= fileBlocks || blockNumber > fileBlocks) {
      return corrupt("damaged block chain at block " + std::to_string(blockNumber));
    }
    const long at = headerSize + static_cast<long>(blockNumber - 1) * maxTableSize * 0x400;
    if (std::fseek(db.get(), at, SEEK_SET) != 0 || std::fread(block, 1, sizeof block, db.get()) != sizeof block) {
      return corrupt("cannot read block " + std::to_string(blockNumber));
    }
    if (encryption != 0) px_decrypt_db_block(block, block, encryption, sizeof block, static_cast<unsigned long>(blockNumber));
    blockNumber = u16le(block);
  }
  std::rewind(db.get());
  return Status::OK();
}

// pxlib's view of the file, checked against the file's size.
Status ParadoxReader::Impl::openDoc(std::uintmax_t size) {
  doc = PX_new();
  if (doc == nullptr) return Status::IoError(fileName(path) + ": out of memory");
  doc->errorhandler = collectError;
  doc->errorhandler_user_data = &errors;
  if (PX_open_fp(doc, db.get()) < 0) {
    return corrupt("not a Paradox table, or its header is damaged (" + errors.last + ")");
  }
  const pxhead_t* h = doc->px_head;
  const std::uintmax_t blockSize = static_cast<std::uintmax_t>(h->px_maxtablesize) * 0x400;
  const std::uintmax_t needed = static_cast<std::uintmax_t>(h->px_headersize) + h->px_fileblocks * blockSize;
  if (h->px_headersize <= 0 || needed > size) {
    return corrupt("the file is cut short (" + std::to_string(size) + " of " + std::to_string(needed) + " bytes)");
  }
  if (h->px_recordsize <= 0 || static_cast<std::uintmax_t>(h->px_recordsize) + kBlockHeader > blockSize) {
    return corrupt("damaged header (record size " + std::to_string(h->px_recordsize) + ")");
  }
  return Status::OK();
}

// The fields of the record, refusing a type this program does not read.
Status ParadoxReader::Impl::readFields(ParadoxTableInfo& info) const {
  const pxhead_t* h = doc->px_head;
  int total = 0;
  for (int i = 0; i < h->px_numfields; ++i) {
    const pxfield_t& f = h->px_fields[i];
    const int type = static_cast<unsigned char>(f.px_ftype);
    const std::string name = f.px_fname != nullptr ? f.px_fname : "";
    if (!knownType(type)) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "0x%02X", type);
      return corrupt("field " + name + " has a type this program does not read (" + hex + ")");
    }
    info.fields.push_back({name, static_cast<ParadoxType>(type), f.px_flen});
    total += f.px_flen;
    info.hasMemoFile = info.hasMemoFile || type == 0x0C || type == 0x0D || type == 0x0E || type == 0x0F ||
                       type == 0x10;
  }
  if (total != h->px_recordsize) return corrupt("damaged header (the fields do not fill the record)");
  info.records = h->px_numrecords;
  info.codePage = h->px_doscodepage;
  info.encrypted = h->px_encryption != 0;
  return Status::OK();
}

// The converter for the table's code page, and the memo file, decrypted, when the table has one.
Status ParadoxReader::Impl::loadMemo(const ParadoxTableInfo& info) {
  const pxhead_t* h = doc->px_head;
  toUtf8 = std::make_unique<Converter>("UTF-8", codePageName(info.codePage));
  if (!toUtf8->ok()) {
    return corrupt("code page " + std::to_string(info.codePage) + " is not known on this system");
  }
  if (info.hasMemoFile) {
    const fs::path mb = paradoxMemoFile(path);
    if (mb.empty()) return corrupt("its memo file " + path.stem().string() + ".MB is missing");
    std::ifstream in(mb, std::ios::binary);
    memo.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return Status::IoError(fileName(mb) + ": cannot be read");
    if (info.encrypted) {
      auto* p = reinterpret_cast<unsigned char*>(memo.data());
      px_decrypt_mb_block(p, p, h->px_encryption, memo.size() / 256 * 256);
    }
  }
  return Status::OK();
}

int ParadoxReader::field(std::string_view name) const {
  for (std::size_t i = 0; i < info_.fields.size(); ++i) {
    if (equalsIgnoreCase(info_.fields[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

Status ParadoxReader::Impl::decodeField(const ParadoxField& f, char* data, std::int64_t recordNumber,
                                        Value& v) const {
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
  pxdoc_t* doc = impl_->doc;
  const pxhead_t* h = doc->px_head;
  const int recordSize = h->px_recordsize;
  const std::size_t blockSize = static_cast<std::size_t>(h->px_maxtablesize) * 0x400;
  std::vector<int> offsets;
  int offset = 0;
  for (const ParadoxField& f : info_.fields) {
    offsets.push_back(offset);
    offset += f.length;
  }
  std::vector<unsigned char> block(blockSize);
  std::vector<Value> values(wanted.size());
  std::int64_t seen = 0;
  int blockNumber = static_cast<int>(h->px_firstblock);
  for (unsigned visited = 0; blockNumber > 0; ++visited) {
    if (visited >= h->px_fileblocks || static_cast<unsigned>(blockNumber) > h->px_fileblocks) {
      return impl_->corrupt("damaged block chain at block " + std::to_string(blockNumber));
    }
    const long at = h->px_headersize + static_cast<long>(blockNumber - 1) * static_cast<long>(blockSize);
    if (doc->seek(doc, doc->px_stream, at, SEEK_SET) < 0 ||
        doc->read(doc, doc->px_stream, blockSize, block.data()) != blockSize) {
      return impl_->corrupt("cannot read block " + std::to_string(blockNumber));
    }
    const int next = u16le(block.data());
    const int lastOffset = s16le(block.data() + 4);
    const int count = lastOffset < 0 ? 0 : lastOffset / recordSize + 1;
    if (kBlockHeader + static_cast<std::size_t>(count) * recordSize > blockSize) {
      return impl_->corrupt("damaged block " + std::to_string(blockNumber));
    }
    for (int r = 0; r < count; ++r) {
      char* record = reinterpret_cast<char*>(block.data()) + kBlockHeader + r * recordSize;
      for (std::size_t w = 0; w < wanted.size(); ++w) {
        Value& v = values[w];
        v.setNull();
        if (wanted[w] < 0) continue;
        const ParadoxField& f = info_.fields[static_cast<std::size_t>(wanted[w])];
        char* data = record + offsets[static_cast<std::size_t>(wanted[w])];
        VISTREL_RETURN_IF_ERROR(impl_->decodeField(f, data, seen + r + 1, v));
      }
      VISTREL_RETURN_IF_ERROR(visit(values));
    }
    seen += count;
    blockNumber = next;
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

  // Puts the blocks after the header pxlib wrote, encrypting the file when
  // `encryption` is not 0.
  Status finish(const fs::path& mb, unsigned long encryption) const {
    std::string bytes;
    {
      std::ifstream in(mb, std::ios::binary);
      bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bytes.resize(kBlock, '\0');
    bytes += tail_;
    if (encryption != 0) {
      auto* p = reinterpret_cast<unsigned char*>(bytes.data());
      px_encrypt_mb_block(p, p, encryption, bytes.size());
    }
    std::ofstream out(mb, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out ? Status::OK() : Status::IoError(fileName(mb) + ": cannot be written");
  }

 private:
  std::string tail_;
};

Status putField(pxdoc_t* doc, const ParadoxField& f, char* data, const Value& v, Converter& fromUtf8,
                MemoWriter& memos) {
  if (v.isNull()) return Status::OK();  // the record starts zeroed: every type reads that as null
  switch (f.type) {
    case ParadoxType::kAlpha: {
      const std::string& text = fromUtf8.convert(textOf(v));
      std::memcpy(data, text.data(), std::min<std::size_t>(text.size(), static_cast<std::size_t>(f.length)));
      break;
    }
    case ParadoxType::kMemo:
    case ParadoxType::kFmtMemo: {
      const std::string& text = fromUtf8.convert(textOf(v));
      if (!text.empty()) memos.put(data, f.length, text);
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
  Status save(const fs::path& path) {
    std::fflush(file_);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data_.data(), static_cast<std::streamsize>(data_.size()));
    out.close();
    return out ? Status::OK() : Status::IoError(fileName(path) + ": cannot be written");
  }

 private:
  FILE* file_ = nullptr;
  std::string data_;
  std::size_t pos_ = 0;
};

// Puts every row the source gives into the table being written.
Status writeRows(WriteDoc& w, const std::vector<ParadoxField>& fields, const ParadoxRowSource& rows,
                 Converter& fromUtf8, MemoWriter& memos) {
  pxdoc_t* doc = w.doc;
  std::vector<char> record(static_cast<std::size_t>(PX_get_recordsize(doc)));
  std::vector<Value> row;
  std::int64_t n = 0;
  while (true) {
    auto more = rows(&row);
    if (!more.ok()) return more.status();
    if (!*more) break;
    if (row.size() != fields.size()) return Status::InvalidArgument("a row does not match the fields");
    std::memset(record.data(), 0, record.size());
    int offset = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const Status s = putField(doc, fields[i], record.data() + offset, row[i], fromUtf8, memos);
      if (!s.ok()) return prefixed(s, "record " + std::to_string(n + 1) + ": ");
      offset += fields[i].length;
    }
    if (PX_put_record(doc, record.data()) < 0) {
      return Status::IoError("cannot write record " + std::to_string(n + 1) + ": " + w.errors.last);
    }
    ++n;
  }
  return Status::OK();
}

Status writeTemporaries(const fs::path& dbTemp, const fs::path& mbTemp, const std::string& tableName,
                        const std::vector<ParadoxField>& fields, const ParadoxRowSource& rows,
                        const ParadoxWriteOptions& options) {
  Converter fromUtf8(codePageName(options.codePage) + "//TRANSLIT", "UTF-8");
  if (!fromUtf8.ok()) return Status::InvalidArgument("code page " + std::to_string(options.codePage) + " is not known");
  MemoryFile memory;
  if (memory.file() == nullptr) return Status::IoError("out of memory");
  WriteDoc w;
  w.doc = PX_new();
  if (w.doc == nullptr) return Status::IoError("out of memory");
  w.doc->errorhandler = collectError;
  w.doc->errorhandler_user_data = &w.errors;
  pxdoc_t* doc = w.doc;
  // pxlib frees the field array and its names with the document.
  auto* pxf = static_cast<pxfield_t*>(doc->malloc(doc, sizeof(pxfield_t) * fields.size(), "fields"));
  bool memo = false;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    pxf[i].px_fname = PX_strdup(doc, fields[i].name.c_str());
    pxf[i].px_ftype = static_cast<char>(fields[i].type);
    pxf[i].px_flen = fields[i].length;
    pxf[i].px_fdc = 0;
    memo = memo || isMemo(fields[i].type);
  }
  if (PX_create_fp(doc, pxf, static_cast<int>(fields.size()), memory.file(), pxfFileTypNonIndexDB) < 0) {
    return Status::IoError("cannot create the table: " + w.errors.last);
  }
  PX_set_parameter(doc, "tablename", tableName.c_str());
  if (PX_set_value(doc, "codepage", static_cast<float>(options.codePage)) < 0) {
    doc->px_head->px_doscodepage = options.codePage;
  }
  if (!options.password.empty() && PX_set_parameter(doc, "password", options.password.c_str()) < 0) {
    return Status::IoError("cannot set the table password: " + w.errors.last);
  }
  if (memo && PX_set_blob_file(doc, mbTemp.c_str()) < 0) {
    return Status::IoError("cannot create the memo file: " + w.errors.last);
  }
  MemoWriter memos;
  VISTREL_RETURN_IF_ERROR(writeRows(w, fields, rows, fromUtf8, memos));
  const unsigned long encryption = doc->px_head->px_encryption;
  PX_close(doc);
  VISTREL_RETURN_IF_ERROR(memory.save(dbTemp));
  if (memo) VISTREL_RETURN_IF_ERROR(memos.finish(mbTemp, encryption));
  return Status::OK();
}

}  // namespace

Status writeParadoxTable(const fs::path& dbFile, const std::vector<ParadoxField>& fields, const ParadoxRowSource& rows,
                         const ParadoxWriteOptions& options) {
  if (fields.empty()) return Status::InvalidArgument(fileName(dbFile) + ": a table needs fields");
  const fs::path mbFile = fs::path(dbFile).replace_extension(".MB");
  const fs::path dbTemp = fs::path(dbFile.string() + ".tmp");
  const fs::path mbTemp = fs::path(mbFile.string() + ".tmp");
  const bool memo = std::any_of(fields.begin(), fields.end(), [](const ParadoxField& f) { return isMemo(f.type); });
  Status s = writeTemporaries(dbTemp, mbTemp, dbFile.filename().string(), fields, rows, options);
  std::error_code ec;
  if (s.ok() && memo) {
    fs::rename(mbTemp, mbFile, ec);
    if (ec) s = Status::IoError(fileName(mbFile) + ": " + ec.message());
  }
  if (s.ok()) {
    fs::rename(dbTemp, dbFile, ec);
    if (ec) s = Status::IoError(fileName(dbFile) + ": " + ec.message());
  }
  fs::remove(dbTemp, ec);
  fs::remove(mbTemp, ec);
  if (!s.ok() && s.message().rfind(fileName(dbFile), 0) != 0) {
    return prefixed(s, fileName(dbFile) + ": ");
  }
  return s;
}

}  // namespace vistrel::host
