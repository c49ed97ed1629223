// The catalogue of HORACLEM1: the server date and account list the connection reads, and the
// instance, storage, single-object, table-list and user queries. One entry per method, the lines
// in the order the method adds them.
#include "data/Catalogue.h"

// clang-format off
namespace kolmara::data::catalogue {

// The server's current date, time of day and day-of-week number.
const Entry GetServerDate{
    .method = "GetServerDate",
    .argumentCount = 0,
    .shape = Shape::SingleRow,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery3,
    .lines = {
        "SELECT /*+ RULE */",
        "TO_CHAR(SYSDATE,'YYYY-MM-DD') DATE1,",
        "TO_CHAR(SYSDATE,'HH24:MI:SS') DATE2,",
        "TO_CHAR(SYSDATE,'D') DATE3",
        "FROM DUAL",
    },
    .binds = {},
    .reads = {
        text(0, "DATE1"),
        text(1, "DATE2"),
        text(2, "DATE3"),
    },
};

// Every database account name. CREATED goes through TO_DATE although it is already a date; the
// account list reads slot 0 only.
const Entry GetUsers{
    .method = "GetUsers",
    .argumentCount = 0,
    .shape = Shape::RowArrays,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "USERNAME,",
        "TO_DATE(CREATED, 'YYYY-MM-DD HH24:MI:SS') CREATED",
        "FROM ALL_USERS",
    },
    .binds = {},
    .reads = {
        text(0, "USERNAME"),
        text(1, "CREATED"),
    },
};

// The unique index of a table that contains a given column, and the column's position in it.
const Entry GetUniqueIndexColumn{
    .method = "GetUniqueIndexColumn",
    .argumentCount = 3,
    .shape = Shape::SingleRow,
    .failure = Failure::HandlerWithMessage,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "B.COLUMN_NAME COLUMN_NAME,",
        "B.COLUMN_POSITION POSITION,",
        "B.INDEX_NAME INDEX_NAME",
        "FROM ALL_INDEXES A,",
        "ALL_IND_COLUMNS B",
        "WHERE A.TABLE_OWNER = :OWNER",
        "AND A.TABLE_NAME = :TABLE_NAME",
        "AND A.UNIQUENESS = :UNIQUENESS",
        "AND B.TABLE_OWNER = A.TABLE_OWNER",
        "AND B.INDEX_NAME = A.INDEX_NAME",
        "AND B.COLUMN_NAME = :COLUMN_NAME",
    },
    .binds = {arg("OWNER", 0), arg("TABLE_NAME", 1), constant("UNIQUENESS", "UNIQUE"),
              arg("COLUMN_NAME", 2)},
    .reads = {
        text(0, "COLUMN_NAME"),
        text(1, "POSITION"),
        text(2, "INDEX_NAME"),
    },
};

// Every column of a table's unique indexes, with its place in the index: the layout reads them
// once for all its columns.
const Entry GetUniqueIndexColumns{
    .method = "GetUniqueIndexColumns",
    .argumentCount = 2,
    .shape = Shape::RowArrays,
    .failure = Failure::HandlerWithMessage,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "B.COLUMN_NAME COLUMN_NAME,",
        "B.COLUMN_POSITION POSITION,",
        "B.INDEX_NAME INDEX_NAME",
        "FROM ALL_INDEXES A,",
        "ALL_IND_COLUMNS B",
        "WHERE A.TABLE_OWNER = :OWNER",
        "AND A.TABLE_NAME = :TABLE_NAME",
        "AND A.UNIQUENESS = :UNIQUENESS",
        "AND B.TABLE_OWNER = A.TABLE_OWNER",
        "AND B.INDEX_NAME = A.INDEX_NAME",
    },
    .binds = {arg("OWNER", 0), arg("TABLE_NAME", 1), constant("UNIQUENESS", "UNIQUE")},
    .reads = {
        text(0, "COLUMN_NAME"),
        text(1, "POSITION"),
        text(2, "INDEX_NAME"),
    },
};

