#pragma once
// A small file system of its own (tmpfs) mounted on a temporary folder for one test, which
// fill() makes full: every later write on it fails with "no space left on device", as on a
// user's full disk. Mounting needs the right to mount (root in the test sandbox); where it is
// missing, mounted() is false and whyNot() says why, for the test to skip.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class FullDisk {
public:
    explicit FullDisk(int kilobytes = 256);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool mounted() const { return mounted_; }
    QString whyNot() const { return whyNot_; }

    // The mount point, and a path on it.
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

    // Takes the last free byte with a filler file (FillerName).
    void fill();
    // Gives the filler's space back.
    void free();

    // The names under the mount point, sub-folders walked, sorted: what a failed write left.
    QStringList names() const;

    static constexpr const char* FillerName = "filler";

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString whyNot_;
};

// Points the per-user settings store (Qt's user-scope settings folder) at a folder, such as
// a full disk, for one scope; the folder of the test run comes back afterwards.
class SettingsFolder {
public:
    explicit SettingsFolder(const QString& folder);
    ~SettingsFolder();
    SettingsFolder(const SettingsFolder&) = delete;
    SettingsFolder& operator=(const SettingsFolder&) = delete;
};
