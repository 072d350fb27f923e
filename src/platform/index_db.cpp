#include "platform/index_db.h"

#include <system_error>

namespace kv {

// ---- SQLite ----

SqliteDb::SqliteDb(const std::filesystem::path& path, SqliteOpen mode) {
  const int flags = mode == SqliteOpen::ReadOnly    ? SQLITE_OPEN_READONLY
                    : mode == SqliteOpen::ReadWrite ? SQLITE_OPEN_READWRITE
                                                    : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    sqlite3_close(db_);
    db_ = nullptr;
    return;
  }
  // A double-quoted name is a name only, never a text in disguise.
  sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
}

SqliteDb::~SqliteDb() { sqlite3_close(db_); }

bool SqliteDb::Exec(const std::string& sql, std::string& error) {
  if (db_ == nullptr) {
    error = "database not open";
    return false;
  }
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return true;
  error = message != nullptr ? message : LastError();
  sqlite3_free(message);
  return false;
}

std::string SqliteDb::LastError() const { return db_ != nullptr ? sqlite3_errmsg(db_) : "database not open"; }

SqliteStatement::SqliteStatement(sqlite3* db, const std::string& sql) {
  if (db == nullptr || sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(stmt_); }

bool SqliteStatement::Bind(int i, std::string_view text) {
  return sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) == SQLITE_OK;
}

bool SqliteStatement::BindBlob(int i, std::string_view bytes) {
  // An empty BLOB, not NULL, for an empty value.
  return sqlite3_bind_blob(stmt_, i, bytes.empty() ? "" : bytes.data(), static_cast<int>(bytes.size()),
                           SQLITE_TRANSIENT) == SQLITE_OK;
}

bool SqliteStatement::Row() { return stmt_ != nullptr && sqlite3_step(stmt_) == SQLITE_ROW; }

bool SqliteStatement::Run() {
  if (stmt_ == nullptr) return false;
  const int rc = sqlite3_step(stmt_);
  sqlite3_reset(stmt_);
  return rc == SQLITE_DONE;
}

std::string SqliteStatement::Column(int i) const {
  const void* data = sqlite3_column_blob(stmt_, i);
  const int n = sqlite3_column_bytes(stmt_, i);
  return data != nullptr ? std::string(static_cast<const char*>(data), static_cast<size_t>(n)) : std::string();
}

int SqliteStatement::ColumnInt(int i) const { return sqlite3_column_int(stmt_, i); }

int SqliteStatement::ColumnIndex(std::string_view name) const {
  for (int i = 0; i < sqlite3_column_count(stmt_); ++i)
    if (name == sqlite3_column_name(stmt_, i)) return i;
  return -1;
}

// ---- The index database ----

namespace {

constexpr const char* kTable = "\"インデックス\"";

}  // namespace

bool IndexDbCreate(const std::filesystem::path& file, int codeWidth, int nameWidth, std::string& error) {
  std::error_code ec;
  std::filesystem::remove(file, ec);
  if (ec) {
    error = ec.message();
    return false;
  }
  SqliteDb db(file, SqliteOpen::Create);
  if (!db.ok()) {
    error = db.LastError();
    return false;
  }
  const std::string code = std::to_string(codeWidth);
  const std::string name = std::to_string(nameWidth);
  return db.Exec(std::string("CREATE TABLE ") + kTable +
                     "(\"レコード\" TEXT CHECK(length(CAST(\"レコード\" AS BLOB)) <= 4),"
                     "\"兄弟\" TEXT CHECK(length(CAST(\"兄弟\" AS BLOB)) <= 4),"
                     "\"子供\" TEXT CHECK(length(CAST(\"子供\" AS BLOB)) <= 4),"
                     "\"階層\" TEXT CHECK(length(CAST(\"階層\" AS BLOB)) <= 4),"
                     "\"CODE\" BLOB CHECK(length(\"CODE\") <= " +
                     code + "),\"NAME\" BLOB CHECK(length(\"NAME\") <= " + name + "));" +
                     "CREATE INDEX \"CODE\" ON " + kTable + "(\"CODE\");",
                 error);
}

IndexDbWriter::IndexDbWriter(const std::filesystem::path& file) : db_(file, SqliteOpen::ReadWrite) {
  if (!db_.ok()) {
    error_ = db_.LastError();
    return;
  }
  insert_ = std::make_unique<SqliteStatement>(db_.get(), std::string("INSERT INTO ") + kTable +
                                               "(\"レコード\",\"兄弟\",\"子供\",\"階層\",\"CODE\",\"NAME\")"
                                               " VALUES(?1,?2,?3,?4,?5,?6)");
  if (!insert_->ok()) {
    error_ = db_.LastError();
    return;
  }
  ok_ = db_.Exec("BEGIN", error_);
  inTransaction_ = ok_;
}

IndexDbWriter::~IndexDbWriter() {
  insert_.reset();
  std::string ignored;
  if (inTransaction_) db_.Exec("ROLLBACK", ignored);
}

bool IndexDbWriter::HasField(std::string_view name) {
  if (!db_.ok()) return false;
  SqliteStatement info(db_.get(), std::string("SELECT name FROM pragma_table_info('インデックス')"));
  while (info.Row())
    if (info.Column(0) == name) return true;
  return false;
}

bool IndexDbWriter::Append(const IndexRow& row) {
  if (!ok_) return false;
  if (insert_->Bind(1, row.record) && insert_->Bind(2, row.next) && insert_->Bind(3, row.child) &&
      insert_->Bind(4, row.level) && insert_->BindBlob(5, row.code) && insert_->BindBlob(6, row.name) &&
      insert_->Run())
    return true;
  error_ = db_.LastError();
  return false;
}

bool IndexDbWriter::Commit() {
  if (!ok_ || !inTransaction_) return false;
  inTransaction_ = false;
  return db_.Exec("COMMIT", error_);
}

IndexDbQuery::IndexDbQuery(const std::filesystem::path& file) : db_(file, SqliteOpen::ReadOnly) {
  if (!db_.ok()) {
    error_ = db_.LastError();
    return;
  }
  SqliteStatement count(db_.get(), std::string("SELECT count(*) FROM ") + kTable);
  if (!count.Row()) {
    error_ = db_.LastError();
    return;
  }
  count_ = count.ColumnInt(0);
  auto select = std::make_unique<SqliteStatement>(
      db_.get(), std::string("SELECT \"レコード\",\"兄弟\",\"子供\",\"階層\",\"CODE\",\"NAME\" FROM ") + kTable +
                     " ORDER BY \"CODE\", rowid");
  if (!select->ok()) {
    error_ = db_.LastError();
    return;
  }
  select_ = std::move(select);
}

bool IndexDbQuery::Next(IndexRow& row) {
  if (!select_ || !select_->Row()) return false;
  row.record = select_->Column(0);
  row.next = select_->Column(1);
  row.child = select_->Column(2);
  row.level = select_->Column(3);
  row.code = select_->Column(4);
  row.name = select_->Column(5);
  return true;
}

}  // namespace kv
