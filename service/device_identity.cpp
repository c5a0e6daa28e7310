// Reads the system volume's id and formats it as the device identity.
#include "service/device_identity.h"

#include <sys/statvfs.h>

#include <cstring>

namespace elumira {

QString formatDeviceIdentity(std::uint32_t serial)
{
    return QStringLiteral("%1").arg(serial, 8, 16, QLatin1Char('0')).toUpper();
}

std::uint32_t volumeSerial(const QString &folder, bool *ok)
{
    struct statvfs info;
    std::memset(&info, 0, sizeof info);
    const bool read = ::statvfs(folder.toLocal8Bit().constData(), &info) == 0;
    if (ok)
        *ok = read;
    // The file-system id is 64 bits wide on Linux; the identity uses its low 32 bits.
    return read ? static_cast<std::uint32_t>(info.f_fsid & 0xFFFFFFFFu) : 0u;
}

} // namespace elumira
