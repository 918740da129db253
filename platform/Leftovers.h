#pragma once
// What runs of the programs that were killed (or crashed) leave behind and nothing else
// ever removes: temporary copies of files being saved, and the cue sheets' alias folders.
// Each clean-up runs at a start and takes only what is ours by name and the user's own.

#include <QString>

namespace Leftovers {

// A safe save's temporary copy of a file named fileName: that name, ".", and six random
// letters and digits, of which nearly always some upper-case. Names a user gives a copy
// ("….log.backup") are all lower-case and kept.
bool isSaveCopyName(const QString& name, const QString& fileName);

// Removes the temporary copies of file that saves killed midway left. A copy written in the
// last minute is kept: another program may be saving the file at this moment.
void removeSaveCopies(const QString& file);

// Removes the panel definitions ("….INI.saving") that saves killed midway left in the
// panel folder, under the same minute's rule.
void removeUnfinishedPanelSaves(const QString& skinFolder);

// The cue sheets' alias folders ("pelloran-cue-XXXXXX" in the temporary folder) of this run:
// the process holds the lock named here inside the folder while it lives.
QString cueAliasFolderTemplate();
QString cueAliasFolderLockName();
// Removes the alias folders of the user's own that no living process holds.
void removeCueAliasFolders();

}  // namespace Leftovers
