#pragma once
// A small lookup in a database file: does a table hold a record whose field
// has a given value. Save As uses it in the customer variant to refuse names
// the companion program already uses (its database "VETRIX.MDB", an SQLite
// file, table "VetrixTb", field "FLD012").
#include <string>

namespace kv {

// True when the database at `dbPath` exists, has a table named exactly
// `table` with at least one record, and a record whose `field` equals
// `value`. The value is bound as a parameter, so any text (apostrophes too)
// is compared as it is. A database that is missing, unreadable or not a
// database, or a field the table lacks, gives false. The file is opened
// read-only and never created.
bool DbFindValue(const std::string& dbPath, const std::string& table, const std::string& field,
                 const std::string& value);

}  // namespace kv
