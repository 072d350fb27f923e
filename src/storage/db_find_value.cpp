#include "storage/db_find_value.h"

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

#include "platform/lazy_library.h"

namespace kv {
namespace {

// SQLite, opened at the first look-up (platform/lazy_library.h), so the
// program does not link it. The calls below reach it through the functions
// Lq_<name>, which the names are mapped to after them; without the library
// the database cannot be opened and every call fails.
template <typename F>
F* SqlFn(const char* name) {
  static LazyLibrary lib(KORVANE_SQLITE_FILE);
  return lib.Function<F>(name);
}

#define KV_SQL_FN(name, params, args)                  \
  int Lq_##name params {                               \
    static auto* f = SqlFn<decltype(::name)>(#name);   \
    return f ? f args : SQLITE_ERROR;                  \
  }
KV_SQL_FN(sqlite3_close, (sqlite3* db), (db))
KV_SQL_FN(sqlite3_prepare_v2, (sqlite3* db, const char* sql, int n, sqlite3_stmt** stmt, const char** tail),
          (db, sql, n, stmt, tail))
KV_SQL_FN(sqlite3_finalize, (sqlite3_stmt* stmt), (stmt))
KV_SQL_FN(sqlite3_bind_text, (sqlite3_stmt* stmt, int i, const char* text, int n, void (*del)(void*)),
          (stmt, i, text, n, del))
KV_SQL_FN(sqlite3_step, (sqlite3_stmt* stmt), (stmt))
KV_SQL_FN(sqlite3_db_config, (sqlite3* db, int op, int value, int* out), (db, op, value, out))
#undef KV_SQL_FN

int Lq_sqlite3_open_v2(const char* file, sqlite3** db, int flags, const char* vfs) {
  static auto* f = SqlFn<decltype(::sqlite3_open_v2)>("sqlite3_open_v2");
  if (!f) {
    *db = nullptr;
    return SQLITE_CANTOPEN;
  }
  return f(file, db, flags, vfs);
}

#define sqlite3_open_v2 Lq_sqlite3_open_v2
#define sqlite3_close Lq_sqlite3_close
#define sqlite3_prepare_v2 Lq_sqlite3_prepare_v2
#define sqlite3_finalize Lq_sqlite3_finalize
#define sqlite3_bind_text Lq_sqlite3_bind_text
#define sqlite3_step Lq_sqlite3_step
#define sqlite3_db_config Lq_sqlite3_db_config

// An identifier between double quotes, inner quotes doubled.
std::string Quoted(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

class Db {
 public:
  explicit Db(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
      sqlite3_close(db_);
      db_ = nullptr;
    }
  }
  ~Db() { sqlite3_close(db_); }
  Db(const Db&) = delete;
  Db& operator=(const Db&) = delete;
  sqlite3* get() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) {
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  bool ok() const { return stmt_ != nullptr; }
  bool Bind(int i, const std::string& text) {
    return sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) ==
           SQLITE_OK;
  }
  // True when a row comes.
  bool Row() { return sqlite3_step(stmt_) == SQLITE_ROW; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace

bool DbFindValue(const std::string& dbPath, const std::string& table, const std::string& field,
                 const std::string& value) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(dbPath, ec)) return false;
  Db db(dbPath);
  if (!db.get()) return false;
  // A double-quoted name is a name only, never a text in disguise.
  sqlite3_db_config(db.get(), SQLITE_DBCONFIG_DQS_DML, 0, nullptr);

  // The table, by its exact name.
  Statement tableFound(db.get(), "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1");
  if (!tableFound.ok() || !tableFound.Bind(1, table) || !tableFound.Row()) return false;

  Statement anyRecord(db.get(), "SELECT 1 FROM " + Quoted(table) + " LIMIT 1");
  if (!anyRecord.ok() || !anyRecord.Row()) return false;

  Statement match(db.get(), "SELECT 1 FROM " + Quoted(table) + " WHERE " + Quoted(field) + " = ?1 LIMIT 1");
  if (!match.ok() || !match.Bind(1, value)) return false;
  return match.Row();
}

}  // namespace kv