// The type letter of one named constraint of a table.
const Entry GetConstraintType{
    .method = "GetConstraintType",
    .argumentCount = 3,
    .shape = Shape::SingleRow,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "CONSTRAINT_TYPE",
        "FROM ALL_CONSTRAINTS",
        "WHERE OWNER = :OWNER",
        "AND CONSTRAINT_NAME = :CONSTRAINT_NAME",
        "AND TABLE_NAME = :TABLE_NAME",
    },
    .binds = {arg("OWNER", 0), arg("CONSTRAINT_NAME", 2), arg("TABLE_NAME", 1)},
    .reads = {
        text(0, "CONSTRAINT_TYPE"),
    },
};

// The definition and comment of one column of a table.
const Entry GetColumnInfo{
    .method = "GetColumnInfo",
    .argumentCount = 3,
    .shape = Shape::SingleRow,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "A.COLUMN_ID COLUMN_ID,",
        "A.COLUMN_NAME COLUMN_NAME,",
        "B.COMMENTS COMMENTS,",
        "A.DATA_TYPE DATA_TYPE,",
        "A.DATA_LENGTH DATA_LENGTH,",
        "A.NULLABLE NULLABLE",
        "FROM",
        "ALL_TAB_COLUMNS A,",
        "ALL_COL_COMMENTS B",
        "WHERE A.OWNER = :OWNER",
        "AND A.TABLE_NAME = :TABLE_NAME",
        "AND A.COLUMN_NAME = :COLUMN_NAME",
        "AND B.OWNER = A.OWNER",
        "AND B.TABLE_NAME = A.TABLE_NAME",
        "AND B.COLUMN_NAME = A.COLUMN_NAME",
    },
    .binds = {arg("OWNER", 0), arg("TABLE_NAME", 1), arg("COLUMN_NAME", 2)},
    .reads = {
        text(0, "COLUMN_ID"),
        text(1, "COLUMN_NAME"),
        text(2, "COMMENTS"),
        text(3, "DATA_TYPE"),
        text(4, "DATA_LENGTH"),
        text(5, "NULLABLE"),
    },
};

// The description line and body text of one trigger.
const Entry GetTriggerBody{
    .method = "GetTriggerBody",
    .argumentCount = 2,
    .shape = Shape::FirstRowArrays,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "DESCRIPTION ,",
        "TRIGGER_BODY",
        "FROM ALL_TRIGGERS",
        "WHERE OWNER = :OWNER",
        "AND TRIGGER_NAME = :TRIGGER_NAME",
    },
    .binds = {arg("OWNER", 0), arg("TRIGGER_NAME", 1)},
    .reads = {
        text(0, "DESCRIPTION"),
        text(1, "TRIGGER_BODY"),
    },
};

// The datafile number of a segment's first extent row.
const Entry GetSegmentFileId{
    .method = "GetSegmentFileId",
    .argumentCount = 2,
    .shape = Shape::SingleRow,
    .failure = Failure::SilentHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "FILE_ID",
        "FROM DBA_EXTENTS",
        "WHERE OWNER = :OWNER",
        "AND SEGMENT_NAME = :SEGMENT_NAME",
    },
    .binds = {arg("OWNER", 0), arg("SEGMENT_NAME", 1)},
    .reads = {
        number(0, "FILE_ID"),
    },
};

// Creation time, last DDL time and status of one object.
const Entry GetObjectStatus{
    .method = "GetObjectStatus",
    .argumentCount = 3,
    .shape = Shape::SingleRow,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "TO_CHAR(CREATED,'YYYY-MM-DD HH24:MI:SS') CREATED,",
        "TO_CHAR(LAST_DDL_TIME,'YYYY-MM-DD HH24:MI:SS') LAST_DDL_TIME,",
        "STATUS",
        "FROM ALL_OBJECTS",
        "WHERE OWNER = :OWNER",
        "AND OBJECT_NAME = :OBJECT_NAME",
        "AND OBJECT_TYPE = :OBJECT_TYPE",
    },
    .binds = {arg("OWNER", 0), arg("OBJECT_NAME", 1), arg("OBJECT_TYPE", 2)},
    .reads = {
        text(0, "CREATED"),
        text(1, "LAST_DDL_TIME"),
        text(2, "STATUS"),
    },
};

