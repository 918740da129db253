#include "AppStore.h"

#include "ModTools.h"
#include "SettingsStore.h"

#include <memory>

OptionStore AppOptionStore()
{
    // One batch for all the reads of this store: a dialog reads dozens of options at once,
    // and opening the file for each of them was a good part of the player's start.
    auto batch = std::make_shared<SettingsStore::Batch>(AppCompany(), AppProduct());
    return {[batch](const QString& key, const QString& def) { return batch->get(key, def); },
            [](const QString& key, const QString& value) { SaveAppSetting(key, value); }};
}
