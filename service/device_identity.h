// The device identity: the 32-bit id of the system volume as eight uppercase hexadecimal digits.
#pragma once

#include <QString>

#include <cstdint>

namespace elumira {

// Formats a volume serial number as the device identity: 31 gives "0000001F".
QString formatDeviceIdentity(std::uint32_t serial);

// The low 32 bits of the file-system id of the volume that holds folder; 0, with ok set false, when unreadable.
std::uint32_t volumeSerial(const QString &folder, bool *ok = nullptr);

} // namespace elumira
