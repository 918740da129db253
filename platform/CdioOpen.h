#pragma once
// Opening an optical drive or a disc image through libcdio, one road for every reader.

#include <QByteArray>
#include <QString>

typedef struct _CdIo CdIo_t;

// The path to hand libcdio for a drive or disc image. The installed libcdio reads a cue
// sheet's data from the sheet's own name with ".bin", whatever its FILE line says; a sheet
// whose FILE line names another file is given through a private alias folder in which the
// two names match, so that any cue sheet a user has is read. Other paths come back as given.
QByteArray CdioSourcePath(const QByteArray& device);

// cdio_open with any driver on CdioSourcePath(device); null when it cannot be opened.
CdIo_t* OpenCdio(const QByteArray& device);
