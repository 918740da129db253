#pragma once
// What the song library needs of the player's main window and settings. The main window
// implements it; every member has a harmless default so that a partial host still works.

#include <QString>
#include <QStringList>

class QWidget;

class LibraryHost
{
public:
    virtual ~LibraryHost() = default;

    // Settings and globals read live.
    virtual int driveKind() const { return 3; }                 // 3 fixed disk, 5 optical
    virtual QString songPattern() const { return QStringLiteral("*.MP3"); }
    virtual QString cdromLibFile() const { return {}; }
    virtual QString musicLibFile() const { return {}; }
    // The settings dialog's History option: 0 automatic, 1 ask, 2 off.
    virtual int historyMode() const { return 2; }
    // The settings dialog's "SongBook" box: append recorded discs to the music library.
    virtual bool songBookTicked() const { return false; }

    // The message line Label1 of the panel (the text is shown and the label refitted).
    virtual void showMessage(const QString& text) { (void)text; }
    // A wait that lets events run (the main window's Delay).
    virtual void delay(double seconds) { (void)seconds; }
    // The context menu's caption line mSele1M gets the song book title.
    virtual void setSongBookTitle(const QString& title) { (void)title; }
    // The main window's check-box play list: cleared and filled with the entries, each ticked.
    virtual void fillPlayList(const QStringList& entries) { (void)entries; }
    // The window that modal prompts disable and enable again; nullptr when there is none.
    virtual QWidget* mainWindow() { return nullptr; }
};
