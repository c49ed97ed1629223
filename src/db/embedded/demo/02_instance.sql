-- The instance KOLM as the dynamic performance views describe it: Oracle9i Enterprise Edition
-- 9.2.0.1 on 32-bit Windows, manual undo with rollback segments, character set KO16MSWIN949,
-- Korean language and territory.


-- Version banners (the CORE row separates its fields with tab characters)
CREATE FIXED VIEW SYS.V_$VERSION (
  BANNER                       VARCHAR2(64));
CREATE PUBLIC SYNONYM V$VERSION FOR SYS.V_$VERSION;
GRANT SELECT ON SYS.V_$VERSION TO SELECT_CATALOG_ROLE;
INSERT INTO SYS.V_$VERSION VALUES ('Oracle9i Enterprise Edition Release 9.2.0.1.0 - Production');
INSERT INTO SYS.V_$VERSION VALUES ('PL/SQL Release 9.2.0.1.0 - Production');
INSERT INTO SYS.V_$VERSION VALUES ('CORE	9.2.0.1.0	Production');
INSERT INTO SYS.V_$VERSION VALUES ('TNS for 32-bit Windows: Version 9.2.0.1.0 - Production');
INSERT INTO SYS.V_$VERSION VALUES ('NLSRTL Version 9.2.0.1.0 - Production');


-- System global area: 135338868 bytes in all (sga_max_size)
CREATE FIXED VIEW SYS.V_$SGA (
  NAME                         VARCHAR2(20),
  VALUE                        NUMBER);
CREATE PUBLIC SYNONYM V$SGA FOR SYS.V_$SGA;
GRANT SELECT ON SYS.V_$SGA TO SELECT_CATALOG_ROLE;
INSERT INTO SYS.V_$SGA VALUES ('Fixed Size', 453492);
INSERT INTO SYS.V_$SGA VALUES ('Variable Size', 109051904);
INSERT INTO SYS.V_$SGA VALUES ('Database Buffers', 25165824);
INSERT INTO SYS.V_$SGA VALUES ('Redo Buffers', 667648);


-- Memory areas of the SGA (columns in the server's order POOL, NAME, BYTES)
CREATE FIXED VIEW SYS.V_$SGASTAT (
  POOL                         VARCHAR2(11),
  NAME                         VARCHAR2(26),
  BYTES                        NUMBER);
CREATE PUBLIC SYNONYM V$SGASTAT FOR SYS.V_$SGASTAT;
GRANT SELECT ON SYS.V_$SGASTAT TO SELECT_CATALOG_ROLE;
INSERT INTO SYS.V_$SGASTAT VALUES (NULL, 'fixed_sga', 453492);
INSERT INTO SYS.V_$SGASTAT VALUES (NULL, 'buffer_cache', 25165824);
INSERT INTO SYS.V_$SGASTAT VALUES (NULL, 'log_buffer', 656384);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'free memory', 8964736);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'miscellaneous', 3276204);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'sql area', 14681096);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'library cache', 11534412);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'dictionary cache', 3487512);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'PL/SQL DIANA', 1073152);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'PL/SQL MPCODE', 2196736);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'sessions', 681360);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'processes', 144000);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'enqueue_resources', 452400);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'transactions', 153340);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'event statistics per sess', 1283880);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'db_block_hash_buckets', 598920);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'character set object', 322724);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'FileOpenBlock', 695504);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'KGK heap', 12300);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'parameters', 28016);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'trigger defini', 1968);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'trigger source', 1036);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'table definiti', 5040);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'KQR L PO', 258048);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'KQR M PO', 230408);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'kglsim heap', 235708);
INSERT INTO SYS.V_$SGASTAT VALUES ('shared pool', 'errors', 13148);
INSERT INTO SYS.V_$SGASTAT VALUES ('large pool', 'free memory', 8120320);
INSERT INTO SYS.V_$SGASTAT VALUES ('large pool', 'session heap', 268288);
INSERT INTO SYS.V_$SGASTAT VALUES ('java pool', 'free memory', 31264768);
INSERT INTO SYS.V_$SGASTAT VALUES ('java pool', 'memory in use', 2289664);