// The target of one synonym.
const Entry GetSynonym{
    .method = "GetSynonym",
    .argumentCount = 2,
    .shape = Shape::SingleRow,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "TABLE_OWNER,",
        "TABLE_NAME ,",
        "DB_LINK",
        "FROM ALL_SYNONYMS",
        "WHERE OWNER = :OWNER",
        "AND SYNONYM_NAME = :SYNONYM_NAME",
    },
    .binds = {arg("OWNER", 0), arg("SYNONYM_NAME", 1)},
    .reads = {
        text(0, "TABLE_OWNER"),
        text(1, "TABLE_NAME"),
        text(2, "DB_LINK"),
    },
};

// Increment and minimum value of one sequence.
const Entry GetSequence{
    .method = "GetSequence",
    .argumentCount = 2,
    .shape = Shape::SingleRow,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "INCREMENT_BY,",
        "MIN_VALUE",
        "FROM ALL_SEQUENCES",
        "WHERE SEQUENCE_OWNER = :SEQUENCE_OWNER",
        "AND SEQUENCE_NAME = :SEQUENCE_NAME",
    },
    .binds = {arg("SEQUENCE_OWNER", 0), arg("SEQUENCE_NAME", 1)},
    .reads = {
        number(0, "INCREMENT_BY"),
        number(1, "MIN_VALUE"),
    },
};

// Free bytes and total datafile bytes of one tablespace.
const Entry GetTablespaceUsage{
    .method = "GetTablespaceUsage",
    .argumentCount = 2,
    .shape = Shape::SingleRow,
    .failure = Failure::HandlerWithMessage,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT",
        "SUM(AA.F_BYTES) F_BYTES,",
        "SUM(AA.U_BYTES) U_BYTES",
        "FROM",
        "(SELECT /*+ RULE */",
        "SUM(BYTES) F_BYTES,",
        "0 U_BYTES",
        "FROM USER_FREE_SPACE",
        "WHERE TABLESPACE_NAME = :NAME",
        "UNION ALL",
        "SELECT /*+ RULE */",
        "0 F_BYTES,",
        "SUM(BYTES) U_BYTES",
        "FROM V$DATAFILE",
        "WHERE TS# = :TS) AA",
    },
    .binds = {arg("NAME", 0), numArg("TS", 1)},
    .reads = {
        number(0, "F_BYTES"),
        number(1, "U_BYTES"),
    },
};

// Free bytes and free blocks of one datafile.
const Entry GetFileFreeSpace{
    .method = "GetFileFreeSpace",
    .argumentCount = 1,
    .shape = Shape::SingleRow,
    .failure = Failure::HandlerWithMessage,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "SUM(BYTES) F_BYTES,",
        "SUM(BLOCKS) F_BLOCKS",
        "FROM USER_FREE_SPACE",
        "WHERE FILE_ID = :FILE_ID",
    },
    .binds = {arg("FILE_ID", 0)},
    .reads = {
        number(0, "F_BYTES"),
        number(1, "F_BLOCKS"),
    },
};

// The banner lines of the database version.
const Entry GetVersion{
    .method = "GetVersion",
    .argumentCount = 0,
    .shape = Shape::RowArrays,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT",
        "BANNER",
        "FROM V$VERSION",
    },
    .binds = {},
    .reads = {
        text(0, "BANNER"),
    },
};

// Every data dictionary view with its comment.
const Entry GetDictionary{
    .method = "GetDictionary",
    .argumentCount = 0,
    .shape = Shape::RowArrays,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "TABLE_NAME,",
        "COMMENTS",
        "FROM DICTIONARY",
    },
    .binds = {},
    .reads = {
        text(0, "TABLE_NAME"),
        text(1, "COMMENTS"),
    },
};

