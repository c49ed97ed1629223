// The main window's session as the query objects see it, the shared slots that hold the database
// access object of the call in progress, and the module-level variables through which the screens
// create, use and free their query objects.
//
// A shared slot owns its object: a method creates the object into the slot and frees it before it
// returns, except when a database error passes to the caller, in which case the object stays in
// the slot until the next call replaces it. Nothing in the slots ever dangles.
#pragma once

#include "data/HBACKUPT1.h"
#include "data/HBACKUPT2.h"
#include "data/HBACKUST1.h"
#include "data/HORACLEM1.h"
#include "data/HORACLEM2.h"
#include "data/HORACLEM3.h"
#include "db/Query.h"
#include "db/Session.h"
#include "db/Statement.h"

#include <memory>

namespace kolmara::data {

// The main window sets its session at creation and clears it (nullptr) before the session goes
// away. Changing it frees whatever the shared query and statement slots still hold, since those
// objects belong to the previous session.
void setMainSession(db::Session* session);
// The session every query method runs on. Without one, raises DatabaseError ORA-03114.
db::Session& mainSession();
// True while a call on another thread holds the main session (a worksheet query behind its cancel
// window): a timer tick skips its refresh then instead of meeting ORA-03127.
bool mainSessionBusy();
// Frees the shared slots and the module-level query objects (the application does this on exit,
// while the session still exists).
void releaseSharedObjects();

}  // namespace kolmara::data

namespace kolmara {

inline std::unique_ptr<db::Query> SharedQuery1;  // the backup screen's row dump
inline std::unique_ptr<db::Query> SharedQuery2;  // the query methods, except those below
inline std::unique_ptr<db::Query> SharedQuery3;  // GetServerDate, GetElapsedMinutes, the job's dump
inline std::unique_ptr<db::Statement> SharedStatement;  // ExecSql

inline std::unique_ptr<data::HORACLEM1> Oraclem1;
inline std::unique_ptr<data::HORACLEM2> Oraclem2;
inline std::unique_ptr<data::HORACLEM3> Oraclem3;
inline std::unique_ptr<data::HBACKUPT1> Backupt1;
inline std::unique_ptr<data::HBACKUPT2> Backupt2;
inline std::unique_ptr<data::HBACKUST1> Backust1;

}  // namespace kolmara
