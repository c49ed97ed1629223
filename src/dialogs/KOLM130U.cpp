// The catalogue object creation dialog.
#include "dialogs/KOLM130U.h"

#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "widgets/ActionGuard.h"
#include "widgets/DialogFrame.h"
#include "widgets/ToolButtons.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kolmara::dialogs {

namespace {

// The installation: the account that owns the catalogue, and the accounts that reach it, in the
// order the scripts grant them (the demo instance's). The comments name the account to log in as;
// its password is the installation's and stays out of the text.
const QString kOwner = QStringLiteral("TGHADM");
const QStringList kGrantees = {QStringLiteral("TGHAPP"), QStringLiteral("TGHWEB"),
                               QStringLiteral("TGHBAT"), QStringLiteral("TGHRPT"),
                               QStringLiteral("TGHEDI"), QStringLiteral("SYSTEM")};
const QString kPasswordPlaceholder = QStringLiteral("<암호>");

QString loginComment(const QString& account)
{
    return QStringLiteral("-- ") + account + QLatin1Char('/') + kPasswordPlaceholder +
           QStringLiteral(" 로깅 생성");
}

// clang-format off
const QString kBackupTableScript = QStringLiteral(
    "\n"
    "CREATE TABLE BACKUP_TABLE\n"
    "     ( BACKUP_SERVER                    VARCHAR2(30) NOT NULL,\n"
    "       BACKUP_ACCOUNT                   VARCHAR2(30) NOT NULL,\n"
    "       BACKUP_TABLEID                   VARCHAR2(30) NOT NULL,\n"
    "       BACKUP_TABLENAME                 VARCHAR2(80),\n"
    "       BACKUP_CYCLE                     VARCHAR2(02),\n"
    "       BACKUP_TYPE                      VARCHAR2(02),\n"
    "       BACKUP_TIME                      VARCHAR2(02),\n"
    "       BACKUP_CONDISION                 VARCHAR2(200),\n"
    "       BACKUP_DATETIME                  VARCHAR2(15),\n"
    "       CONSTRAINT BACKUP_TABLE_PK PRIMARY KEY(BACKUP_SERVER, BACKUP_ACCOUNT,\n"
    "                                              BACKUP_TABLEID)\n"
    "         USING INDEX PCTFREE 30 TABLESPACE &INDEX_TABLESPACE\n"
    "         STORAGE(INITIAL &INIT_INDEX_SIZE NEXT &NEXT_INDEX_SIZE PCTINCREASE 0))\n"
    "        TABLESPACE       &DATA_TABLESPACE\n"
    "         STORAGE(INITIAL &INIT_DATA_SIZE NEXT &NEXT_DATA_SIZE FREELISTS 10 PCTINCREASE 0)\n"
    "        PCTFREE  20\n"
    "        PCTUSED  75;\n"
    "\n"
    "COMMENT ON TABLE  BACKUP_TABLE                  IS '백업대상';\n"
    "COMMENT ON COLUMN BACKUP_TABLE.BACKUP_SERVER    IS '백업서버';\n"
    "COMMENT ON COLUMN BACKUP_TABLE.BACKUP_ACCOUNT   IS '백업계정';\n"
    "COMMENT ON COLUMN BACKUP_TABLE.BACKUP_TABLEID   IS '테 이 블';\n"
    "COMMENT ON COLUMN BACKUP_TABLE.BACKUP_TABLENAME IS '테이블명';\n"
    "COMMENT ON COLUMN BACKUP_TABLE.BACKUP_CYCLE     IS '백업주기';\n"
    "COMMENT ON COLUMN BACKUP_TABLE.BACKUP_TYPE      IS '백업구분';\n"
    "COMMENT ON COLUMN BACKUP_TABLE.BACKUP_TIME      IS '백업시간';\n"
    "COMMENT ON COLUMN BACKUP_TABLE.BACKUP_CONDISION IS '백업조건';\n"
    "COMMENT ON COLUMN BACKUP_TABLE.BACKUP_DATETIME  IS '최종백업';");

const QString kBacklogTableScript = QStringLiteral(
    "\n"
    "CREATE TABLE BACKLOG_TABLE\n"
    "     ( BACKLOG_SERVER                    VARCHAR2(30) NOT NULL,\n"
    "       BACKLOG_ACCOUNT                   VARCHAR2(30) NOT NULL,\n"
    "       BACKLOG_TABLEID                   VARCHAR2(30) NOT NULL,\n"
    "       BACKLOG_SDATETIME                 VARCHAR2(15) NOT NULL,\n"
    "       BACKLOG_EDATETIME                 VARCHAR2(15),\n"
    "       BACKLOG_TABLENAME                 VARCHAR2(80),\n"
    "       BACKLOG_CYCLE                     VARCHAR2(02),\n"
    "       BACKLOG_TYPE                      VARCHAR2(02),\n"
    "       BACKLOG_TIME                      VARCHAR2(02),\n"
    "       BACKLOG_IPNAME                    VARCHAR2(15),\n"
    "       BACKLOG_CONDISION                 VARCHAR2(200),\n"
    "       BACKLOG_PATH                      VARCHAR2(200),\n"
    "       BACKLOG_COUNT                     NUMBER(13)  DEFAULT 0,\n"
    "       CONSTRAINT BACKLOG_TABLE_PK PRIMARY KEY(BACKLOG_SERVER, BACKLOG_ACCOUNT,\n"
    "                                               BACKLOG_TABLEID,BACKLOG_SDATETIME)\n"
    "         USING INDEX PCTFREE 30 TABLESPACE &INDEX_TABLESPACE\n"
    "         STORAGE(INITIAL &INIT_INDEX_SIZE NEXT &NEXT_INDEX_SIZE PCTINCREASE 0))\n"
    "        TABLESPACE       &DATA_TABLESPACE\n"
    "         STORAGE(INITIAL &INIT_DATA_SIZE NEXT &NEXT_DATA_SIZE FREELISTS 10 PCTINCREASE 0)\n"
    "        PCTFREE  20\n"
    "        PCTUSED  60;\n"
    "\n"
    "COMMENT ON TABLE  BACKLOG_TABLE                   IS '백업정보';\n"
    "COMMENT ON COLUMN BACKLOG_TABLE.BACKLOG_SERVER    IS '백업서버';\n"
    "COMMENT ON COLUMN BACKLOG_TABLE.BACKLOG_ACCOUNT   IS '백업계정';\n"
    "COMMENT ON COLUMN BACKLOG_TABLE.BACKLOG_TABLEID   IS '테 이 블';\n"
    "COMMENT ON COLUMN BACKLOG_TABLE.BACKLOG_SDATETIME IS '시작일시';\n"
    "COMMENT ON COLUMN BACKLOG_TABLE.BACKLOG_EDATETIME IS '종료일시';\n"
    "COMMENT ON COLUMN BACKLOG_TABLE.BACKLOG_TABLENAME IS '테이블명';\n"
    "COMMENT ON COLUMN BACKLOG_TABLE.BACKLOG_CYCLE     IS '백업주기';\n"
    "COMMENT ON COLUMN BACKLOG_TABLE.BACKLOG_TYPE      IS '백업구분';\n"
    "COMMENT ON COLUMN BACKLOG_TABLE.BACKLOG_TIME      IS '백업시간';\n"
    "COMMENT ON COLUMN BACKLOG_TABLE.BACKLOG_IPNAME    IS '백업주소';\n"
    "COMMENT ON COLUMN BACKLOG_TABLE.BACKLOG_CONDISION IS '백업조건';\n"
    "COMMENT ON COLUMN BACKLOG_TABLE.BACKLOG_PATH      IS '백업장소';\n"
    "COMMENT ON COLUMN BACKLOG_TABLE.BACKLOG_COUNT     IS '백업건수';");

const QString kBackuserTableScript = QStringLiteral(
    "\n"
    "CREATE TABLE BACKUSER_TABLE\n"
    "     ( BACKUSER_SERVER                    VARCHAR2(30) NOT NULL,\n"
    "       BACKUSER_ACCOUNT                   VARCHAR2(30) NOT NULL,\n"
    "       BACKUSER_PASSWD                    VARCHAR2(30),\n"
    "       BACKUSER_USERNAME                  VARCHAR2(50),\n"
    "       BACKUSER_TIME                      VARCHAR2(04),\n"
    "       BACKUSER_TYPE                      VARCHAR2(01),\n"
    "       BACKUSER_MDFDAT                    VARCHAR2(15),\n"
    "       CONSTRAINT BACKUSER_TABLE_PK PRIMARY KEY(BACKUSER_SERVER, BACKUSER_ACCOUNT)\n"
    "         USING INDEX PCTFREE 30 TABLESPACE TGHI\n"
    "         STORAGE(INITIAL 10M NEXT 5M PCTINCREASE 0))\n"
    "        TABLESPACE       TGHD\n"
    "         STORAGE(INITIAL 50M NEXT 10M FREELISTS 10 PCTINCREASE 0)\n"
    "        PCTFREE  20\n"
    "        PCTUSED  60;\n"
    "\n"
    "COMMENT ON TABLE  BACKUSER_TABLE                   IS '백업유저';\n"
    "COMMENT ON COLUMN BACKUSER_TABLE.BACKUSER_SERVER   IS '백업서버';\n"
    "COMMENT ON COLUMN BACKUSER_TABLE.BACKUSER_ACCOUNT  IS '백업계정';\n"
    "COMMENT ON COLUMN BACKUSER_TABLE.BACKUSER_PASSWD   IS '계정암호';\n"
    "COMMENT ON COLUMN BACKUSER_TABLE.BACKUSER_USERNAME IS '계정명칭';\n"
    "COMMENT ON COLUMN BACKUSER_TABLE.BACKUSER_TIME     IS '백업시분';\n"
    "COMMENT ON COLUMN BACKUSER_TABLE.BACKUSER_TYPE     IS '백업구분';\n"
    "COMMENT ON COLUMN BACKUSER_TABLE.BACKUSER_MDFDAT   IS '변경일시';");

const QString kPlanTableScript = QStringLiteral(
    "\n"
    "CREATE TABLE PLAN_TABLE (\n"
    "        STATEMENT_ID    VARCHAR2(30),\n"
    "        TIMESTAMP       DATE,\n"
    "        REMARKS         VARCHAR2(80),\n"
    "        OPERATION       VARCHAR2(30),\n"
    "        OPTIONS         VARCHAR2(30),\n"
    "        OBJECT_NODE     VARCHAR2(128),\n"
    "        OBJECT_OWNER    VARCHAR2(30),\n"
    "        OBJECT_NAME     VARCHAR2(30),\n"
    "        OBJECT_INSTANCE NUMERIC,\n"
    "        OBJECT_TYPE     VARCHAR2(30),\n"
    "        OPTIMIZER       VARCHAR2(255),\n"
    "        SEARCH_COLUMNS  NUMBER,\n"
    "        ID              NUMERIC,\n"
    "        PARENT_ID       NUMERIC,\n"
    "        POSITION        NUMERIC,\n"
    "        COST            NUMERIC,\n"
    "        CARDINALITY     NUMERIC,\n"
    "        BYTES           NUMERIC,\n"
    "        OTHER_TAG       VARCHAR2(255),\n"
    "        PARTITION_START VARCHAR2(255),\n"
    "        PARTITION_STOP  VARCHAR2(255),\n"
    "        PARTITION_ID    NUMERIC,\n"
    "        OTHER           LONG,\n"
    "        DISTRIBUTION    VARCHAR2(30))");

// clang-format on

QPlainTextEdit* scriptBox(const QString& name, const QString& text, QWidget* parent)
{
    auto* box = new QPlainTextEdit(text, parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return box;
}

}  // namespace

QString TKOLM130F::backupTableScript() { return kBackupTableScript; }
QString TKOLM130F::backlogTableScript() { return kBacklogTableScript; }
QString TKOLM130F::backuserTableScript() { return kBackuserTableScript; }
QString TKOLM130F::planTableScript() { return kPlanTableScript; }

QString TKOLM130F::grantScript()
{
    struct Group {
        QString comment;
        QString table;
    };
    const Group groups[] = {{QStringLiteral("-- 백업 테이블 "), QStringLiteral("BACKUP_TABLE ")},
                            {QStringLiteral("-- 백업로그 테이블"), QStringLiteral("BACKLOG_TABLE ")},
                            {QStringLiteral("-- 사용자 테이블"), QStringLiteral("BACKUSER_TABLE ")},
                            {QStringLiteral("-- PLAN TABLE"), QStringLiteral("PLAN_TABLE     ")}};
    QStringList lines{QString(), loginComment(kOwner), QString()};
    for (const Group& g : groups) {
        if (&g != &groups[0])
            lines << QString();
        lines << g.comment;
        for (const QString& grantee : kGrantees)
            lines << QStringLiteral("GRANT ALL ON ") + g.table + QStringLiteral("TO ") + grantee +
                         QLatin1Char(';');
    }
    return lines.join(QLatin1Char('\n'));
}

QString TKOLM130F::synonymScript()
{
    const QString owner = kOwner.toLower();
    QStringList lines;
    for (const QString& grantee : kGrantees) {
        lines << QString() << loginComment(grantee.toLower())
              << QStringLiteral("create synonym BACKUP_TABLE   for ") + owner +
                     QStringLiteral(".BACKUP_TABLE ;")
              << QStringLiteral("create synonym BACKLOG_TABLE  for ") + owner +
                     QStringLiteral(".BACKLOG_TABLE;")
              << QStringLiteral("create synonym BACKUSER_TABLE for ") + owner +
                     QStringLiteral(".BACKUSER_TABLE;")
              << QStringLiteral("create synonym PLAN_TABLE     for ") + owner +
                     QStringLiteral(".PLAN_TABLE;");
    }
    return lines.join(QLatin1Char('\n'));
}

TKOLM130F::TKOLM130F(QWidget* parent) : FormDialog(parent)
{
    ui::setupDialogFrame(this, QStringLiteral("TKOLM130F"), QStringLiteral("오브젝트 생성"),
                         QSize(683, 491));
    setupUi();
}

void TKOLM130F::setupUi()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("ToolBar1"));
    sbt_update =
        ui::addToolButton(tools, QStringLiteral("sbt_update"), QStringLiteral("오브젝트 생성 작업"),
                          QStringLiteral("생"), QColor(0, 128, 128));
    sbt_cleses = ui::addToolButton(tools, QStringLiteral("sbt_cleses"), QStringLiteral("닫기"),
                                   QStringLiteral("X"), QColor(110, 110, 110));
    layout->addWidget(tools);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(scriptPage(QStringLiteral("Memo1"), kBackupTableScript, 1),
                         QStringLiteral("백업관련 테이블"));
    PageControl1->addTab(scriptPage(QStringLiteral("Memo2"), kBacklogTableScript, 2),
                         QStringLiteral("백업로그 테이블"));
    PageControl1->addTab(scriptPage(QStringLiteral("Memo3"), kBackuserTableScript, 0),
                         QStringLiteral("백업사용자 테이블"));
    PageControl1->addTab(scriptPage(QStringLiteral("Memo4"), kPlanTableScript, 0),
                         QStringLiteral("플랜관련 테이블"));
    auto* grants = new QSplitter(Qt::Vertical, PageControl1);
    grants->setObjectName(QStringLiteral("TabSheet5"));
    grants->addWidget(scriptBox(QStringLiteral("Memo5"), grantScript(), grants));
    grants->addWidget(scriptBox(QStringLiteral("Memo6"), synonymScript(), grants));
    PageControl1->addTab(grants, QStringLiteral("GRANT/SYNONYM 생성"));
    layout->addWidget(PageControl1, 1);

    addStatusBar(layout);

    // The creation button has no action: the DBA runs the scripts in an SQL tool.
    ui::connectGuarded(sbt_cleses, &QToolButton::clicked, this, [this] { sbt_clesesClick(); });
}

