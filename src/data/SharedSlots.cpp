// The main session pointer and the release of the shared objects.
#include "data/SharedSlots.h"

namespace kolmara::data {

namespace {
db::Session* g_mainSession = nullptr;

void releaseDatabaseObjects()
{
    SharedQuery1.reset();
    SharedQuery2.reset();
    SharedQuery3.reset();
    SharedStatement.reset();
}
}  // namespace

void setMainSession(db::Session* session)
{
    if (session != g_mainSession)
        releaseDatabaseObjects();
    g_mainSession = session;
}

bool mainSessionBusy()
{
    return g_mainSession && g_mainSession->isBusy();
}

db::Session& mainSession()
{
    if (!g_mainSession)
        throw db::DatabaseError(3114, QStringLiteral("not connected to ORACLE"));
    return *g_mainSession;
}

void releaseSharedObjects()
{
    releaseDatabaseObjects();
    Oraclem1.reset();
    Oraclem2.reset();
    Oraclem3.reset();
    Backupt1.reset();
    Backupt2.reset();
    Backust1.reset();
}

}  // namespace kolmara::data
