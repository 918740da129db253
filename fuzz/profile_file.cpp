// INI profile files: the document reader with its lists of sections and keys, the value
// read cut to a byte limit, and the safe write of what was read.

#include "Cp950.h"
#include "FuzzSupport.h"
#include "ProfileFile.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::scratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::writeInput(data, size, QStringLiteral("profile.ini"));
    ProfileDocument document;
    document.load(path);
    int lookups = 0;
    for (const QString &section : document.sections()) {
        for (const QString &key : document.keys(section)) {
            document.value(section, key);
            document.rawValue(section, key);
            if (++lookups > 8)
                continue;  // each call below reads the whole file again
            const QString cut = ProfileFile::getString(path, section, key, QString(), 16);
            Fuzz::require(Cp950::byteLength(cut) <= 15, "a value fits the buffer it is read into");
        }
    }
    document.setValue(QStringLiteral("Fuzz"), QStringLiteral("Key"), QStringLiteral("值"));
    Fuzz::require(document.value(QStringLiteral("fuzz"), QStringLiteral("KEY")) == QStringLiteral("值"),
                  "a value set is read back without regard to case");
    document.save(Fuzz::scratchFolder() + QStringLiteral("/written.ini"));
    return 0;
}