QWidget* TKOLM130F::scriptPage(const QString& name, const QString& script, int settingsPanel)
{
    auto* page = new QSplitter(Qt::Horizontal, PageControl1);
    page->addWidget(scriptBox(name, script, page));
    if (settingsPanel == 0)
        return page;

    auto* panel = new QWidget(page);
    panel->setObjectName(QStringLiteral("Panel%1").arg(settingsPanel));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 6, 6, 6);
    const QString suffix = QString::number(settingsPanel);
    auto tablespaceList = [&](const QString& name) {
        auto* list = new QComboBox(panel);
        list->setObjectName(name + suffix);
        list->setFixedWidth(180);
        return list;
    };
    auto sizeBox = [&](const QString& name) {
        auto* box = new QSpinBox(panel);
        box->setObjectName(name + suffix);
        box->setRange(10, 100);
        box->setValue(10);
        return box;
    };
    int row = 0;
    auto addSize = [&](const QString& caption, const QString& name) {
        grid->addWidget(new QLabel(caption, panel), row, 0);
        grid->addWidget(sizeBox(name), row, 1);
        grid->addWidget(new QLabel(QStringLiteral("MB"), panel), row, 2);
        ++row;
    };
    const int index = settingsPanel - 1;
    grid->addWidget(new QLabel(QStringLiteral("Data TableSpace"), panel), row, 0);
    cb_data_tablespace[index] = tablespaceList(QStringLiteral("cb_data_tablespace"));
    grid->addWidget(cb_data_tablespace[index], row++, 1, 1, 2);
    addSize(QStringLiteral("Initial Size"), QStringLiteral("fse_init_data_size"));
    addSize(QStringLiteral("Next Size"), QStringLiteral("fse_next_data_size"));
    grid->addWidget(new QLabel(QStringLiteral("Index TableSpace"), panel), row, 0);
    cb_index_tablespace[index] = tablespaceList(QStringLiteral("cb_index_tablespace"));
    grid->addWidget(cb_index_tablespace[index], row++, 1, 1, 2);
    addSize(QStringLiteral("Initial Size"), QStringLiteral("fse_init_index_size"));
    addSize(QStringLiteral("Next Size"), QStringLiteral("fse_next_index_size"));
    grid->setRowStretch(row, 1);
    page->addWidget(panel);
    page->setStretchFactor(0, 1);
    page->setSizes({440, 243});
    return page;
}

