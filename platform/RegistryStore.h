#pragma once
// String values by root, key path and value name, as the programs keep them in the
// registry; stored in one profile file (SystemPaths::RegistryFile()), one section per root
// and key path ("HKEY_LOCAL_MACHINE\SOFTWARE\..."), the unnamed default value under "@".
// A value reads back exactly as written: blanks, quotes and double-byte text included.

#include <QString>
#include <cstdint>
#include <optional>

namespace RegistryStore {

inline constexpr uint32_t ClassesRoot = 0x80000000u;
inline constexpr uint32_t CurrentUser = 0x80000001u;
inline constexpr uint32_t LocalMachine = 0x80000002u;
inline constexpr uint32_t Users = 0x80000003u;

// "HKEY_CLASSES_ROOT" and so on; "" for an unknown root.
QString rootName(uint32_t root);

// False when the root is unknown or the store can't be written.
bool setString(uint32_t root, const QString& keyPath, const QString& valueName,
               const QString& value);
// No value when the root, key or value is missing.
std::optional<QString> getString(uint32_t root, const QString& keyPath,
                                 const QString& valueName);
bool keyExists(uint32_t root, const QString& keyPath);

}  // namespace RegistryStore
