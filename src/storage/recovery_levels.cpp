#include "storage/recovery_levels.h"

#include <array>
#include <memory>
#include <optional>
#include <system_error>
#include <unordered_set>

#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/fs.h"
#include "storage/recovery_context.h"
#include "storage/row_record.h"

namespace kv {

namespace stdfs = std::filesystem;

namespace {

std::string LevelExt(int level) { return ".Y" + std::to_string(level); }

// The highest record number a restored level file is given: a 16-bit signed
// number that its four-character field holds in the job's base.
int MaxRecordNumber(bool hex) { return hex ? 0x7FFF : 9999; }

// The repair of one job: the job's level files opened for reading and the
// restored ones for writing, each once, when first needed.
class LevelRepair {
 public:
  explicit LevelRepair(RecoveryContext& ctx) : ctx_(ctx), hex_(ctx.JobHex), length_(ctx.JobDataLen) {}

  void TopLevel(const std::function<void()>& betweenRows) {
    const RecordFile& source = Source(1);
    const int count = source.RecordCount();
    std::string rec;
    for (int r = 1; r <= count; ++r) {
      if (!source.GetRecordText(r, rec)) break;

      // A level-1 record names its own position; a record that does not is
      // set right, so that the restored file reads.
      std::optional<int> own = ReadStoredLink(LinkField(rec, kOwnPos), hex_);
      if (!own || *own != r) Loss();

      // Level 1 is stored in record order: each record's successor is the next record.
      int next = kNoRecord;
      std::optional<int> link = ReadStoredLink(LinkField(rec, kNextPos), hex_);
      if (!link) {
        Loss();
      } else if (*link != kNoRecord) {
        if (*link == r + 1 && OwnOf(source, r + 1) == r + 1)
          next = r + 1;
        else
          Loss();
      }

      int child = kNoRecord;
      std::optional<int> childLink = ReadStoredLink(LinkField(rec, kChildPos), hex_);
      if (!childLink)
        Loss();
      else if (*childLink != kNoRecord)
        child = RepairLinks(2, *childLink);

      SetLinkField(rec, kOwnPos, r, hex_);
      SetLinkField(rec, kNextPos, next, hex_);
      SetLinkField(rec, kChildPos, child, hex_);
      Target(1).PutRecordText(++ctx_.RecLevelRecCount[1], rec);
      betweenRows();
    }
  }

  void Close() {
    for (auto& t : targets_)
      if (t) t->Close();
  }

 private:
  // Copies the breakdown sheet whose first record in the job's level file is
  // `first`, and everything below it, into the restored file of `level`. The
  // new first record, or kNoRecord when the sheet could not be restored.
  int RepairLinks(int level, int first) {
    if (level > kRecMaxLevels || level > ctx_.RecLevelCount) {
      Loss();
      return kNoRecord;
    }
    const RecordFile& source = Source(level);
    const int count = source.RecordCount();
    std::int32_t& written = ctx_.RecLevelRecCount[level];
    // A link to a record that is not there, or was never written, loses the
    // whole breakdown; so does a restored file that holds no more numbers.
    if (first < 1 || first > count || OwnOf(source, first) != first || written + 1 > MaxRecordNumber(hex_)) {
      Loss();
      return kNoRecord;
    }

    // The walk visits each record once: a link back into the sheet is cut.
    std::unordered_set<int> passed;
    int newFirst = kNoRecord;
    int cur = first;
    std::string rec;
    for (;;) {
      passed.insert(cur);
      if (!source.GetRecordText(cur, rec)) break;  // cannot happen: cur is checked

      int next = kNoRecord;
      std::optional<int> link = ReadStoredLink(LinkField(rec, kNextPos), hex_);
      if (!link) {
        Loss();
      } else if (*link != kNoRecord) {
        if (*link <= count && !passed.count(*link) && OwnOf(source, *link) == *link)
          next = *link;
        else
          Loss();
      }

      int child = kNoRecord;
      std::optional<int> childLink = ReadStoredLink(LinkField(rec, kChildPos), hex_);
      if (!childLink)
        Loss();
      else if (*childLink != kNoRecord)
        child = RepairLinks(level + 1, *childLink);

      const int pos = ++written;
      if (next != kNoRecord && pos + 1 > MaxRecordNumber(hex_)) {
        next = kNoRecord;
        Loss();
      }
      if (newFirst == kNoRecord) newFirst = pos;
      SetLinkField(rec, kOwnPos, pos, hex_);
      SetLinkField(rec, kNextPos, next == kNoRecord ? kNoRecord : pos + 1, hex_);
      SetLinkField(rec, kChildPos, child, hex_);
      Target(level).PutRecordText(pos, rec);

      if (next == kNoRecord) break;
      cur = next;
    }
    return newFirst;
  }

  // The own number of record n, or nullopt when there is no such record or
  // its field does not hold a record number.
  std::optional<int> OwnOf(const RecordFile& file, int n) const {
    std::string rec;
    if (n < 1 || !file.GetRecordText(n, rec)) return std::nullopt;
    std::optional<int> own = ReadStoredLink(LinkField(rec, kOwnPos), hex_);
    if (!own || *own == kNoRecord) return std::nullopt;
    return own;
  }

  const RecordFile& Source(int level) {
    auto& f = sources_[level];
    if (!f) {
      stdfs::path path = fs::ResolveNoCase(stdfs::path(ctx_.RecWorkFolder) / (ctx_.RecJobName + LevelExt(level)));
      f = std::make_unique<RecordFile>(path, length_, RecordFileMode::ReadOnly);
    }
    return *f;
  }

  RecordFile& Target(int level) {
    auto& f = targets_[level];
    if (!f) f = std::make_unique<RecordFile>(ctx_.RecOutBase + LevelExt(level), length_, RecordFileMode::ReadWrite);
    return *f;
  }

  void Loss() {
    if (ctx_.RecResult == kRecAll) ctx_.RecResult = kRecPartial;
  }

  RecoveryContext& ctx_;
  const bool hex_;
  const int length_;
  std::array<std::unique_ptr<RecordFile>, kRecMaxLevels + 1> sources_;
  std::array<std::unique_ptr<RecordFile>, kRecMaxLevels + 1> targets_;
};

}  // namespace

bool FindLeftoverLevels(RecoveryContext& ctx, const std::string& workName, int recordLength) {
  for (int level = 1; level <= kRecMaxLevels; ++level) {
    std::optional<stdfs::path> file = fs::FindNoCase(ctx.RecWorkFolder, workName + LevelExt(level));
    std::error_code ec;
    if (!file || !stdfs::is_regular_file(*file, ec)) return true;
    std::uintmax_t size = stdfs::file_size(*file, ec);
    if (ec || size == 0 || recordLength <= 0 || size % static_cast<std::uintmax_t>(recordLength) != 0) {
      ctx.RecLevelCount = level - 1;
      return false;
    }
    ctx.RecLevelCount = level;
  }
  return true;
}

void RecoverJobLevels(RecoveryContext& ctx, const std::function<void()>& betweenRows) {
  LevelRepair repair(ctx);
  repair.TopLevel(betweenRows);
  repair.Close();
}

}  // namespace kv
