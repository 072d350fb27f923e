#pragma once
// The program's one SQLite layer: a database handle and a prepared statement
// with bound parameters (every value goes in as a parameter, never as SQL
// text), and on them the index database of the classification build.
//
// Index database (SYSIDX.MDB in the program folder, an SQLite file): table
// "インデックス" with the fields レコード, 兄弟, 子供, 階層 (text, 4 bytes at
// most), CODE and NAME (BLOBs holding the exact Shift-JIS bytes, at most
// their column's width), a non-unique index "CODE" on CODE, no primary key.
// Each field's size is a CHECK on its byte length, so a longer value is
// refused. The sorted query orders by the CODE bytes, and rows of one code
// in the order they were added.
#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace kv {

enum class SqliteOpen { ReadOnly, ReadWrite, Create };

class SqliteDb {
 public:
  // Opens the file (Create: creates it when missing); check ok().
  SqliteDb(const std::filesystem::path& path, SqliteOpen mode);
  ~SqliteDb();
  SqliteDb(const SqliteDb&) = delete;
  SqliteDb& operator=(const SqliteDb&) = delete;
  bool ok() const { return db_ != nullptr; }
  sqlite3* get() const { return db_; }
  // Runs statements without parameters; false (with the reason) on failure.
  bool Exec(const std::string& sql, std::string& error);
  std::string LastError() const;

 private:
  sqlite3* db_ = nullptr;
};

class SqliteStatement {
 public:
  SqliteStatement(sqlite3* db, const std::string& sql);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;
  bool ok() const { return stmt_ != nullptr; }
  bool Bind(int i, std::string_view text);
  bool BindBlob(int i, std::string_view bytes);
  // True when a row comes.
  bool Row();
  // Runs a statement that returns no rows; true when it completed. Resets it
  // for the next run.
  bool Run();
  // Column i (0-based) of the current row as bytes.
  std::string Column(int i) const;
  int ColumnInt(int i) const;
  int ColumnIndex(std::string_view name) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

inline constexpr const char* kIndexDbName = "SYSIDX.MDB";

// One row of the index, each value as stored.
struct IndexRow {
  std::string record;  // レコード
  std::string next;    // 兄弟
  std::string child;   // 子供
  std::string level;   // 階層
  std::string code;    // CODE
  std::string name;    // NAME
};

// Deletes an old file and creates the database with its table and index.
bool IndexDbCreate(const std::filesystem::path& file, int codeWidth, int nameWidth, std::string& error);

// Rows appended to the index inside one transaction.
class IndexDbWriter {
 public:
  explicit IndexDbWriter(const std::filesystem::path& file);
  ~IndexDbWriter();  // an uncommitted transaction is rolled back
  IndexDbWriter(const IndexDbWriter&) = delete;
  IndexDbWriter& operator=(const IndexDbWriter&) = delete;
  // False when the database cannot be opened or has no field of that name.
  bool HasField(std::string_view name);
  bool ok() const { return ok_; }
  bool Append(const IndexRow& row);
  bool Commit();
  const std::string& Error() const { return error_; }

 private:
  SqliteDb db_;
  std::unique_ptr<SqliteStatement> insert_;
  bool ok_ = false;
  bool inTransaction_ = false;
  std::string error_;
};

// The sorted query: ORDER BY CODE, then in the order the rows were added.
class IndexDbQuery {
 public:
  explicit IndexDbQuery(const std::filesystem::path& file);
  IndexDbQuery(const IndexDbQuery&) = delete;
  IndexDbQuery& operator=(const IndexDbQuery&) = delete;
  bool ok() const { return select_ != nullptr; }
  int Count() const { return count_; }
  // The next row; false at the end.
  bool Next(IndexRow& row);
  const std::string& Error() const { return error_; }

 private:
  SqliteDb db_;
  std::unique_ptr<SqliteStatement> select_;
  int count_ = 0;
  std::string error_;
};

}  // namespace kv