void TKOLM130F::FormShow()
{
    PageControl1->setCurrentIndex(0);
    const QString owner = ConnUser.toUpper();
    ui::BusyCursor busy;
    // Both pages' lists get the names in the order returned, the first one selected.
    auto fill = [](QComboBox* const (&lists)[2], const data::HORACLEM1& names, int count) {
        for (QComboBox* list : lists) {
            list->clear();
            for (int i = 0; i < count; ++i)
                list->addItem(names.slotText(0, i));
            list->setCurrentIndex(0);
        }
    };

    Oraclem1 = std::make_unique<data::HORACLEM1>();
    RowCount = Oraclem1->GetTableTablespaces(owner);
    if (RowCount <= 0) {
        Oraclem1.reset();
        setStatus(QStringLiteral("▶ ALL_TABLES ERROR ...(") + QString::number(RowCount) +
                  QLatin1Char(')'));
        return;
    }
    fill(cb_data_tablespace, *Oraclem1, RowCount);
    Oraclem1.reset();

    Oraclem1 = std::make_unique<data::HORACLEM1>();
    RowCount = Oraclem1->GetIndexTablespaces(owner);
    if (RowCount <= 0) {
        Oraclem1.reset();
        setStatus(QStringLiteral("▶ ALL_INDEXES ERROR ...(") + QString::number(RowCount) +
                  QLatin1Char(')'));
        return;
    }
    fill(cb_index_tablespace, *Oraclem1, RowCount);
    Oraclem1.reset();
}

void TKOLM130F::sbt_clesesClick()
{
    close();
}

}  // namespace kolmara::dialogs
