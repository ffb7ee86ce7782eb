// A thin layer over SQLite for the game's history: open a file, run SQL,
// prepared statements, transactions and the schema version. Nothing else in
// the program includes sqlite3.h.
#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// Messages name the file and give SQLite's reason. Damaged is set when the
// file is not a database or its content is corrupt (as opposed to a folder
// that cannot be written or a full disk); Busy when another program held the
// file locked for longer than the wait, which harms nothing in it.
class EDatabaseError : public std::runtime_error {
 public:
  EDatabaseError(const std::string& text, bool damaged, bool busy = false)
      : std::runtime_error(text), Damaged(damaged), Busy(busy) {}
  bool Damaged;
  bool Busy;
};

class TDatabase;

// One prepared statement. Parameters are numbered from 1, columns from 0.
class TStatement {
 public:
  TStatement(TDatabase& db, std::string_view sql);
  ~TStatement();
  TStatement(const TStatement&) = delete;
  TStatement& operator=(const TStatement&) = delete;

  TStatement& Bind(int index, int64_t value);
  TStatement& Bind(int index, double value);
  TStatement& Bind(int index, std::string_view value);
  // True while it yields a row; false when done.
  bool Step();
  // Ready to run again with new parameters.
  void Reset();
  int64_t Int(int column) const;
  double Real(int column) const;
  std::string Text(int column) const;

 private:
  TDatabase& db_;
  sqlite3_stmt* stmt_ = nullptr;
};

class TDatabase {
 public:
  static constexpr int DefaultBusyWaitMs = 2000;
  // Opens the file, creating it when missing. EDatabaseError when it cannot.
  // A statement waits up to busyWaitMs for another program's lock.
  explicit TDatabase(const std::string& path, int busyWaitMs = DefaultBusyWaitMs);
  ~TDatabase();
  TDatabase(const TDatabase&) = delete;
  TDatabase& operator=(const TDatabase&) = delete;

  // Runs one or more statements that return no rows.
  void Exec(std::string_view sql);
  int UserVersion();
  void SetUserVersion(int version);
  // Reads every page: EDatabaseError (damaged) unless the file is sound.
  void CheckIntegrity();
  int64_t LastInsertId() const;
  const std::string& Path() const { return path_; }

  // Throws EDatabaseError for an SQLite result code that is not success.
  void Check(int code, std::string_view what) const;
  sqlite3* Handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
  std::string path_;
};

// BEGIN IMMEDIATE on creation; Commit makes it last, anything else rolls back.
class TTransaction {
 public:
  explicit TTransaction(TDatabase& db);
  ~TTransaction();
  TTransaction(const TTransaction&) = delete;
  TTransaction& operator=(const TTransaction&) = delete;
  void Commit();

 private:
  TDatabase& db_;
  bool done_ = false;
};