// The columns of one data dictionary view with their comments.
const Entry GetDictColumns{
    .method = "GetDictColumns",
    .argumentCount = 1,
    .shape = Shape::RowArrays,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "TABLE_NAME,",
        "COLUMN_NAME,",
        "COMMENTS",
        "FROM DICT_COLUMNS",
        "WHERE TABLE_NAME = :TABLE_NAME",
    },
    .binds = {arg("TABLE_NAME", 0)},
    .reads = {
        text(0, "TABLE_NAME"),
        text(1, "COLUMN_NAME"),
        text(2, "COMMENTS"),
    },
};

// The distinct tablespaces that hold an owner's tables.
const Entry GetTableTablespaces{
    .method = "GetTableTablespaces",
    .argumentCount = 1,
    .shape = Shape::RowArrays,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "DISTINCT TABLESPACE_NAME",
        "FROM ALL_TABLES",
        "WHERE OWNER = :OWNER",
    },
    .binds = {arg("OWNER", 0)},
    .reads = {
        text(0, "TABLESPACE_NAME"),
    },
};

// The distinct tablespaces that hold an owner's indexes.
const Entry GetIndexTablespaces{
    .method = "GetIndexTablespaces",
    .argumentCount = 1,
    .shape = Shape::RowArrays,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "DISTINCT TABLESPACE_NAME",
        "FROM ALL_INDEXES",
        "WHERE OWNER = :OWNER",
    },
    .binds = {arg("OWNER", 0)},
    .reads = {
        text(0, "TABLESPACE_NAME"),
    },
};

// The areas of the system global area with their sizes.
const Entry GetSga{
    .method = "GetSga",
    .argumentCount = 0,
    .shape = Shape::RowArrays,
    .failure = Failure::SilentHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "NAME,",
        "VALUE",
        "FROM V$SGA",
    },
    .binds = {},
    .reads = {
        text(0, "NAME"),
        text(1, "VALUE"),
    },
};

// The detailed memory statistics of the system global area.
const Entry GetSgaStat{
    .method = "GetSgaStat",
    .argumentCount = 0,
    .shape = Shape::RowArrays,
    .failure = Failure::SilentHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "POOL,",
        "NAME,",
        "BYTES",
        "FROM V$SGASTAT",
    },
    .binds = {},
    .reads = {
        text(0, "POOL"),
        text(1, "NAME"),
        number(2, "BYTES"),
    },
};

// Every initialisation parameter with its flags.
const Entry GetParameters{
    .method = "GetParameters",
    .argumentCount = 0,
    .shape = Shape::RowArrays,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "NAME,",
        "TYPE,",
        "VALUE,",
        "ISDEFAULT,",
        "ISSES_MODIFIABLE,",
        "ISSYS_MODIFIABLE,",
        "ISMODIFIED,",
        "ISADJUSTED,",
        "NUM",
        "FROM V$PARAMETER",
    },
    .binds = {},
    .reads = {
        text(0, "NAME"),
        text(1, "TYPE"),
        text(2, "VALUE"),
        text(3, "ISDEFAULT"),
        text(4, "ISSES_MODIFIABLE"),
        text(5, "ISSYS_MODIFIABLE"),
        text(6, "ISMODIFIED"),
        text(7, "ISADJUSTED"),
        number(8, "NUM"),
    },
};

// The national language settings of the database.
const Entry GetNlsParameters{
    .method = "GetNlsParameters",
    .argumentCount = 0,
    .shape = Shape::RowArrays,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "PARAMETER,",
        "VALUE",
        "FROM V$NLS_PARAMETERS",
    },
    .binds = {},
    .reads = {
        text(0, "PARAMETER"),
        text(1, "VALUE"),
    },
};

