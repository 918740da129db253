// Cached key faces: a bitmap from the cache folder, loaded and fitted to its key as the
// panel does before it shows the face.

#include "FuzzSupport.h"
#include "PanelForm.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::startWidgets();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QImage face = LoadKeyFaceBitmap(Fuzz::writeInput(data, size, QStringLiteral("Face-01.Bmp")));
    if (!face.isNull() && face.size() != QSize(40, 24))
        (void)face.scaled(40, 24, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return 0;
}
