// Times the lists of the object information and user management screens on a big dictionary: the
// demo instance grown by an account that owns many objects and by many more accounts. Each figure
// is the whole screen action as a click runs it (the statement, the copy into the slots and the
// grid fill). Prints milliseconds; asserts nothing.
//
//   QT_QPA_PLATFORM=offscreen info_lists_bench [objects] [users] [runs]
//                                               (default 6000 objects, 400 users, 7 runs)
#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "db/Query.h"
#include "db/Session.h"
#include "screens/objects/KOLM220U.h"
#include "screens/users/KOLM320U.h"
#include "widgets/StringGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace kolmara;

namespace {

void exec(db::Session& s, const QString& sql)
{
    db::Query q(&s);
    q.addSql(sql);
    q.execSql();
}

template <typename Action>
void time(const char* what, int runs, Action action)
{
    QList<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        const int rows = action();
        ms.append(t.nsecsElapsed() / 1e6);
        if (i == 0)
            std::printf("%-44s %6d rows\n", what, rows);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-44s min %8.1f ms   median %8.1f ms   (%d runs)\n", what, ms.first(), ms[ms.size() / 2], runs);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int objects = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 6000;
    const int users = argc > 2 ? qMax(1, QByteArray(argv[2]).toInt()) : 400;
    const int runs = argc > 3 ? qMax(1, QByteArray(argv[3]).toInt()) : 7;

    QTemporaryDir folder;
    QFile ini(folder.filePath(QStringLiteral("KOLMARA.INI")));
    if (!folder.isValid() || !ini.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    ini.write("[Embedded Databases]\r\nDEMO=KOLMDEMO.DB\r\n");
    ini.close();
    setProgramFolderForTesting(folder.path());

    db::Session session;
    session.setServer(QStringLiteral("DEMO"));
    session.setUsername(QStringLiteral("SYSTEM"));
    session.setPassword(QStringLiteral("MANAGER"));
    session.setLoginPrompt(false);
    session.connect();

    QElapsedTimer grow;
    grow.start();
    exec(session, QStringLiteral("CREATE USER BIGAPP IDENTIFIED BY BIGAPP DEFAULT TABLESPACE USERS TEMPORARY TABLESPACE TEMP"));
    for (int i = 0; i < objects; ++i) {
        const QString n = QString::number(i).rightJustified(5, QLatin1Char('0'));
        switch (i % 3) {
        case 0:
            exec(session, QStringLiteral("CREATE TABLE BIGAPP.T%1 (ID NUMBER PRIMARY KEY, NAME VARCHAR2(30))").arg(n));
            break;
        case 1:
            exec(session, QStringLiteral("CREATE SEQUENCE BIGAPP.S%1").arg(n));
            break;
        default:
            exec(session, QStringLiteral("CREATE PROCEDURE BIGAPP.P%1 IS BEGIN NULL; END;").arg(n));
            break;
        }
    }
    for (int i = 0; i < users; ++i)
        exec(session, QStringLiteral("CREATE USER U%1 IDENTIFIED BY X DEFAULT TABLESPACE USERS TEMPORARY TABLESPACE TEMP")
                          .arg(i, 4, 10, QLatin1Char('0')));
    std::printf("grew the dictionary by %d objects (and their indexes) and %d users in %.1f s\n", objects, users,
                grow.elapsed() / 1000.0);

    data::setMainSession(&session);
    ConnServer = QStringLiteral("DEMO");
    ConnUser = QStringLiteral("BIGAPP");
    {
        screens::TKOLM220F objectScreen;
        auto* grid = objectScreen.findChild<ui::StringGrid*>(QStringLiteral("AdvStringGrid1"));
        time("GetObjects alone (statement and slots)", runs, [&] {
            data::HORACLEM2 objects;
            return objects.GetObjects(QStringLiteral("BIGAPP"), QStringLiteral("%"), QStringLiteral("%"));
        });
        time("object list, every object of BIGAPP", runs, [&] {
            objectScreen.sbt_selectClick();
            return grid->rowCount() - 1;
        });
    }
    {
        screens::TKOLM320F userScreen;
        auto* grid = userScreen.findChild<ui::StringGrid*>(QStringLiteral("AdvStringGrid1"));
        time("user lists, every database user", runs, [&] {
            userScreen.LoadUserList();
            return grid->rowCount() - 1;
        });
    }
    data::releaseSharedObjects();
    data::setMainSession(nullptr);
    setProgramFolderForTesting(QString());
    return 0;
}
