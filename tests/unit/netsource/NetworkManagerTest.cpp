// The network manager's DHCP options over a private message bus with a stand-in manager.
#include "app/network/NetworkManagerDhcp.h"
#include "tests/unit/QtPrinters.h"

#include <gtest/gtest.h>

#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <atomic>

namespace {

const QString Manager = QStringLiteral("/org/freedesktop/NetworkManager");

// Answers the three questions the reader asks: eth0 has a lease, eth1 has no DHCPv4 configuration, other
// names are unknown. A silent manager answers nothing.
class TStandInManager : public QDBusVirtualObject
{
public:
    std::atomic<int> DeviceQuestions{0};
    std::atomic<bool> Silent{false};

    QString introspect(const QString &) const override { return QString(); }

    bool handleMessage(const QDBusMessage &Message, const QDBusConnection &Bus) override
    {
        const QVariantList Args = Message.arguments();
        if (Message.member() == QLatin1String("GetDeviceByIpIface")) {
            ++DeviceQuestions;
            if (Silent)
                return true;
            const QString Name = Args.value(0).toString();
            if (Name == QLatin1String("eth0") || Name == QLatin1String("eth1"))
                return Bus.send(Message.createReply(
                    QVariant::fromValue(QDBusObjectPath(Manager + (Name == QLatin1String("eth0") ? "/Devices/2" : "/Devices/3")))));
            return Bus.send(Message.createErrorReply(QStringLiteral("org.freedesktop.NetworkManager.UnknownDevice"),
                                                     QStringLiteral("No device found for the requested iface.")));
        }
        if (Message.member() == QLatin1String("Get")) {
            const QString Path = Message.path();
            QVariant Value;
            if (Path == Manager + "/Devices/2" && Args.value(1) == "Dhcp4Config")
                Value = QVariant::fromValue(QDBusObjectPath(Manager + "/DHCP4Config/5"));
            else if (Path == Manager + "/Devices/3" && Args.value(1) == "Dhcp4Config")
                Value = QVariant::fromValue(QDBusObjectPath("/"));
            else if (Path == Manager + "/DHCP4Config/5" && Args.value(0) == "org.freedesktop.NetworkManager.DHCP4Config"
                     && Args.value(1) == "Options")
                Value = QVariantMap{{"dhcp_server_identifier", "192.168.1.1"},
                                    {"dhcp_lease_time", "86400"},
                                    {"expiry", "1765432100"},
                                    {"ip_address", "192.168.1.23"}};
            if (Value.isValid())
                return Bus.send(Message.createReply(QVariant::fromValue(QDBusVariant(Value))));
            return Bus.send(Message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"), Path));
        }
        return false;
    }
};

class NetworkManagerDhcp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString Daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (Daemon.isEmpty())
            GTEST_SKIP() << "no dbus-daemon on this machine";
        FDaemon.start(Daemon, {"--session", "--nofork", "--print-address"});
        ASSERT_TRUE(FDaemon.waitForReadyRead(5000));
        FAddress = QString::fromUtf8(FDaemon.readLine().trimmed());
        FService = QDBusConnection::connectToBus(FAddress, QStringLiteral("stand-in-manager"));
        ASSERT_TRUE(FService.registerVirtualObject(Manager, &FManager, QDBusConnection::SubPath));
        // The stand-in answers from its own thread while the reader blocks on its calls.
        FManager.moveToThread(&FThread);
        FThread.start();
        ASSERT_TRUE(FService.registerService(QStringLiteral("org.freedesktop.NetworkManager")));
    }

    void TearDown() override
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("stand-in-manager"));
        QDBusConnection::disconnectFromBus(QStringLiteral("reader"));
        FThread.quit();
        FThread.wait();
        FDaemon.kill();
        FDaemon.waitForFinished();
    }

    QDBusConnection Reader() { return QDBusConnection::connectToBus(FAddress, QStringLiteral("reader")); }

    QProcess FDaemon;
    QString FAddress;
    QThread FThread;
    TStandInManager FManager;
    QDBusConnection FService{QString()};
};

TEST_F(NetworkManagerDhcp, OptionsOfADeviceWithALease)
{
    TNetworkManagerDhcp Nm(Reader());
    const TDhcp4Options Options = Nm.Options("eth0");
    EXPECT_EQ(Options.value("dhcp_server_identifier"), "192.168.1.1");
    EXPECT_EQ(Options.value("expiry"), "1765432100");
    TDhcpLease Lease;
    QString Error;
    ASSERT_TRUE(LeaseFromDhcp4Options(Options, Lease, &Error));
    EXPECT_TRUE(Lease.Found);
    EXPECT_EQ(Lease.LeaseTime, 86400);

    EXPECT_TRUE(Nm.Options("eth1").isEmpty()) << "no DHCPv4 configuration";
    EXPECT_TRUE(Nm.Options("wwan0").isEmpty()) << "unknown device";
}

TEST_F(NetworkManagerDhcp, ASilentManagerIsAskedOnce)
{
    FManager.Silent = true;
    TNetworkManagerDhcp Nm(Reader());
    EXPECT_TRUE(Nm.Options("eth0").isEmpty());
    EXPECT_TRUE(Nm.Options("eth1").isEmpty());
    EXPECT_EQ(FManager.DeviceQuestions, 1);
}

TEST(NetworkManagerDhcpWithoutBus, NoBusMeansNoOptions)
{
    TNetworkManagerDhcp Nm(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), "nowhere"));
    EXPECT_TRUE(Nm.Options("eth0").isEmpty());
    QDBusConnection::disconnectFromBus("nowhere");
}

} // namespace
