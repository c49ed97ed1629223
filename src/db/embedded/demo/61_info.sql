-- The information screens' share of the demo: what the object and dictionary lists need beyond
-- the other scripts.
-- TGHEDI, the EDI interface account, owns no table but the stored program units of the interface
-- (a package with its body, a function, a procedure) and the body of a package whose
-- specification was dropped, so INVALID.
-- DICT_COLUMNS gets the columns of ALL_ALL_TABLES and ALL_DB_LINKS, so the first view of the
-- dictionary list (ALL_ALL_TABLES) and the view of database links describe their columns.


CREATE PACKAGE TGHEDI.PKG_EDI_ORDER AS
  PROCEDURE RECEIVE_ORDERS (P_BATCH_NO IN VARCHAR2);
  FUNCTION PENDING_COUNT RETURN NUMBER;
END PKG_EDI_ORDER;
/

CREATE PACKAGE BODY TGHEDI.PKG_EDI_ORDER AS
  PROCEDURE RECEIVE_ORDERS (P_BATCH_NO IN VARCHAR2) IS
  BEGIN
    NULL;
  END RECEIVE_ORDERS;
  FUNCTION PENDING_COUNT RETURN NUMBER IS
  BEGIN
    RETURN 0;
  END PENDING_COUNT;
END PKG_EDI_ORDER;
/

-- 세금계산서 연계: the specification was dropped when the interface changed, the body stayed
CREATE PACKAGE BODY TGHEDI.PKG_EDI_INVOICE AS
  PROCEDURE SEND_INVOICES IS
  BEGIN
    NULL;
  END SEND_INVOICES;
END PKG_EDI_INVOICE;
/

CREATE FUNCTION TGHEDI.FN_EDI_STATUS (P_STATUS IN VARCHAR2) RETURN VARCHAR2 IS
BEGIN
  RETURN CASE P_STATUS WHEN '01' THEN '수신' WHEN '02' THEN '처리' ELSE '오류' END;
END FN_EDI_STATUS;
/

CREATE PROCEDURE TGHEDI.SP_EDI_PURGE (P_DAYS IN NUMBER) IS
BEGIN
  NULL;
END SP_EDI_PURGE;
/


-- Columns of the dictionary views
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'OWNER', 'Owner of the table');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'TABLE_NAME', 'Name of the table');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'TABLESPACE_NAME', 'Name of the tablespace containing the table');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'CLUSTER_NAME', 'Name of the cluster, if any, to which the table belongs');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'IOT_NAME', 'Name of the index-only table, if any, to which the overflow entry belongs');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'PCT_FREE', 'Minimum percentage of free space in a block');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'PCT_USED', 'Minimum percentage of used space in a block');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'INI_TRANS', 'Initial number of transactions');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'MAX_TRANS', 'Maximum number of transactions');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'INITIAL_EXTENT', 'Size of the initial extent in bytes');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'NEXT_EXTENT', 'Size of secondary extents in bytes');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'MIN_EXTENTS', 'Minimum number of extents allowed in the segment');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'MAX_EXTENTS', 'Maximum number of extents allowed in the segment');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'PCT_INCREASE', 'Percentage increase in extent size');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'FREELISTS', 'Number of process freelists allocated in this segment');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'FREELIST_GROUPS', 'Number of freelist groups allocated in this segment');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'LOGGING', 'Logging attribute');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'BACKED_UP', 'Has table been backed up since last modification?');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'NUM_ROWS', 'The number of rows in the table');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'BLOCKS', 'The number of used blocks in the table');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'EMPTY_BLOCKS', 'The number of empty (never used) blocks in the table');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'AVG_SPACE', 'The average available free space in the table');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'CHAIN_CNT', 'The number of chained rows in the table');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'AVG_ROW_LEN', 'The average row length, including row overhead');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'AVG_SPACE_FREELIST_BLOCKS', 'The average freespace of all blocks on a freelist');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'NUM_FREELIST_BLOCKS', 'The number of blocks on the freelist');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'DEGREE', 'The number of threads per instance for scanning the table');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'INSTANCES', 'The number of instances across which the table is to be scanned');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'CACHE', 'Whether the table is to be cached in the buffer cache');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'TABLE_LOCK', 'Whether table locking is enabled or disabled');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'SAMPLE_SIZE', 'The sample size used in analyzing this table');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'LAST_ANALYZED', 'The date of the most recent time this table was analyzed');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'PARTITIONED', 'Is this table partitioned? YES or NO');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'IOT_TYPE', 'If index-only table, then IOT_TYPE is IOT or IOT_OVERFLOW or IOT_MAPPING else NULL');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'OBJECT_ID_TYPE', 'If user-defined OID, then USER-DEFINED, else if system generated OID, then SYSTEM GENERATED');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'TABLE_TYPE_OWNER', 'Owner of the type of the table if the table is a typed table');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'TABLE_TYPE', 'Type of the table if the table is a typed table');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'TEMPORARY', 'Can the current session only see data that it place in this object itself?');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'SECONDARY', 'Is this table object created as part of icreate for domain indexes?');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'NESTED', 'Is the table a nested table?');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'BUFFER_POOL', 'The default buffer pool to be used for table blocks');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'ROW_MOVEMENT', 'Whether partitioned row movement is enabled or disabled');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'GLOBAL_STATS', 'Are the statistics calculated without merging underlying partitions?');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'USER_STATS', 'Were the statistics entered directly by the user?');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'DURATION', 'If temporary table, then duration is sys$session or sys$transaction else NULL');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'SKIP_CORRUPT', 'Whether skip corrupt blocks is enabled or disabled');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'MONITORING', 'Should we keep track of the amount of modification?');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'CLUSTER_OWNER', 'Owner of the cluster, if any, to which the table belongs');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'DEPENDENCIES', 'Should we keep track of row level dependencies?');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_ALL_TABLES', 'COMPRESSION', 'Whether table compression is enabled or not');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_DB_LINKS', 'OWNER', 'Username of the owner of the database link');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_DB_LINKS', 'DB_LINK', 'Name of the database link');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_DB_LINKS', 'USERNAME', 'Name of user to log on as');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_DB_LINKS', 'HOST', 'SQL*Net string for connect');
INSERT INTO SYS.DICT_COLUMNS VALUES ('ALL_DB_LINKS', 'CREATED', 'Creation time of the database link');
