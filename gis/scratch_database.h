#pragma once

#include <cstdio>

struct sqlite3;

namespace velkaro::gis {

// SQLite databases kept in scratch files (see openScratchFile), so that a database of any size
// takes no more memory than SQLite's page cache, bounded here to kScratchCacheKiB. Every file
// SQLite opens for one, the database and any journal or temporary file, is a scratch file of
// its own: nameless to everyone else, deleted by the system when closed or when the process ends
// however it ends, so that no run leaves one behind. No other connection can reach them, so
// they take no locks.
//
// The database's bytes follow from the statements run and nothing else: the page size is fixed
// and SQLite sees the same kind of file on every system, so Linux and Windows write the same.

inline constexpr int kScratchCacheKiB = 4096;

// Opens a new, empty database in a scratch file, with the bounded page cache, no rollback
// journal and no syncing: the file is dropped on any failure, so nothing in it needs to
// survive one. Returns SQLite's result code; *db must be closed whatever it is.
[[nodiscard]] int openScratchDatabase(sqlite3 **db);

// Copies the bytes of db's main database file (as its last commit left them, for a database of
// openScratchDatabase) to the end of out. False when the scratch file could not be read or out
// written; errno then says why.
[[nodiscard]] bool copyScratchDatabase(sqlite3 *db, std::FILE *out);

} // namespace velkaro::gis
