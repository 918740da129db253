#include "ModRegist.h"

#include "MessageBox.h"
#include "ModTools.h"
#include "RegistryStore.h"

namespace {

// The fixed places of the wrappers.
const QString AudioCdPlayKey = QStringLiteral("AudioCD\\shell\\play\\command");
const QString ProductKey = QStringLiteral("SOFTWARE\\Pelloran\\Quorvel\\1.0");
const QString ProductAudioCdValue = QStringLiteral("AudioCD");
const QString WindowsVersionKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion");
const QString WindowsVersionValue = QStringLiteral("Version");

}  // namespace

void SaveRegString(uint32_t RootKey, const QString& SubKey, const QString& ValueName, const QString& Value) {
    RegistryStore::setString(RootKey, SubKey, ValueName, Value);
}

QString GetRegString(uint32_t RootKey, const QString& SubKey, const QString& ValueName) {
    if (!RegistryStore::keyExists(RootKey, SubKey)) return QString();
    std::optional<QString> value = RegistryStore::getString(RootKey, SubKey, ValueName);
    if (!value) {
        // A missing value inside an existing key: only a development run says so.
        if (RunInDevEnv()) MessageBox::MsgBox(QStringLiteral("無法讀取 ") + SubKey);
        return QString();
    }
    return *value;
}

QString GetAudioCDPlay() { return GetRegString(HKEY_CLASSES_ROOT, AudioCdPlayKey, QString()); }

void SetAudioCDPlay(const QString& Command) { SaveRegString(HKEY_CLASSES_ROOT, AudioCdPlayKey, QString(), Command); }

QString GetSavedAudioCDPlay() { return GetRegString(HKEY_LOCAL_MACHINE, ProductKey, ProductAudioCdValue); }

void SaveAudioCDPlay(const QString& Command) {
    SaveRegString(HKEY_LOCAL_MACHINE, ProductKey, ProductAudioCdValue, Command);
}

QString GetWinVersion() { return GetRegString(HKEY_LOCAL_MACHINE, WindowsVersionKey, WindowsVersionValue); }
