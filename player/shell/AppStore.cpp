#include "AppStore.h"

#include "ModTools.h"

OptionStore AppOptionStore()
{
    return {[](const QString& key, const QString& def) { return GetAppSetting(key, def); },
            [](const QString& key, const QString& value) { SaveAppSetting(key, value); }};
}
