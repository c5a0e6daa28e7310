// Construction and destruction of the service client.
#include "service/lekora_lib.h"

#include <QDir>

namespace elumira {

TLekoraLib::TLekoraLib(Dialogs &dialogs, QString viewerArchive)
    : m_dialogs(dialogs), m_viewerArchive(std::move(viewerArchive))
{
    DevUUID = GetHardDiskSerial();
    checkDataFolder();
}

TLekoraLib::~TLekoraLib()
{
    if (!FPath.isEmpty() && QDir(FPath).exists())
        DeleteDirectory(FPath);
}

} // namespace elumira
