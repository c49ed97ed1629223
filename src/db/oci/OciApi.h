// Our declarations of the part of the Oracle Call Interface that the client driver calls: the
// base types, the constants it passes or reads, and one list of the functions with their
// prototypes. Nothing here comes from an Oracle header: the client library is loaded at run time
// and each function is looked up by its plain C name, so a machine without Oracle software builds
// and runs the program. Constants keep OCI's own names so they can be looked up in its manual.
//
// The functions are declared through KOLMARA_OCI_REQUIRED_CALLS / KOLMARA_OCI_OPTIONAL_CALLS
// (name, return type, parameter list): the loader fills a table of pointers from them, and the
// test stand-in checks its exports against the same prototypes.
#pragma once

#include <cstddef>

namespace kolmara::db::oci {

using ub1 = unsigned char;
using sb1 = signed char;
using ub2 = unsigned short;
using sb2 = short;
using ub4 = unsigned int;  // never long: that is 8 bytes on 64-bit Linux
using sb4 = int;
using sword = int;
using OraText = unsigned char;

// Every handle and descriptor is opaque to us.
using OCIEnv = void;
using OCIError = void;
using OCIServer = void;
using OCISvcCtx = void;
using OCISession = void;
using OCIStmt = void;
using OCIBind = void;
using OCIDefine = void;
using OCIParam = void;

using OciMallocFn = void* (*)(void* ctx, size_t size);
using OciReallocFn = void* (*)(void* ctx, void* memory, size_t size);
using OciFreeFn = void (*)(void* ctx, void* memory);

// Return codes.
constexpr sword OCI_SUCCESS = 0;
constexpr sword OCI_SUCCESS_WITH_INFO = 1;
constexpr sword OCI_NEED_DATA = 99;
constexpr sword OCI_NO_DATA = 100;
constexpr sword OCI_ERROR = -1;
constexpr sword OCI_INVALID_HANDLE = -2;

// Modes.
constexpr ub4 OCI_DEFAULT = 0;
constexpr ub4 OCI_THREADED = 0x1;
constexpr ub4 OCI_NTV_SYNTAX = 1;
constexpr ub4 OCI_CRED_RDBMS = 1;
constexpr ub2 OCI_FETCH_NEXT = 0x02;

// Handle and descriptor types.
constexpr ub4 OCI_HTYPE_ENV = 1;
constexpr ub4 OCI_HTYPE_ERROR = 2;
constexpr ub4 OCI_HTYPE_SVCCTX = 3;
constexpr ub4 OCI_HTYPE_STMT = 4;
constexpr ub4 OCI_HTYPE_SERVER = 8;
constexpr ub4 OCI_HTYPE_SESSION = 9;
constexpr ub4 OCI_DTYPE_PARAM = 53;

// Attributes (the handle type passed with one decides its meaning).
constexpr ub4 OCI_ATTR_DATA_SIZE = 1;       // param: ub2, bytes in the database character set
constexpr ub4 OCI_ATTR_DATA_TYPE = 2;       // param: ub2, SQLT code
constexpr ub4 OCI_ATTR_NAME = 4;            // param: OraText* and its byte length
constexpr ub4 OCI_ATTR_PRECISION = 5;       // param: sb2
constexpr ub4 OCI_ATTR_SCALE = 6;           // param: sb1
constexpr ub4 OCI_ATTR_SERVER = 6;          // service context: the server handle
constexpr ub4 OCI_ATTR_SESSION = 7;         // service context: the session handle
constexpr ub4 OCI_ATTR_ROW_COUNT = 9;       // statement: ub4, rows processed
constexpr ub4 OCI_ATTR_PREFETCH_ROWS = 11;  // statement: ub4
constexpr ub4 OCI_ATTR_PARAM_COUNT = 18;    // statement: ub4, select-list columns
constexpr ub4 OCI_ATTR_USERNAME = 22;       // session: text
constexpr ub4 OCI_ATTR_PASSWORD = 23;       // session: text
constexpr ub4 OCI_ATTR_STMT_TYPE = 24;      // statement: ub2
constexpr ub4 OCI_ATTR_ROWS_FETCHED = 197;  // statement: ub4, rows of the last fetch
constexpr ub4 OCI_ATTR_CHAR_SIZE = 286;     // param: ub2, length in characters
constexpr ub4 OCI_ATTR_CALL_TIMEOUT = 531;  // service context: ub4 milliseconds (18c clients on)

// Statement types (OCI_ATTR_STMT_TYPE).
constexpr ub2 OCI_STMT_SELECT = 1;
constexpr ub2 OCI_STMT_UPDATE = 2;
constexpr ub2 OCI_STMT_DELETE = 3;
constexpr ub2 OCI_STMT_INSERT = 4;
constexpr ub2 OCI_STMT_MERGE = 16;

// Indicators.
constexpr sb2 OCI_IND_NULL = -1;

// External data types (SQLT codes): what describe reports and what we define or bind as.
constexpr ub2 SQLT_CHR = 1;
constexpr ub2 SQLT_NUM = 2;
constexpr ub2 SQLT_FLT = 4;
constexpr ub2 SQLT_STR = 5;
constexpr ub2 SQLT_LNG = 8;
constexpr ub2 SQLT_RID = 11;
constexpr ub2 SQLT_DAT = 12;
constexpr ub2 SQLT_BFLOAT = 21;
constexpr ub2 SQLT_BDOUBLE = 22;
constexpr ub2 SQLT_BIN = 23;
constexpr ub2 SQLT_LBI = 24;
constexpr ub2 SQLT_AFC = 96;
constexpr ub2 SQLT_IBFLOAT = 100;
constexpr ub2 SQLT_IBDOUBLE = 101;
constexpr ub2 SQLT_RDD = 104;
constexpr ub2 SQLT_CLOB = 112;
constexpr ub2 SQLT_BLOB = 113;
constexpr ub2 SQLT_DATE = 184;
constexpr ub2 SQLT_TIMESTAMP = 187;
constexpr ub2 SQLT_TIMESTAMP_TZ = 188;
constexpr ub2 SQLT_INTERVAL_YM = 189;
constexpr ub2 SQLT_INTERVAL_DS = 190;
constexpr ub2 SQLT_TIMESTAMP_LTZ = 232;

// Column-level return codes of a fetch.
constexpr ub2 kColumnNull = 1405;
constexpr ub2 kColumnTruncated = 1406;

// The character set id of AL32UTF8, for both CHAR and NCHAR data.
constexpr ub2 kAl32Utf8 = 873;

// X(name, return type, (parameters)) for every call the driver cannot do without.
#define KOLMARA_OCI_REQUIRED_CALLS(X)                                                             \
    X(OCIEnvNlsCreate, sword,                                                                     \
      (OCIEnv * *envp, ub4 mode, void* ctxp, OciMallocFn mallocFn, OciReallocFn reallocFn,        \
       OciFreeFn freeFn, size_t xtramemSize, void** usrmempp, ub2 charset, ub2 ncharset))         \
    X(OCIHandleAlloc, sword,                                                                      \
      (const void* parent, void** handle, ub4 type, size_t xtramemSize, void** usrmempp))         \
    X(OCIHandleFree, sword, (void* handle, ub4 type))                                             \
    X(OCIDescriptorFree, sword, (void* descriptor, ub4 type))                                     \
    X(OCIErrorGet, sword,                                                                         \
      (void* handle, ub4 recordNo, OraText* sqlState, sb4* errorCode, OraText* buffer,            \
       ub4 bufferSize, ub4 type))                                                                 \
    X(OCIServerAttach, sword,                                                                     \
      (OCIServer * server, OCIError * error, const OraText* link, sb4 linkLength, ub4 mode))      \
    X(OCIServerDetach, sword, (OCIServer * server, OCIError * error, ub4 mode))                   \
    X(OCISessionBegin, sword,                                                                     \
      (OCISvcCtx * svc, OCIError * error, OCISession * session, ub4 credentials, ub4 mode))       \
    X(OCISessionEnd, sword, (OCISvcCtx * svc, OCIError * error, OCISession * session, ub4 mode))  \
    X(OCIAttrGet, sword,                                                                          \
      (const void* handle, ub4 handleType, void* attribute, ub4* size, ub4 attributeType,         \
       OCIError* error))                                                                          \
    X(OCIAttrSet, sword,                                                                          \
      (void* handle, ub4 handleType, void* attribute, ub4 size, ub4 attributeType,                \
       OCIError* error))                                                                          \
    X(OCIParamGet, sword,                                                                         \
      (const void* handle, ub4 handleType, OCIError* error, void** param, ub4 position))          \
    X(OCIStmtPrepare2, sword,                                                                     \
      (OCISvcCtx * svc, OCIStmt * *stmt, OCIError * error, const OraText* sql, ub4 sqlLength,     \
       const OraText* key, ub4 keyLength, ub4 language, ub4 mode))                                \
    X(OCIStmtRelease, sword,                                                                      \
      (OCIStmt * stmt, OCIError * error, const OraText* key, ub4 keyLength, ub4 mode))            \
    X(OCIBindByName, sword,                                                                       \
      (OCIStmt * stmt, OCIBind * *bind, OCIError * error, const OraText* placeholder,             \
       sb4 placeholderLength, void* value, sb4 valueSize, ub2 type, void* indicator, ub2* length, \
       ub2* returnCode, ub4 maxArrayLength, ub4* currentLength, ub4 mode))                        \
    X(OCIDefineByPos, sword,                                                                      \
      (OCIStmt * stmt, OCIDefine * *define, OCIError * error, ub4 position, void* value,          \
       sb4 valueSize, ub2 type, void* indicator, ub2* length, ub2* returnCode, ub4 mode))         \
    X(OCIStmtExecute, sword,                                                                      \
      (OCISvcCtx * svc, OCIStmt * stmt, OCIError * error, ub4 iterations, ub4 rowOffset,          \
       const void* snapshotIn, void* snapshotOut, ub4 mode))                                      \
    X(OCIStmtFetch2, sword,                                                                       \
      (OCIStmt * stmt, OCIError * error, ub4 rows, ub2 orientation, sb4 offset, ub4 mode))        \
    X(OCITransCommit, sword, (OCISvcCtx * svc, OCIError * error, ub4 flags))                      \
    X(OCITransRollback, sword, (OCISvcCtx * svc, OCIError * error, ub4 flags))                    \
    X(OCIBreak, sword, (void* handle, OCIError* error))

// Calls that older clients lack; the driver does without them.
#define KOLMARA_OCI_OPTIONAL_CALLS(X) \
    X(OCIClientVersion, void,         \
      (sword * major, sword * minor, sword * update, sword * patch, sword * portUpdate))

#define KOLMARA_OCI_POINTER(name, ret, params) ret(*name) params = nullptr;

// The entry points of one loaded client library.
struct OciCalls {
    KOLMARA_OCI_REQUIRED_CALLS(KOLMARA_OCI_POINTER)
    KOLMARA_OCI_OPTIONAL_CALLS(KOLMARA_OCI_POINTER)
};

#undef KOLMARA_OCI_POINTER

}  // namespace kolmara::db::oci
