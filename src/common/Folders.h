// Where Kolmara keeps its files, decided in this one place for the whole program and for
// kolmara-sql alike.
//
// A KOLMARA.INI beside the program that this user may change keeps everything beside the program:
// the settings file and the embedded databases registered with relative paths (a build folder, a
// folder copied from machine to machine, a Windows installation carried over). Otherwise, as in
// an installed package whose program folder is read-only, the settings file lives in the user's
// configuration folder and the databases in the user's data folder (XDG on Linux:
// ~/.config/kolmara and ~/.local/share/kolmara). A user who has no settings file there yet gets a
// copy of the one beside the program when there is one, else of the file delivered with the
// installed program (<prefix>/share/kolmara/KOLMARA.INI), with an empty backup folder pointed at
// the user's home.
#pragma once

#include <QString>

namespace kolmara {

// What the choice depends on; ofThisProgram() fills it from the running program and the
// platform's standard folders.
struct FolderCandidates {
    QString programFolder;
    // True when KOLMARA.INI exists beside the program and this user may replace it there.
    bool programSettingsWritable = false;
    QString userConfigFolder;
    QString userDataFolder;
    QString deliveredSettings;  // the delivered KOLMARA.INI of an installed program
    QString homeFolder;
    // Where the databases go when the user's data folder cannot be made (a read-only home): a
    // folder of this user's own in the system's temporary folder.
    QString fallbackDataFolder;

    static FolderCandidates ofThisProgram();
};

struct FolderChoice {
    QString settingsFile;  // the KOLMARA.INI read and written
    QString dataFolder;    // with a trailing separator; relative database paths start here
    QString seededFrom;    // the file copied to a user without settings; empty when none was
    // Why the settings cannot be saved, when the user's settings file can neither be made nor
    // read (a read-only home): the program then reads the file it would have copied (settingsFile
    // is that one) and refuses every change of it with this text. Empty when they can be saved.
    QString unsavedReason;
};

// Decides, and prepares a user's folders when the choice is theirs: creates them and gives a user
// without a settings file a copy of the first that exists of the file beside the program and the
// delivered one. Never throws; what cannot be prepared is left for the first read (an empty
// file) or write (an error naming the file) to show. A user whose settings cannot be made still
// gets the registered embedded databases: the settings are read from the file that would have
// been copied, and the databases live in the fallback data folder when the data folder cannot be
// made.
FolderChoice settleFolders(const FolderCandidates& candidates);

// The reason a change of the settings file at `path` is refused, when the program reads that file
// only for want of a settings file of the user's own (FolderChoice::unsavedReason); empty for
// every other file.
QString settingsSaveRefusal(const QString& path);

// The folder of the program's own file, with a trailing separator.
QString programFolder();
// The KOLMARA.INI the program reads and writes.
QString settingsFilePath();
// Where embedded databases registered with a relative path live, with a trailing separator.
QString dataFolder();

// A name (a table, an account, a server) as the name of one file or folder on every platform: the
// characters a file name cannot hold (\ / : * ? " < > | and control characters) become "_", and
// so does every dot of a name made of dots only, so that no name can stand for "." or "..". Any
// other name comes back unchanged. The dumps' files and folders, the CSV export's proposed names
// and every reader of them agree through this one function.
QString fileNameFor(const QString& name);

// Tests put the program in a temporary folder, which then holds the settings file and the
// databases whether or not a KOLMARA.INI is there yet; an empty string restores the real choice.
void setProgramFolderForTesting(const QString& folder);

}  // namespace kolmara
