#pragma once
// Registry strings and the fixed places the programs read and write.

#include <QString>
#include <cstdint>

inline constexpr uint32_t HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr uint32_t HKEY_CURRENT_USER = 0x80000001u;
inline constexpr uint32_t HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr uint32_t HKEY_USERS = 0x80000003u;

// Creates or opens the key and stores Value; silent on failure.
void SaveRegString(uint32_t RootKey, const QString& SubKey, const QString& ValueName,
                   const QString& Value);
// The value's text, "" on any failure.
QString GetRegString(uint32_t RootKey, const QString& SubKey, const QString& ValueName);

// The command run when an audio CD is inserted (default value of
// HKEY_CLASSES_ROOT\AudioCD\shell\play\command).
QString GetAudioCDPlay();
void SetAudioCDPlay(const QString& Command);
// The copy of it kept under the product key (HKEY_LOCAL_MACHINE\SOFTWARE\Pelloran\Quorvel\1.0, "AudioCD").
QString GetSavedAudioCDPlay();
void SaveAudioCDPlay(const QString& Command);
// The Windows version name: "" here, unless a "Version" value was stored.
QString GetWinVersion();
