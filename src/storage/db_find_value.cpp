#include "storage/db_find_value.h"

#include <filesystem>
#include <system_error>

#include "platform/index_db.h"

namespace kv {
namespace {

// An identifier between double quotes, inner quotes doubled.
std::string Quoted(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

}  // namespace

bool DbFindValue(const std::string& dbPath, const std::string& table, const std::string& field,
                 const std::string& value) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(dbPath, ec)) return false;
  const SqliteDb db(dbPath, SqliteOpen::ReadOnly);
  if (!db.ok()) return false;

  // The table, by its exact name.
  SqliteStatement tableFound(db.get(), "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1");
  if (!tableFound.ok() || !tableFound.Bind(1, table) || !tableFound.Row()) return false;

  SqliteStatement anyRecord(db.get(), "SELECT 1 FROM " + Quoted(table) + " LIMIT 1");
  if (!anyRecord.ok() || !anyRecord.Row()) return false;

  SqliteStatement match(db.get(), "SELECT 1 FROM " + Quoted(table) + " WHERE " + Quoted(field) + " = ?1 LIMIT 1");
  if (!match.ok() || !match.Bind(1, value)) return false;
  return match.Row();
}

}  // namespace kv
