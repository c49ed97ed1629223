// DDL and account statements of the embedded engine: CREATE/DROP/ALTER of users, roles, tables,
// indexes, views, fixed views, synonyms, sequences and triggers, GRANT/REVOKE, COMMENT, TRUNCATE,
// ANALYZE and ALTER ROLLBACK SEGMENT. Each statement updates the storage and the catalogue
// together, inside the transaction the caller opened.
#pragma once

#include "db/embedded/SqlLexer.h"

namespace kolmara::db::embedded {

class EngineSession;

void executeDdl(EngineSession& session, const QList<Token>& tokens, const QString& sql);

}  // namespace kolmara::db::embedded
