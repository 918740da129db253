#pragma once
// Time texts, the message box, the per-user settings store and the log.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>
#include <cstdint>

class QWidget;

// "hh:mm:ss" of a duration in seconds; fields grow past two digits ("100:00:00").
QString SecToTime(double Seconds);
// "mm:ss:cc" of a position in hundredths of a second; no hour field ("90:00:00").
QString HsecToTime(double Hundredths);
// Seconds of the first eight characters read as "hh:mm:ss" (or "hh:mm"); 0 when that is no
// time or the sum exceeds 32767.
int16_t TimeToSec(const QString& TimeText);
// "hh:mm:ss", 24-hour.
QString FmtTime(const QTime& Time);

// The message box by kind word ("ok", "info", "error", "exc", "yesno", any case; another
// word gives OK without icon). Returns the pressed button's number as text: "1" OK,
// "6" Yes, "7" No.
QString ShowMsg(const QString& Prompt, const QString& Kind);

// Company and product under which settings are kept, and the revision the log names.
// Defaults: "Pelloran", "Quorvel V1.1", 400. Each program sets its own at start.
void SetAppProduct(const QString& Product);
QString AppProduct();
QString AppCompany();
void SetAppRevision(int Revision);
int AppRevision();
// The product and its revision as the log names them: "Quorvel V1.1.400".
QString AppProductLine();

// The per-user setting Key, or Default (as text) when it was never written. Nothing is cached.
QString GetAppSetting(const QString& Key, const QVariant& Default = QString());
// Stores Value as text (booleans "True"/"False", numbers as decimal text). False when the store
// could not be saved; the user is then told so by a message box, once for all the settings a
// step saves together (the box comes again only after the program has gone back to waiting).
bool SaveAppSetting(const QString& Key, const QVariant& Value);

// The log file: a name in the program folder (default "Quorvel.log").
void SetLogFileName(const QString& FileName);
QString LogFilePath();
// Recreates the log with its two opening lines: the date, then "hh:mm:ss 進入<product>.<revision>".
void StartLog();
// Appends "hh:mm:ss <Text>". A log that can't be written is skipped silently.
void WriteLog(const QString& Text);
// WriteLog for many lines in one append, all with the time of this call: for a caller that
// logs thousands of lines in a second.
void WriteLogLines(const QStringList& Texts);

// Puts the window above all others (showing it), or back among them, keeping its place and size.
void FormOnTop(QWidget* Form, bool OnTop);
// True only inside a development environment; a built program always gets False.
bool RunInDevEnv();
