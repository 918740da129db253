#pragma once
// What the panel's mouse handlers ask of the player: the commands behind the keys and the
// menus and dialogs the other buttons open. The main window carries them out with its
// playback engine, song library, panel engine and context menu; tests record them.

#include <QPoint>

class QFont;

class PanelCommands
{
public:
    // Branches of the context menu that a key pops up alone, and the whole tree.
    enum class Menu { Main, PlayLists, SeekStep, Volume, Speed };

    virtual ~PanelCommands() = default;

    // Title buttons
    virtual void CheckCdrom(bool autoPlay) = 0;
    virtual void ChkVCDSize() = 0;
    virtual void SeleDesk() = 0;
    virtual void ShowSettings() = 0;
    virtual void ChkMenu(int kind, const QPoint& globalPos) = 0;

    // Number pad
    virtual void PlayCd(int track) = 0;
    virtual void ChkMp3Menu(int key, const QPoint& globalPos) = 0;

    // Control bar
    virtual void ChkCD(int code) = 0;
    virtual void ChkSeek() = 0;
    virtual void ChkSeekTime(double ratio) = 0;
    virtual void CloseForm() = 0;
    // Hides the panel and minimises its task-bar entry.
    virtual void MinimiseToTaskBar() = 0;

    // A click on the picture area: the slide show's next picture.
    virtual void PictureAreaClick() = 0;

    // Menus and dialogs
    virtual void PopUpMenu(Menu menu, const QPoint& globalPos) = 0;
    virtual void SongBookManager() = 0;
    // The font dialog; false when the user cancels. font holds the starting choice.
    virtual bool ChooseFont(QFont& font) = 0;
};
