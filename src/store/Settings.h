#pragma once

#include <QString>

// What the windows read for the whole run: where the program and the unit's files are,
// and who the unit is. Made once in main() and handed to whatever needs it; the settings
// dialog and the unit information dialog change it when the user confirms.
struct Settings {
    enum class State { Complete, SettingsMissing, UnitInfoMissing };

    QString programFolder; // the program's own folder (templates), ends in a separator
    QString unitCode;      // from config.pz or the dialogs
    QString localFolder;   // where reports and unit files live; empty or ends in a separator
    QString unitName;      // from the unit information file
    QString reportUser;    // the person who fills in the forms

    Settings() = default;
    // The folder is completed with its separator.
    explicit Settings(const QString& programFolder);

    // Reads config.pz, then the unit information file it leads to.
    State load();
    // Writes config.pz (unit code and local folder), replacing it atomically; false with
    // the store's failure text in `error`.
    bool save(QString* error) const;

    // The local folder, or while none is set the default one: the program's folder when it
    // is writable, else the user's documents folder + "Vantrel". Ends in a separator.
    QString localFolderOrDefault() const;
    // A file beside the program (a template or a stylesheet).
    QString programFile(const QString& name) const { return programFolder + name; }
    // Unit code, unit name and filler are all known: reports can be made.
    bool isComplete() const { return !unitName.isEmpty() && !unitCode.isEmpty() && !reportUser.isEmpty(); }
};

// Attribute bits of an existing file or folder (read-only 1, hidden 2, folder 16, archive 32), else -1.
short QueryFileAttributes(const QString& fileName);
// The notice shown before a unit code is taken: codes are issued by the provincial bureau.
QString UnitCodeNotice();
// A unit code has exactly six characters.
bool IsValidUnitCode(const QString& code);