-- Initialisation parameters (the documented ones; hidden parameters are not set)
CREATE FIXED VIEW SYS.V_$PARAMETER (
  NUM                          NUMBER,
  NAME                         VARCHAR2(64),
  TYPE                         NUMBER,
  VALUE                        VARCHAR2(512),
  ISDEFAULT                    VARCHAR2(9),
  ISSES_MODIFIABLE             VARCHAR2(5),
  ISSYS_MODIFIABLE             VARCHAR2(9),
  ISMODIFIED                   VARCHAR2(10),
  ISADJUSTED                   VARCHAR2(5),
  DESCRIPTION                  VARCHAR2(64),
  UPDATE_COMMENT               VARCHAR2(255));
CREATE PUBLIC SYNONYM V$PARAMETER FOR SYS.V_$PARAMETER;
GRANT SELECT ON SYS.V_$PARAMETER TO SELECT_CATALOG_ROLE;
INSERT INTO SYS.V_$PARAMETER VALUES (17, 'processes', 3, '150', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'user processes', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (24, 'sessions', 3, '170', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'user and system sessions', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (37, 'timed_statistics', 1, 'TRUE', 'FALSE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'maintain internal timing statistics', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (41, 'timed_os_statistics', 3, '0', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'internal os statistic gathering interval in seconds', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (51, 'resource_limit', 1, 'FALSE', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'master switch for resource limit', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (52, 'license_max_sessions', 3, '0', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'maximum number of non-system user sessions allowed', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (59, 'license_sessions_warning', 3, '0', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'warning level for number of non-system user sessions', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (72, 'cpu_count', 3, '2', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'number of cpus for this instance', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (76, 'instance_groups', 2, NULL, 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'list of instance group names', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (86, 'event', 2, NULL, 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'debug event control - default null string', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (87, 'sga_max_size', 6, '135338868', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'max total SGA size', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (94, 'shared_pool_size', 6, '50331648', 'FALSE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'size in bytes of shared pool', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (107, 'shared_pool_reserved_size', 6, '2516582', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'size in bytes of reserved area of shared pool', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (111, 'large_pool_size', 6, '8388608', 'FALSE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'size in bytes of the large allocation pool', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (121, 'java_pool_size', 6, '33554432', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'size in bytes of the Java pool', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (122, 'java_soft_sessionspace_limit', 3, '0', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'warning limit on size in bytes of a Java sessionspace', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (129, 'java_max_sessionspace_size', 3, '0', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'max allowed size in bytes of a Java sessionspace', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (142, 'pre_page_sga', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'pre-page sga for process', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (146, 'lock_sga', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Lock entire SGA in physical memory', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (156, 'enqueue_resources', 3, '968', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'resources for enqueues', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (157, 'trace_enabled', 1, 'TRUE', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'enable KST tracing', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (164, 'nls_language', 2, 'KOREAN', 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'NLS language name', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (177, 'nls_territory', 2, 'KOREA', 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'NLS territory name', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (181, 'nls_sort', 2, NULL, 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'NLS linguistic definition name', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (191, 'nls_date_language', 2, NULL, 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'NLS date language name', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (192, 'nls_date_format', 2, 'YYYY-MM-DD HH24:MI:SS', 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'NLS Oracle date format', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (199, 'nls_currency', 2, NULL, 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'NLS local currency symbol', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (212, 'nls_numeric_characters', 2, NULL, 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'NLS numeric characters', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (216, 'nls_iso_currency', 2, NULL, 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'NLS ISO currency territory name', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (226, 'nls_calendar', 2, NULL, 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'NLS calendar system name', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (227, 'nls_time_format', 2, NULL, 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'time format', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (234, 'nls_timestamp_format', 2, 'YYYY-MM-DD HH24:MI:SSXFF', 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'time stamp format', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (247, 'nls_time_tz_format', 2, NULL, 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'time with timezone format', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (251, 'nls_timestamp_tz_format', 2, 'YYYY-MM-DD HH24:MI:SSXFF TZR', 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'timestampe with timezone format', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (261, 'nls_dual_currency', 2, NULL, 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'Dual currency symbol', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (262, 'nls_comp', 2, NULL, 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'NLS comparison', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (269, 'nls_length_semantics', 2, 'BYTE', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'create columns using byte or char semantics by default', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (282, 'nls_nchar_conv_excp', 2, 'FALSE', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'NLS raise an exception instead of allowing implicit conversion', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (286, 'fileio_network_adapters', 2, NULL, 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Network Adapters for File I/O', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (296, 'filesystemio_options', 2, NULL, 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'IO operations on filesystem files', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (297, 'disk_asynch_io', 1, 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Use asynch I/O for random access devices', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (304, 'tape_asynch_io', 1, 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Use asynch I/O requests for tape devices', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (317, 'dbwr_io_slaves', 3, '0', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'DBWR I/O slaves', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (321, 'backup_tape_io_slaves', 1, 'FALSE', 'TRUE', 'FALSE', 'DEFERRED', 'FALSE', 'FALSE', 'BACKUP Tape I/O slaves', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (331, 'resource_manager_plan', 2, NULL, 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'resource mgr top plan', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (332, 'cluster_interconnects', 2, NULL, 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'interconnects for RAC use', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (339, 'file_mapping', 1, 'FALSE', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'enable file mapping', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (352, 'control_files', 2, 'C:\oracle\oradata\KOLM\CONTROL01.CTL, C:\oracle\oradata\KOLM\CONTROL02.CTL, C:\oracle\oradata\KOLM\CONTROL03.CTL', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'control file names list', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (356, 'db_file_name_convert', 2, NULL, 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'datafile name convert patterns and strings for standby/clone db', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (366, 'log_file_name_convert', 2, NULL, 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'logfile name convert patterns and strings for standby/clone db', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (367, 'control_file_record_keep_time', 3, '7', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'control file record keep time in days', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (374, 'db_block_buffers', 3, '0', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Number of database blocks cached in memory', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (387, 'db_block_checksum', 1, 'TRUE', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'store checksum in db blocks and check during reads', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (391, 'db_block_size', 3, '8192', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Size of database block in bytes', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (401, 'db_cache_size', 6, '25165824', 'FALSE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Size of DEFAULT buffer pool for standard block size buffers', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (402, 'db_2k_cache_size', 6, '0', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Size of cache for 2K buffers', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (409, 'db_4k_cache_size', 6, '0', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Size of cache for 4K buffers', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (422, 'db_8k_cache_size', 6, '0', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Size of cache for 8K buffers', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (426, 'db_16k_cache_size', 6, '0', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Size of cache for 16K buffers', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (436, 'db_32k_cache_size', 6, '0', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Size of cache for 32K buffers', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (437, 'db_keep_cache_size', 6, '0', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Size of KEEP buffer pool for standard block size buffers', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (444, 'db_recycle_cache_size', 6, '0', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Size of RECYCLE buffer pool for standard block size buffers', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (457, 'db_writer_processes', 3, '1', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'number of background database writer processes to start', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (461, 'buffer_pool_keep', 2, NULL, 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Number of database blocks/latches in keep buffer pool', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (471, 'buffer_pool_recycle', 2, NULL, 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Number of database blocks/latches in recycle buffer pool', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (472, 'db_cache_advice', 2, 'ON', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Buffer cache sizing advisory', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (479, 'max_commit_propagation_delay', 3, '700', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Max age of new snapshot in .01 seconds', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (492, 'compatible', 2, '9.2.0.0.0', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Database will be completely compatible with this software versio', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (496, 'remote_archive_enable', 2, 'true', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'remote archival enable setting', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (506, 'log_archive_start', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'start archival process on SGA initialization', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (507, 'log_archive_dest', 2, NULL, 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'archival destination text string', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (514, 'log_archive_duplex_dest', 2, NULL, 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'duplex archival destination text string', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (527, 'log_archive_dest_1', 2, NULL, 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'archival destination #1 text string', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (531, 'log_archive_dest_2', 2, NULL, 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'archival destination #2 text string', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (541, 'log_archive_dest_state_1', 2, 'enable', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'archival destination #1 state text string', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (542, 'log_archive_dest_state_2', 2, 'enable', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'archival destination #2 state text string', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (549, 'log_archive_max_processes', 3, '2', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'maximum number of active ARCH processes', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (562, 'log_archive_min_succeed_dest', 3, '1', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'minimum number of archive destinations that must succeed', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (566, 'standby_archive_dest', 2, '%ORACLE_HOME%\RDBMS', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'standby database archivelog destination text string', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (576, 'log_archive_trace', 3, '0', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Establish archivelog operation tracing level', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (577, 'fal_server', 2, NULL, 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'FAL server list', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (584, 'fal_client', 2, NULL, 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'FAL client', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (597, 'log_archive_format', 2, 'ARC%S.%T', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'archival destination format', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (601, 'log_buffer', 3, '524288', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'redo circular buffer size', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (611, 'log_checkpoint_interval', 3, '0', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', '# redo blocks checkpoint threshold', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (612, 'log_checkpoint_timeout', 3, '1800', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Maximum time interval between checkpoints in seconds', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (619, 'archive_lag_target', 3, '0', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Maximum number of seconds of redos the standby could lose', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (632, 'log_parallelism', 3, '1', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Number of log buffer strands', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (636, 'db_files', 3, '200', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'max allowable # db files', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (646, 'db_file_multiblock_read_count', 3, '16', 'FALSE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'db block to be read each IO', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (647, 'read_only_open_delayed', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'if TRUE delay opening of read only files until first access', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (654, 'cluster_database', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'if TRUE startup in cluster database mode', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (667, 'parallel_server', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'if TRUE startup in parallel server mode', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (671, 'parallel_server_instances', 3, '1', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'number of instances to use for sizing OPS SGA structures', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (681, 'cluster_database_instances', 3, '1', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'number of instances to use for sizing cluster db SGA structures', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (682, 'db_create_file_dest', 2, NULL, 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'default database location', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (689, 'db_create_online_log_dest_1', 2, NULL, 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'online log/controlfile destination #1', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (702, 'dml_locks', 3, '748', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'dml locks - one for each table modified in a transaction', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (706, 'replication_dependency_tracking', 1, 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'tracking dependency for Replication parallel propagation', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (716, 'instance_number', 3, '0', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'instance number', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (717, 'transactions', 3, '187', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'max. number of concurrent active transactions', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (724, 'transactions_per_rollback_segment', 3, '5', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'number of active transactions per rollback segment', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (737, 'max_rollback_segments', 3, '37', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'max. number of rollback segments in SGA cache', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (741, 'rollback_segments', 2, 'RBS0, RBS1, RBS2, RBS3, RBS4, RBS5, RBS6', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'undo segment list', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (751, 'undo_management', 2, 'MANUAL', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'instance runs in SMU mode if TRUE, else in RBU mode', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (752, 'undo_tablespace', 2, NULL, 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'use/switch undo tablespace', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (759, 'undo_suppress_errors', 1, 'FALSE', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Suppress RBU errors in SMU mode', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (772, 'undo_retention', 3, '900', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'undo retention in seconds', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (776, 'fast_start_io_target', 3, '0', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Upper bound on recovery reads', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (786, 'fast_start_mttr_target', 3, '300', 'FALSE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'MTTR target of forward crash recovery in seconds', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (787, 'fast_start_parallel_rollback', 2, 'LOW', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'max number of parallel recovery slaves that may be used', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (794, 'db_block_checking', 1, 'FALSE', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'data and index block checking', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (807, 'os_roles', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'retrieve roles from the operating system', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (811, 'rdbms_server_dn', 2, NULL, 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'RDBMS''s Distinguished Name', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (821, 'max_enabled_roles', 3, '30', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'max number of roles a user can have enabled', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (822, 'remote_os_authent', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'allow non-secure remote clients to use auto-logon accounts', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (829, 'remote_os_roles', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'allow non-secure remote clients to use os roles', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (842, 'O7_DICTIONARY_ACCESSIBILITY', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Version 7 Dictionary Accessibility Support', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (846, 'remote_login_passwordfile', 2, 'EXCLUSIVE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'password file usage parameter', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (856, 'dblink_encrypt_login', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'enforce password for distributed login always be encrypted', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (857, 'license_max_users', 3, '0', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'maximum number of named users that can be created in the databas', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (864, 'global_context_pool_size', 2, '1048576', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Global Application Context Pool Size in Bytes', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (877, 'audit_sys_operations', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'enable sys auditing', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (881, 'db_domain', 2, NULL, 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'directory part of global database name stored with CREATE DATABA', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (891, 'global_names', 1, 'FALSE', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'enforce that database links have same name as remote database', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (892, 'distributed_lock_timeout', 3, '60', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'number of seconds a distributed transaction waits for a lock', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (899, 'commit_point_strength', 3, '1', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Bias this node has toward not preparing in a two-phase commit', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (912, 'instance_name', 2, 'KOLM', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'instance name supported by the instance', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (916, 'service_names', 2, 'KOLM', 'FALSE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'service names supported by the instance', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (926, 'dispatchers', 2, '(PROTOCOL=TCP) (SERVICE=KOLMXDB)', 'FALSE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'specifications of dispatchers', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (927, 'shared_servers', 3, '1', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'number of shared servers to start up', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (934, 'max_shared_servers', 3, '20', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'max number of shared servers', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (947, 'max_dispatchers', 3, '5', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'max number of dispatchers', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (951, 'circuits', 3, '170', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'max number of circuits', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (961, 'shared_server_sessions', 3, '165', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'max number of shared server sessions', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (962, 'local_listener', 2, NULL, 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'local listener', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (969, 'remote_listener', 2, NULL, 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'remote listener', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (982, 'cursor_space_for_time', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'use more memory in order to get faster execution', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (986, 'session_cached_cursors', 3, '0', 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'number of cursors to save in the session cursor cache', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (996, 'remote_dependencies_mode', 2, 'TIMESTAMP', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'remote-procedure-call dependencies mode parameter', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (997, 'utl_file_dir', 2, NULL, 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'utl_file accessible directories list', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1004, 'plsql_v2_compatibility', 1, 'FALSE', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'PL/SQL version 2.x compatibility flag', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1017, 'plsql_compiler_flags', 2, 'INTERPRETED', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'PL/SQL compiler flags', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1021, 'job_queue_processes', 3, '10', 'FALSE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'number of job queue slave processes', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1031, 'parallel_min_percent', 3, '0', 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'minimum percent of threads required for parallel query', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1032, 'create_bitmap_area_size', 3, '8388608', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'size of create bitmap buffer for bitmap index', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1039, 'bitmap_merge_area_size', 3, '1048576', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'maximum memory allow for BITMAP MERGE', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1052, 'cursor_sharing', 2, 'EXACT', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'cursor sharing mode', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1056, 'parallel_min_servers', 3, '0', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'minimum parallel query servers per instance', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1066, 'parallel_max_servers', 3, '5', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'maximum parallel query servers per instance', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1067, 'parallel_execution_message_size', 3, '2148', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'message buffer size for parallel execution', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1074, 'hash_area_size', 3, '1048576', 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'size of in-memory hash work area', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1087, 'hash_join_enabled', 1, 'TRUE', 'FALSE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'enable/disable hash join', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1091, 'background_dump_dest', 2, 'C:\oracle\admin\KOLM\bdump', 'FALSE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Detached process dump directory', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1101, 'user_dump_dest', 2, 'C:\oracle\admin\KOLM\udump', 'FALSE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'User process dump directory', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1102, 'max_dump_file_size', 2, 'UNLIMITED', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Maximum size (blocks) of dump file', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1109, 'core_dump_dest', 2, 'C:\oracle\admin\KOLM\cdump', 'FALSE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Core dump directory', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1122, 'audit_trail', 2, 'NONE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'enable system auditing', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1126, 'sort_area_size', 3, '524288', 'FALSE', 'TRUE', 'DEFERRED', 'FALSE', 'FALSE', 'size of in-memory sort work area', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1136, 'sort_area_retained_size', 3, '0', 'TRUE', 'TRUE', 'DEFERRED', 'FALSE', 'FALSE', 'size of in-memory sort work area retained between fetch calls', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1137, 'db_name', 2, 'KOLM', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'database name specified in CREATE DATABASE', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1144, 'open_cursors', 3, '300', 'FALSE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'max # cursors per session', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1157, 'ifile', 4, NULL, 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'include file in init.ora', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1161, 'sql_trace', 1, 'FALSE', 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'enable SQL trace', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1171, 'os_authent_prefix', 2, 'OPS$', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'prefix for auto-logon accounts', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1172, 'optimizer_features_enable', 2, '9.2.0', 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'optimizer plan compatibility parameter', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1179, 'optimizer_mode', 2, 'CHOOSE', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'optimizer mode', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1192, 'optimizer_max_permutations', 3, '2000', 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'optimizer maximum join permutations per query block', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1196, 'optimizer_index_cost_adj', 3, '100', 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'optimizer index cost adjustment', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1206, 'optimizer_index_caching', 3, '0', 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'optimizer percent index caching', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1207, 'query_rewrite_enabled', 2, 'FALSE', 'FALSE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'allow rewrite of queries using materialized views if enabled', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1214, 'query_rewrite_integrity', 2, 'enforced', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'perform rewrite using materialized views with desired integrity', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1227, 'star_transformation_enabled', 2, 'FALSE', 'FALSE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'enable the use of star transformation', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1231, 'pga_aggregate_target', 6, '25165824', 'FALSE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Target size for the aggregate PGA memory consumed by the instanc', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1241, 'workarea_size_policy', 2, 'AUTO', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'policy used to size SQL working areas (MANUAL/AUTO)', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1242, 'statistics_level', 2, 'TYPICAL', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'statistics level', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1249, 'object_cache_optimal_size', 3, '102400', 'TRUE', 'TRUE', 'DEFERRED', 'FALSE', 'FALSE', 'optimal size of the user session''s object cache in bytes', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1262, 'object_cache_max_size_percent', 3, '10', 'TRUE', 'TRUE', 'DEFERRED', 'FALSE', 'FALSE', 'percentage of maximum size over optimal of the user session''s ob', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1266, 'session_max_open_files', 3, '10', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'maximum number of open files allowed per session', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1276, 'open_links', 3, '4', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'max # open links per session', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1277, 'open_links_per_instance', 3, '4', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'max # open links per instance', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1284, 'spfile', 2, '%ORACLE_HOME%\DATABASE\SPFILEKOLM.ORA', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'server parameter file', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1297, 'aq_tm_processes', 3, '1', 'FALSE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'number of AQ Time Managers to start', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1301, 'hs_autoregister', 1, 'TRUE', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'enable automatic server DD updates in HS agent self-registration', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1311, 'dg_broker_start', 1, 'FALSE', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'start Data Guard broker framework (DMON process)', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1312, 'drs_start', 1, 'FALSE', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'start DG Broker monitor (DMON process)', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1319, 'serial_reuse', 2, 'DISABLE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'reuse the frame segments', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1332, 'logmnr_max_persistent_sessions', 3, '1', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'maximum number of threads to mine', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1336, 'oracle_trace_enable', 1, 'FALSE', 'TRUE', 'TRUE', 'IMMEDIATE', 'FALSE', 'FALSE', 'Oracle Trace enabled/disabled', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1346, 'transaction_auditing', 1, 'TRUE', 'TRUE', 'FALSE', 'DEFERRED', 'FALSE', 'FALSE', 'transaction auditing records generated in the redo log', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1347, 'parallel_adaptive_multi_user', 1, 'FALSE', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'enable adaptive setting of degree for multiple user streams', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1354, 'parallel_threads_per_cpu', 3, '2', 'TRUE', 'FALSE', 'IMMEDIATE', 'FALSE', 'FALSE', 'number of parallel execution threads per CPU', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1367, 'parallel_automatic_tuning', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'enable intelligent defaults for parallel execution parameters', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1371, 'partition_view_enabled', 1, 'FALSE', 'TRUE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'enable/disable partitioned views', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1381, 'row_locking', 2, 'always', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'row-locking', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1382, 'use_indirect_data_buffers', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Enable indirect data buffers (very large SGA on 32-bit platforms', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1389, 'lock_name_space', 2, NULL, 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'lock name space used for generating lock names for standby/clone', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1402, 'shadow_core_dump', 2, 'partial', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Core Size for Shadow Processes', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1406, 'background_core_dump', 2, 'partial', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'Core Size for Background Processes', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1416, 'sql92_security', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'require select privilege for searched update/delete', NULL);
INSERT INTO SYS.V_$PARAMETER VALUES (1417, 'blank_trimming', 1, 'FALSE', 'TRUE', 'FALSE', 'FALSE', 'FALSE', 'FALSE', 'blank trimming semantics parameter', NULL);


-- National language settings of the database (KOREAN_KOREA.KO16MSWIN949); the date formats
-- are set in the parameter file to the engine's own date text form
CREATE FIXED VIEW SYS.V_$NLS_PARAMETERS (
  PARAMETER                    VARCHAR2(64),
  VALUE                        VARCHAR2(64));
CREATE PUBLIC SYNONYM V$NLS_PARAMETERS FOR SYS.V_$NLS_PARAMETERS;
GRANT SELECT ON SYS.V_$NLS_PARAMETERS TO SELECT_CATALOG_ROLE;
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_LANGUAGE', 'KOREAN');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_TERRITORY', 'KOREA');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_CURRENCY', '₩');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_ISO_CURRENCY', 'KOREA');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_NUMERIC_CHARACTERS', '.,');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_CALENDAR', 'GREGORIAN');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_DATE_FORMAT', 'YYYY-MM-DD HH24:MI:SS');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_DATE_LANGUAGE', 'KOREAN');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_CHARACTERSET', 'KO16MSWIN949');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_SORT', 'BINARY');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_TIME_FORMAT', 'HH.MI.SSXFF AM');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_TIMESTAMP_FORMAT', 'YYYY-MM-DD HH24:MI:SSXFF');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_TIME_TZ_FORMAT', 'HH.MI.SSXFF AM TZR');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_TIMESTAMP_TZ_FORMAT', 'YYYY-MM-DD HH24:MI:SSXFF TZR');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_DUAL_CURRENCY', '₩');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_NCHAR_CHARACTERSET', 'AL16UTF16');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_COMP', 'BINARY');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_LENGTH_SEMANTICS', 'BYTE');
INSERT INTO SYS.V_$NLS_PARAMETERS VALUES ('NLS_NCHAR_CONV_EXCP', 'FALSE');


-- Resource limits (texts right-aligned in ten characters, as the server gives them)
CREATE FIXED VIEW SYS.V_$RESOURCE_LIMIT (
  RESOURCE_NAME                VARCHAR2(30),
  CURRENT_UTILIZATION          NUMBER,
  MAX_UTILIZATION              NUMBER,
  INITIAL_ALLOCATION           VARCHAR2(10),
  LIMIT_VALUE                  VARCHAR2(10));
CREATE PUBLIC SYNONYM V$RESOURCE_LIMIT FOR SYS.V_$RESOURCE_LIMIT;
GRANT SELECT ON SYS.V_$RESOURCE_LIMIT TO SELECT_CATALOG_ROLE;
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('processes', 34, 44, '       150', '       150');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('sessions', 37, 49, '       170', '       170');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('enqueue_locks', 21, 38, '      2230', '      2230');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('enqueue_resources', 21, 41, '       968', ' UNLIMITED');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('ges_procs', 0, 0, '         0', '         0');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('ges_ress', 0, 0, '         0', ' UNLIMITED');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('ges_locks', 0, 0, '         0', ' UNLIMITED');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('ges_cache_ress', 0, 0, '         0', ' UNLIMITED');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('ges_reg_msgs', 0, 0, '         0', ' UNLIMITED');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('ges_big_msgs', 0, 0, '         0', ' UNLIMITED');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('ges_rsv_msgs', 0, 0, '         0', '         0');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('gcs_resources', 0, 0, '         0', '         0');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('gcs_shadows', 0, 0, '         0', '         0');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('dml_locks', 6, 57, '       748', ' UNLIMITED');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('temporary_table_locks', 0, 3, ' UNLIMITED', ' UNLIMITED');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('transactions', 4, 17, '       187', ' UNLIMITED');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('branches', 0, 2, '       187', ' UNLIMITED');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('cmtcallbk', 0, 1, '       187', ' UNLIMITED');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('sort_segment_locks', 1, 6, ' UNLIMITED', ' UNLIMITED');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('max_rollback_segments', 9, 9, '        37', '     65535');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('max_shared_servers', 1, 1, '        20', '        20');
INSERT INTO SYS.V_$RESOURCE_LIMIT VALUES ('parallel_max_servers', 0, 4, '         5', '         5');