// Utilisation and limits of the instance's resources.
const Entry GetResourceLimits{
    .method = "GetResourceLimits",
    .argumentCount = 0,
    .shape = Shape::RowArrays,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "RESOURCE_NAME ,",
        "CURRENT_UTILIZATION,",
        "MAX_UTILIZATION ,",
        "INITIAL_ALLOCATION ,",
        "LIMIT_VALUE",
        "FROM V$RESOURCE_LIMIT",
    },
    .binds = {},
    .reads = {
        text(0, "RESOURCE_NAME"),
        number(1, "CURRENT_UTILIZATION"),
        number(2, "MAX_UTILIZATION"),
        text(3, "INITIAL_ALLOCATION"),
        text(4, "LIMIT_VALUE"),
    },
};

// An owner's tables and views with comments, by table type pattern.
const Entry GetTableList{
    .method = "GetTableList",
    .argumentCount = 2,
    .shape = Shape::RowArrays,
    .failure = Failure::SilentHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "TABLE_NAME,",
        "COMMENTS ,",
        "TABLE_TYPE",
        "FROM ALL_TAB_COMMENTS",
        "WHERE OWNER = :OWNER",
        "AND TABLE_TYPE LIKE :TABLE_TYPE",
        "ORDER BY TABLE_NAME",
    },
    .binds = {arg("OWNER", 0), arg("TABLE_TYPE", 1)},
    .reads = {
        text(0, "TABLE_NAME"),
        text(1, "COMMENTS"),
        text(2, "TABLE_TYPE"),
    },
};

// The file name of one datafile.
const Entry GetDatafileName{
    .method = "GetDatafileName",
    .argumentCount = 1,
    .shape = Shape::RowArrays,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "NAME",
        "FROM V$DATAFILE",
        "WHERE FILE# = :FILE#",
    },
    .binds = {numArg("FILE#", 0)},
    .reads = {
        text(0, "NAME"),
    },
};

// The indexes of one table with their columns, in index and column order.
const Entry GetIndexColumns{
    .method = "GetIndexColumns",
    .argumentCount = 2,
    .shape = Shape::RowArrays,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT",
        "AA.INDEX_NAME INDEX_NAME,",
        "BB.COLUMN_POSITION COLUMN_POSITION,",
        "AA.UNIQUENESS UNIQUENESS,",
        "BB.COLUMN_NAME COLUMN_NAME,",
        "BB.COLUMN_LENGTH COLUMN_LENGTH",
        "FROM",
        "(SELECT /*+ RULE */",
        "INDEX_NAME ,",
        "UNIQUENESS ,",
        "TABLESPACE_NAME,",
        "INI_TRANS ,",
        "MAX_TRANS ,",
        "INITIAL_EXTENT ,",
        "NEXT_EXTENT ,",
        "MIN_EXTENTS ,",
        "MAX_EXTENTS ,",
        "PCT_FREE ,",
        "PCT_INCREASE",
        "FROM ALL_INDEXES",
        "WHERE OWNER = :OWNER",
        "AND TABLE_NAME = :TABLE_NAME)",
        "AA, ALL_IND_COLUMNS BB",
        "WHERE BB.TABLE_OWNER = :OWNER",
        "AND BB.TABLE_NAME = :TABLE_NAME",
        "AND BB.INDEX_NAME = AA.INDEX_NAME",
        "ORDER BY AA.INDEX_NAME, BB.COLUMN_POSITION",
    },
    .binds = {arg("OWNER", 0), arg("TABLE_NAME", 1)},
    .reads = {
        text(0, "INDEX_NAME"),
        text(1, "COLUMN_POSITION"),
        text(2, "UNIQUENESS"),
        text(3, "COLUMN_NAME"),
        number(4, "COLUMN_LENGTH"),
    },
};

