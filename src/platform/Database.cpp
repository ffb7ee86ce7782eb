#include "platform/Database.h"
#include "platform/Files.h"

#include <sqlite3.h>

namespace {
bool IsDamage(int code) {
  code &= 0xFF;
  return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

bool IsBusy(int code) {
  code &= 0xFF;
  return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}
}  // namespace

TDatabase::TDatabase(const std::string& path, int busyWaitMs) : path_(path) {
  int code = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOFOLLOW,
                             nullptr);
  if (code != SQLITE_OK) {
    std::string reason = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
    sqlite3_close(db_);
    db_ = nullptr;
    throw EDatabaseError("Could not open " + path + ": " + reason, IsDamage(code), IsBusy(code));
  }
  sqlite3_extended_result_codes(db_, 1);
  // Another copy of the game may be saving; wait for it rather than fail.
  sqlite3_busy_timeout(db_, busyWaitMs);
}

TDatabase::~TDatabase() { sqlite3_close(db_); }

void TDatabase::Check(int code, std::string_view what) const {
  if (code == SQLITE_OK || code == SQLITE_ROW || code == SQLITE_DONE) return;
  throw EDatabaseError(path_ + ": " + std::string(what) + ": " + sqlite3_errmsg(db_), IsDamage(code),
                       IsBusy(code));
}

void TDatabase::Exec(std::string_view sql) {
  std::string text(sql);
  Check(sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr), text.substr(0, 40));
}

int TDatabase::UserVersion() {
  TStatement s(*this, "PRAGMA user_version");
  return s.Step() ? static_cast<int>(s.Int(0)) : 0;
}

void TDatabase::SetUserVersion(int version) { Exec("PRAGMA user_version = " + std::to_string(version)); }

void TDatabase::CheckIntegrity() {
  TStatement s(*this, "PRAGMA quick_check(1)");
  if (!s.Step() || s.Text(0) != "ok") throw EDatabaseError(path_ + ": the file is damaged", true);
}

int64_t TDatabase::LastInsertId() const { return sqlite3_last_insert_rowid(db_); }

TStatement::TStatement(TDatabase& db, std::string_view sql) : db_(db) {
  db_.Check(sqlite3_prepare_v2(db.Handle(), sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr),
            sql.substr(0, 40));
}

TStatement::~TStatement() { sqlite3_finalize(stmt_); }

TStatement& TStatement::Bind(int index, int64_t value) {
  db_.Check(sqlite3_bind_int64(stmt_, index, value), "bind");
  return *this;
}

TStatement& TStatement::Bind(int index, double value) {
  db_.Check(sqlite3_bind_double(stmt_, index, value), "bind");
  return *this;
}

TStatement& TStatement::Bind(int index, std::string_view value) {
  db_.Check(sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT), "bind");
  return *this;
}

bool TStatement::Step() {
  int code = sqlite3_step(stmt_);
  db_.Check(code, "step");
  return code == SQLITE_ROW;
}

void TStatement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

int64_t TStatement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }
double TStatement::Real(int column) const { return sqlite3_column_double(stmt_, column); }
std::string TStatement::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  return text ? std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(stmt_, column)) : std::string();
}

TTransaction::TTransaction(TDatabase& db) : db_(db) { db_.Exec("BEGIN IMMEDIATE"); }

TTransaction::~TTransaction() {
  if (!done_) sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void TTransaction::Commit() {
  db_.Exec("COMMIT");
  done_ = true;
  // The browser keeps files only once they are flushed to its storage.
  FileSaved(db_.Path());
}
