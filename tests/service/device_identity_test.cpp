// Formatting of the device identity from a volume serial number.
#include "service/device_identity.h"
#include "service/lekora_lib.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using elumira::formatDeviceIdentity;

TEST(DeviceIdentity, formatDeviceIdentity_serials_eightUppercaseHexDigits)
{
    const struct
    {
        std::uint32_t serial;
        const char *expected;
    } cases[] = {
        {31u, "0000001F"},
        {0xFFFFFFFFu, "FFFFFFFF"},
        {0u, "00000000"},
        {0xABCDEF12u, "ABCDEF12"},
        {0x00A0B0C0u, "00A0B0C0"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(formatDeviceIdentity(c.serial), QString::fromLatin1(c.expected)) << c.serial;
}

TEST(DeviceIdentity, GetHardDiskSerial_thisMachine_isEightUppercaseHexDigits)
{
    const QString identity = elumira::TLekoraLib::GetHardDiskSerial();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{8}$")).match(identity).hasMatch()) << identity.toStdString();
    bool ok = false;
    elumira::volumeSerial(QStringLiteral("/"), &ok);
    EXPECT_TRUE(ok);
}
