#pragma once
// The archive's settings: whether PDF and paper prints are kept, where the
// files go and where the register lives. They sit in a file of their own
// beside the program's other files ("arc"), so the settings and layout
// files keep every byte they had.

#include <QString>

namespace belvorine {

enum class RegisterDriver { kSqlite, kPostgres };

struct RegisterLocation {
    RegisterDriver driver = RegisterDriver::kSqlite;
    QString sqliteFile;  // empty: "register.sqlite" in the archive folder
    // A PostgreSQL register shared by several desks; the password comes
    // from libpq's own sources (~/.pgpass, PGPASSWORD), never from here.
    QString host;  // empty: the local server's socket
    int port = 5432;
    QString database;
    QString user;  // empty: the login name

    bool operator==(const RegisterLocation&) const = default;
};

struct ArchiveSettings {
    bool archivePdfPrints = true;
    bool archivePaperPrints = false;
    QString folder;  // empty: defaultArchiveFolder()
    RegisterLocation location;

    bool operator==(const ArchiveSettings&) const = default;
};

// "電子取引" beside the program's files.
QString defaultArchiveFolder();

// The folder in use: the setting, or the default when it is empty.
QString archiveFolder(const ArchiveSettings& settings);

// The SQLite register's file in use.
QString sqliteRegisterFile(const ArchiveSettings& settings);

// The settings file's path ("belvorine.arc" beside the program's files).
QString archiveSettingsPath();

// The settings in force: read from the file the first time they are asked
// for; a missing or damaged file gives the factory settings (PDF prints
// kept, paper prints not).
const ArchiveSettings& archiveSettings();

// Writes `settings` to the file and makes them the settings in force.
// Returns 0 when the file could not be written (they are in force anyway
// for this run).
int saveArchiveSettings(const ArchiveSettings& settings);

// Puts `settings` in force for the program's current folder without
// writing the file (tests).
void setArchiveSettingsForTesting(const ArchiveSettings& settings);

}  // namespace belvorine
