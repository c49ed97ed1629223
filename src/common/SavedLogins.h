// The saved logins of the settings file ("System Logging", numbered 1 to "Count" of "System
// Version"), read as the connect dialog lists them and as kolmara-backup looks a password up.
#pragma once

#include <QString>

namespace kolmara {

class ProfileFile;

extern const QString kSavedLoginCountSection;  // "System Version"
extern const QString kSavedLoginSection;       // "System Logging"

// Collects the value's characters from position start (1-based) up to the next "/", and sets
// fieldPos just after it; without a "/" the field runs to the end and fieldPos stays.
QString nextLoginField(const QString& value, int start, int& fieldPos);

// "Count" as the settings keep it: a decimal integer, blanks before it allowed, nothing after it.
// Throws ConversionError for anything else, or for a number no real list reaches.
int savedLoginCount(const QString& text);

// One saved login: server + "/" + user + "/" + scrambled password + "/Y/" or "/N/".
struct SavedLogin {
    QString server;
    QString user;
    QString scrambledPassword;
    QString keep;  // "Y" when the password is to be filled in
};

SavedLogin readSavedLogin(const ProfileFile& ini, int number);

// The password of the first saved login of that server and user (compared without regard to case)
// that keeps a password, in clear; empty when there is none. A "Count" that cannot be read and a
// password that does not decode are read as no saved password.
QString savedPassword(const ProfileFile& ini, const QString& server, const QString& user);

// The password of a command-line tool's login given without one, so that it need not stand in the
// process list or a crontab: the environment variable KOLMARA_PASSWORD when it is set and not
// empty, else savedPassword of the settings file (common/Folders.h). Empty when there is neither.
QString passwordOffTheCommandLine(const QString& server, const QString& user);

}  // namespace kolmara