// An owner's tables in one tablespace, with comment, storage and last change.
const Entry GetTablesInTablespace{
    .method = "GetTablesInTablespace",
    .argumentCount = 2,
    .shape = Shape::RowArrays,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "C.OBJECT_ID OB,",
        "A.TABLE_NAME TABLE_NAME,",
        "B.COMMENTS COMMENTS,",
        "A.INITIAL_EXTENT INIT_EXTENT,",
        "A.NEXT_EXTENT NEXT_EXTENT,",
        "A.MIN_EXTENTS MIN_EXTENTS,",
        "A.MAX_EXTENTS MAX_EXTENTS,",
        "C.LAST_DDL_TIME MODIFYED",
        "FROM ALL_TABLES A,",
        "ALL_TAB_COMMENTS B,",
        "ALL_OBJECTS C",
        "WHERE A.OWNER = :OWNER",
        "AND A.TABLESPACE_NAME = :TABLESPACE_NAME",
        "AND B.OWNER = A.OWNER",
        "AND B.TABLE_NAME = A.TABLE_NAME",
        "AND C.OWNER = A.OWNER",
        "AND C.OBJECT_NAME = A.TABLE_NAME",
        "AND C.OBJECT_TYPE = :OBJECT_TYPE",
    },
    .binds = {arg("OWNER", 0), arg("TABLESPACE_NAME", 1), constant("OBJECT_TYPE", "TABLE")},
    .reads = {
        number(0, "OB"),
        text(1, "TABLE_NAME"),
        text(2, "COMMENTS"),
        number(3, "INIT_EXTENT"),
        number(4, "NEXT_EXTENT"),
        number(5, "MIN_EXTENTS"),
        number(6, "MAX_EXTENTS"),
        text(7, "MODIFYED"),
    },
};

// Every rollback segment with its storage values.
const Entry GetRollbackSegments{
    .method = "GetRollbackSegments",
    .argumentCount = 0,
    .shape = Shape::RowArrays,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "TABLESPACE_NAME ,",
        "SEGMENT_ID ,",
        "SEGMENT_NAME ,",
        "OWNER ,",
        "STATUS ,",
        "FILE_ID ,",
        "BLOCK_ID ,",
        "INITIAL_EXTENT ,",
        "NEXT_EXTENT ,",
        "MIN_EXTENTS ,",
        "MAX_EXTENTS ,",
        "PCT_INCREASE",
        "FROM DBA_ROLLBACK_SEGS",
        "ORDER BY TABLESPACE_NAME,",
        "SEGMENT_ID",
    },
    .binds = {},
    .reads = {
        text(0, "TABLESPACE_NAME"),
        number(1, "SEGMENT_ID"),
        text(2, "SEGMENT_NAME"),
        text(3, "OWNER"),
        text(4, "STATUS"),
        number(5, "FILE_ID"),
        number(6, "BLOCK_ID"),
        number(7, "INITIAL_EXTENT"),
        number(8, "NEXT_EXTENT"),
        number(9, "MIN_EXTENTS"),
        number(10, "MAX_EXTENTS"),
        number(11, "PCT_INCREASE"),
    },
};

// Every database user with status, tablespaces, creation time and profile.
const Entry GetDbaUsers{
    .method = "GetDbaUsers",
    .argumentCount = 0,
    .shape = Shape::RowArrays,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "USERNAME ,",
        "USER_ID ,",
        "PASSWORD ,",
        "ACCOUNT_STATUS ,",
        "DEFAULT_TABLESPACE ,",
        "TEMPORARY_TABLESPACE,",
        "TO_CHAR(CREATED,'YYYY-MM-DD HH24:MI:SS') CREATED,",
        "PROFILE ,",
        "INITIAL_RSRC_CONSUMER_GROUP",
        "FROM DBA_USERS",
    },
    .binds = {},
    .reads = {
        text(0, "USERNAME"),
        number(1, "USER_ID"),
        text(2, "PASSWORD"),
        text(3, "ACCOUNT_STATUS"),
        text(4, "DEFAULT_TABLESPACE"),
        text(5, "TEMPORARY_TABLESPACE"),
        text(6, "CREATED"),
        text(7, "PROFILE"),
        text(8, "INITIAL_RSRC_CONSUMER_GROUP"),
    },
};

}  // namespace kolmara::data::catalogue
// clang-format on
