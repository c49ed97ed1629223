// KOLMCOMM, the common unit: the program-wide state that the main window, the dialogs and every
// screen share (the connection, the environment values of the settings file, the PC's address
// and the result holders of the data-access calls), and the small routines several windows need.
// Everything here is used from the user-interface thread only.
#pragma once

#include "common/Folders.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kolmara {

// ---- Globals, in their declaration order ------------------------------------------------------

inline QString ConnServer;      // net service name of the current connection
inline QString ConnUser;  // the schema owner the screens show (login user, then the account list)
inline QString ConnPassword;    // password of the current connection, in clear
inline QString CfgSystemId;     // "System Version"/"SystemId"
inline QString CfgVersion;      // "Version", e.g. "1.0"
inline QString CfgBackupPath;   // "BackupPath", a folder name ending in the separator
inline QString CfgOraclePath;   // "OraclePath"
inline QString
    CfgBackupDrive;  // "BackupDrive", a drive root (or base folder) ending in the separator
inline QString CfgDateTime;     // "DateTime", the Oracle date format of dump files
inline QString LocalIp;         // the PC's IPv4 address, dotted
inline QString CfgVerDate;      // "VerDate", "YYYY-MM-DD"
inline QString CfgExpType;      // "ExpType"
inline QString CfgCommit;       // "Commit"
inline QString CfgDumpEncoding; // "DumpEncoding", the text encoding of dump files (see TableDump.h)
inline qint32 RowCount = 0;     // result of a screen's last main data-access call (rows, 0 or -1)
inline qint32 OutputMode = 0;   // table manager popup: 1 = CSV export, 2 = print
inline qint32 SubRowCount = 0;  // result of a nested data-access call
inline qint32 AuxRowCount = 0;  // result of a further data-access call
inline qint32 TableFormHeight = 0;
inline qint32 TableFormWidth = 0;

// The key the connect dialog scrambles saved passwords with.
constexpr quint16 SavedLoginKey = 48571;

// ---- The settings file -------------------------------------------------------------------------

// Where the file is: settingsFilePath() (common/Folders.h).

// Fills the settings globals from "System Version" of the settings file (a missing file or key
// reads as empty text) and LocalIp from GetLocalIp().
void LoadSettings();

// ---- Routines ----------------------------------------------------------------------------------

// The first IPv4 address of the host name, dotted; "127.0.0.1" when the name does not resolve to
// one.
QString GetLocalIp();

// The path as the file system is asked for it: off Windows a "\" carried over from Windows
// settings separates folders like "/".
QString fileSystemPath(const QString& path);

// Makes sure the folder path exists, creating missing folders from the root down. "\" and ":"
// separate path pieces (and "/" too). Returns the folders that could not be created, outermost
// first (empty when the path exists now); the caller reports each one to the user
// (ui::reportUnmadeFolders). Off Windows the folders it creates are for this user alone (0700):
// they hold the table dumps.
[[nodiscard]] QStringList ForceDirs(const QString& path);

// Two upper-case hexadecimal digits per byte, high nibble first.
QString HexEncode(const QByteArray& bytes);
// (length div 2) bytes; a trailing odd character is ignored. Throws ConversionError for a
// character that is not a hexadecimal digit.
QByteArray HexDecode(const QString& text);

// The saved-login scrambler on raw bytes. Works on the whole input, whatever its length.
QByteArray EncodeBytes(const QByteArray& plain, quint16 key);
QByteArray DecodeBytes(const QByteArray& scrambled, quint16 key);
// The scrambler on text: the password's bytes in the Korean Windows code page (CP949), so files
// carried over from Windows decode to the same passwords.
QString EncodePassword(const QString& text, quint16 key);
// Throws ConversionError when the text is not hexadecimal.
QString DecodePassword(const QString& hexText, quint16 key);

// A number with the PC's thousands separators and as many decimals as the code "0" to "7" says.
// The number is read the same way on every desktop, as the database writes it ("1234.5",
// "-1E6"); an empty text counts as "0", and an amount that rounds to zero has no sign. Throws
// ConversionError for a text that is not a finite number or a code outside "0" to "7".
QString FormatAmount(const QString& numberText, const QString& digitsCode);

// The text without any of the characters , . - / :
QString StripSeparators(const QString& text);

}  // namespace kolmara
