// The kernel's answer over netlink against what `ip -json address show` prints on the same machine.
#include "app/network/IpAddrJson.h"
#include "app/network/Netlink.h"
#include "tests/unit/QtPrinters.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

namespace {

QStringList Summary(const QList<TAdapterFacts> &Adapters)
{
    QStringList Lines;
    for (const TAdapterFacts &A : Adapters) {
        QString Line = QStringLiteral("%1 %2 %3 loopback=%4").arg(A.Index).arg(A.Name, QString::fromLatin1(A.HardwareAddress.toHex())).arg(A.Loopback);
        for (const TIpv4Address &Address : A.Addresses)
            Line += QStringLiteral(" %1/%2%3").arg(Address.Address).arg(Address.PrefixLength).arg(Address.Dynamic ? "d" : "");
        Lines << Line;
    }
    return Lines;
}

TEST(Netlink, AgreesWithTheAddressTool)
{
    const QString Ip = QStandardPaths::findExecutable(QStringLiteral("ip"));
    if (Ip.isEmpty())
        GTEST_SKIP() << "no ip command on this machine";
    QProcess Tool;
    Tool.start(Ip, {"-json", "address", "show"});
    ASSERT_TRUE(Tool.waitForFinished(10000));
    QList<TAdapterFacts> Printed;
    QString Error;
    ASSERT_TRUE(ReadIpAddrJson(Tool.readAllStandardOutput(), Printed, &Error)) << Error.toStdString();

    QList<TAdapterFacts> Asked;
    ASSERT_TRUE(ReadNetlinkAdapters(Asked, &Error)) << Error.toStdString();
    EXPECT_EQ(Summary(Asked), Summary(Printed));
}

} // namespace
