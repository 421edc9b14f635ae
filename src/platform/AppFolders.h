#pragma once

#include <QString>

// Where the program keeps the files it writes. A program folder the user may write to is
// the portable layout (as in the build folder): the settings lie beside the program and
// it is the folder used while no local folder is set. An installed program's folder is
// not the user's: the settings go to the user's configuration folder and the default
// local folder is "Vantrel" in the user's documents. Templates are always read from the
// program folder. Every folder returned ends in the folder separator.
namespace AppFolders {

// True when the program may write into its folder: a file can be created there, and the
// folder is not the package manager's (/usr), which root could write but must not.
bool isProgramFolderWritable(const QString& programFolder);
// The folder of config.pz. Not created here: only saving the settings needs it.
QString settingsFolder(const QString& programFolder);
// The folder used while no local folder is set; created when missing.
QString defaultLocalFolder(const QString& programFolder);
// Where drafts of unsaved reports are kept: the user's state folder ($XDG_STATE_HOME, by
// default ~/.local/state) + "Vantrel/recovery". Not created here.
QString recoveryFolder();

} // namespace AppFolders
