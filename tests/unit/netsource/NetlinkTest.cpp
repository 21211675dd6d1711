// The kernel's answer over netlink against what `ip -details -json address show` prints on the same machine,
// here and in a network namespace of the test's own filled with virtual devices.
#include "app/network/IpAddrJson.h"
#include "app/network/LinuxNetworkSource.h"
#include "app/network/Netlink.h"
#include "tests/unit/QtPrinters.h"

#include <gtest/gtest.h>

#include <QMap>
#include <QProcess>
#include <QStandardPaths>

#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include <sched.h>
#include <unistd.h>

namespace {

QStringList Summary(const QList<TAdapterFacts> &Adapters)
{
    QStringList Lines;
    for (const TAdapterFacts &A : Adapters) {
        QString Line = QStringLiteral("%1 %2 %3 loopback=%4 kind=%5")
                           .arg(A.Index)
                           .arg(A.Name, QString::fromLatin1(A.HardwareAddress.toHex()))
                           .arg(A.Loopback)
                           .arg(A.Kind);
        for (const TIpv4Address &Address : A.Addresses)
            Line += QStringLiteral(" %1/%2%3").arg(Address.Address).arg(Address.PrefixLength).arg(Address.Dynamic ? "d" : "");
        Lines << Line;
    }
    return Lines;
}

bool RunIp(const QStringList &Arguments, QByteArray *Output = nullptr)
{
    QProcess Tool;
    Tool.start(QStringLiteral("ip"), Arguments);
    if (!Tool.waitForFinished(10000) || Tool.exitStatus() != QProcess::NormalExit || Tool.exitCode() != 0)
        return false;
    if (Output)
        *Output = Tool.readAllStandardOutput();
    return true;
}

// Both readings of the interfaces where the caller runs; false when the tool or the kernel gave none.
::testing::AssertionResult BothReadingsAgree()
{
    QByteArray Json;
    if (!RunIp({"-details", "-json", "address", "show"}, &Json))
        return ::testing::AssertionFailure() << "ip -details -json address show failed";
    QList<TAdapterFacts> Printed, Asked;
    QString Error;
    if (!ReadIpAddrJson(Json, Printed, &Error) || !ReadNetlinkAdapters(Asked, &Error))
        return ::testing::AssertionFailure() << Error.toStdString();
    if (Summary(Asked) != Summary(Printed))
        return ::testing::AssertionFailure() << "netlink:\n"
                                             << Summary(Asked).join('\n').toStdString() << "\nip:\n"
                                             << Summary(Printed).join('\n').toStdString();
    return ::testing::AssertionSuccess();
}

TEST(Netlink, AgreesWithTheAddressTool)
{
    if (QStandardPaths::findExecutable(QStringLiteral("ip")).isEmpty())
        GTEST_SKIP() << "no ip command on this machine";
    EXPECT_TRUE(BothReadingsAgree());
}

// A network namespace belongs to one thread here, and the kernel removes it with everything in it when that
// thread ends, however the test ends. False where none can be made (not root, a sandbox).
bool InNetworkNamespaceOfItsOwn(const std::function<void()> &Body)
{
    bool Entered = false;
    std::thread Thread([&] {
        Entered = unshare(CLONE_NEWNET) == 0;
        if (Entered)
            Body();
    });
    Thread.join();
    return Entered;
}

TEST(Netlink, KindsOfVirtualDevicesAndWhichOnesTheLiveSourceLists)
{
    if (geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("ip")).isEmpty())
        GTEST_SKIP() << "making a network namespace needs root and the ip command";
    // Name, how to make it, its kind, listed by the report. A kind whose driver this kernel lacks is left out.
    struct
    {
        const char *Name;
        QStringList Make;
        const char *Kind;
        bool Listed;
    } Devices[] = {
        {"veth7", {"link", "add", "veth7", "type", "veth", "peer", "name", "veth8"}, "veth", true},
        {"veth8", {}, "veth", false},
        {"br7", {"link", "add", "br7", "type", "bridge"}, "bridge", true},
        {"ifb7", {"link", "add", "ifb7", "type", "ifb"}, "ifb", false},
        {"dummy7", {"link", "add", "dummy7", "type", "dummy"}, "dummy", false},
        {"vx7", {"link", "add", "vx7", "type", "vxlan", "id", "7", "dstport", "4789"}, "vxlan", false},
        {"tap7", {"tuntap", "add", "tap7", "mode", "tap"}, "tun", false},
    };
    QString Skip;
    QStringList Made, Expected;
    QMap<QString, QString> Kinds;
    QStringList Listed;
    const bool Entered = InNetworkNamespaceOfItsOwn([&] {
        for (const auto &D : Devices)
            if (D.Make.isEmpty() || RunIp(D.Make))
                Made << D.Name;
        if (!Made.contains("veth7")) {
            Skip = QStringLiteral("this kernel makes no veth pair");
            return;
        }
        // The container's end of the pair gets an address, the other becomes a port of the bridge.
        ASSERT_TRUE(RunIp({"address", "add", "10.77.0.2/24", "dev", "veth7"}));
        ASSERT_TRUE(RunIp({"link", "set", "veth8", "master", "br7"}));
        EXPECT_TRUE(BothReadingsAgree());

        QList<TAdapterFacts> Asked;
        QString Error;
        ASSERT_TRUE(ReadNetlinkAdapters(Asked, &Error)) << Error.toStdString();
        for (const TAdapterFacts &A : Asked)
            Kinds[A.Name] = A.Kind;

        LinuxNetworkSource Source;
        DWORD Size = 0;
        ASSERT_EQ(Source.GetAdaptersInfo(nullptr, &Size), ERROR_BUFFER_OVERFLOW) << Source.LastFailure().toStdString();
        std::vector<std::uint64_t> Storage(Size / 8 + 1);
        auto *Records = reinterpret_cast<IP_ADAPTER_INFO *>(Storage.data());
        ASSERT_EQ(Source.GetAdaptersInfo(Records, &Size), NO_ERROR) << Source.LastFailure().toStdString();
        for (const IP_ADAPTER_INFO *R = Records; R; R = R->Next)
            Listed << QString::fromUtf8(R->AdapterName);
    });
    if (!Entered)
        GTEST_SKIP() << "no network namespace can be made here";
    if (!Skip.isEmpty())
        GTEST_SKIP() << Skip.toStdString();
    EXPECT_EQ(Kinds.value("lo", "absent"), "");
    for (const auto &D : Devices) {
        if (!Made.contains(D.Name))
            continue;
        EXPECT_EQ(Kinds.value(D.Name), D.Kind) << D.Name;
        if (D.Listed)
            Expected << D.Name;
    }
    // In index order, which is the order they were made in.
    EXPECT_EQ(Listed, Expected) << "made: " << Made.join(' ').toStdString();
}

} // namespace
