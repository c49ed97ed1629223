-- DICTIONARY rows of the views the later scripts and the engine add (the engine makes the grant
-- views ROLE_SYS_PRIVS and ROLE_TAB_PRIVS after the scripts): each account sees the ones it may
-- read.
INSERT INTO SYS.DICTIONARY VALUES ('V$SQL', 'Synonym for V_$SQL');
INSERT INTO SYS.DICTIONARY VALUES ('V$LOCKED_OBJECT', 'Synonym for V_$LOCKED_OBJECT');
INSERT INTO SYS.DICTIONARY VALUES ('ROLE_SYS_PRIVS', 'System privileges granted to roles');
INSERT INTO SYS.DICTIONARY VALUES ('ROLE_TAB_PRIVS', 'Table privileges granted to roles');
INSERT INTO SYS.DICTIONARY VALUES ('DBA_SOURCE', 'Source of all stored objects in the database');
INSERT INTO SYS.DICTIONARY VALUES ('DBA_JOBS', 'All jobs in the database');
INSERT INTO SYS.DICTIONARY VALUES ('DATABASE_PROPERTIES', 'Permanent database properties');
INSERT INTO SYS.DICTIONARY VALUES ('NLS_SESSION_PARAMETERS', 'NLS parameters of the user session');
INSERT INTO SYS.DICTIONARY VALUES ('NLS_DATABASE_PARAMETERS', 'Permanent NLS parameters of the database');
INSERT INTO SYS.DICTIONARY VALUES ('NLS_INSTANCE_PARAMETERS', 'NLS parameters of the instance');
