#pragma once
// The player's entry: the start-up road up to the main window's start.

class QApplication;
class QString;
class frmVCD;

namespace ModDeclare {

// Runs the start-up road and then the event loop; the program's exit code.
int Main(QApplication& app);

// True when no other copy of the player runs for this user; otherwise the running copy was
// asked to bring its window forward, and this copy must end before it touches anything.
// `channelNotice` gets why this copy listens for later copies elsewhere than usual, or
// cannot listen at all ("" when nothing is amiss), for the log once it is open.
bool ChkPrevInstance(frmVCD& form, QString* channelNotice = nullptr);

// Writes the four media-driver entries into the Windows folder's SYSTEM.INI and WIN.INI.
void SetMciDriver();

// Takes over the audio-CD autoplay command: a command in force is kept under the product
// key and blanked; an empty one changes nothing.
void TakeOverAudioCDPlay();
// Writes the kept autoplay command back (an empty one when none was kept).
void GiveBackAudioCDPlay();

// With the real media back end: loads libmpv on a worker thread once the panel shows, so
// that the first play has no wait; when it cannot be loaded, logs why and tells the user.
void PreloadMediaEngine(frmVCD& form);

}  // namespace ModDeclare
