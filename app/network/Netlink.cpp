#include "app/network/Netlink.h"

#include "app/network/Ipv4Text.h"
#include "platform/IpHelper.h"

#include <QMap>

#include <cerrno>
#include <cstring>
#include <functional>

#include <linux/if_addr.h>
#include <linux/if_arp.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

class TNetlinkSocket
{
public:
    TNetlinkSocket() : FHandle(socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE))
    {
        // A kernel that stops answering must not hang the window.
        if (FHandle >= 0) {
            timeval Timeout{2, 0};
            setsockopt(FHandle, SOL_SOCKET, SO_RCVTIMEO, &Timeout, sizeof(Timeout));
        }
    }
    ~TNetlinkSocket()
    {
        if (FHandle >= 0)
            close(FHandle);
    }
    TNetlinkSocket(const TNetlinkSocket &) = delete;
    TNetlinkSocket &operator=(const TNetlinkSocket &) = delete;

    bool IsOpen() const { return FHandle >= 0; }

    // Sends one dump request and hands every answer message to Message until the dump is done.
    bool Dump(int Type, unsigned char Family, const std::function<void(const nlmsghdr *)> &Message, QString *Error)
    {
        struct
        {
            nlmsghdr Header;
            rtgenmsg Body;
        } Request{};
        Request.Header.nlmsg_len = NLMSG_LENGTH(sizeof(rtgenmsg));
        Request.Header.nlmsg_type = std::uint16_t(Type);
        Request.Header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
        Request.Header.nlmsg_seq = ++FSequence;
        Request.Body.rtgen_family = Family;
        if (send(FHandle, &Request, Request.Header.nlmsg_len, 0) < 0)
            return Failed(QStringLiteral("netlink request"), Error);
        alignas(nlmsghdr) char Answer[32768];
        for (;;) {
            const ssize_t Length = recv(FHandle, Answer, sizeof(Answer), 0);
            if (Length < 0)
                return Failed(QStringLiteral("netlink answer"), Error);
            int Left = int(Length);
            for (auto *H = reinterpret_cast<const nlmsghdr *>(Answer); NLMSG_OK(H, Left); H = NLMSG_NEXT(H, Left)) {
                if (H->nlmsg_seq != FSequence)
                    continue;
                if (H->nlmsg_type == NLMSG_DONE)
                    return true;
                if (H->nlmsg_type == NLMSG_ERROR) {
                    const auto *E = static_cast<const nlmsgerr *>(NLMSG_DATA(H));
                    errno = -E->error;
                    return Failed(QStringLiteral("netlink dump"), Error);
                }
                Message(H);
            }
        }
    }

private:
    static bool Failed(const QString &What, QString *Error)
    {
        *Error = QStringLiteral("%1: %2").arg(What, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }

    int FHandle;
    std::uint32_t FSequence = 0;
};

QString Text(const rtattr *A)
{
    const char *Data = static_cast<const char *>(RTA_DATA(A));
    return QString::fromUtf8(Data, int(strnlen(Data, RTA_PAYLOAD(A))));
}

// The kernel sends the link info of every device whose driver has a kind, asked for or not.
QString LinkKind(const rtattr *LinkInfo)
{
    int Left = int(RTA_PAYLOAD(LinkInfo));
    for (auto *A = static_cast<const rtattr *>(RTA_DATA(LinkInfo)); RTA_OK(A, Left); A = RTA_NEXT(A, Left))
        if ((A->rta_type & NLA_TYPE_MASK) == IFLA_INFO_KIND)
            return Text(A);
    return QString();
}

void ReadLink(const nlmsghdr *H, QList<TAdapterFacts> &Adapters)
{
    const auto *Info = static_cast<const ifinfomsg *>(NLMSG_DATA(H));
    TAdapterFacts Adapter;
    Adapter.Index = Info->ifi_index;
    Adapter.Loopback = (Info->ifi_flags & IFF_LOOPBACK) != 0 || Info->ifi_type == ARPHRD_LOOPBACK;
    Adapter.Type = Adapter.Loopback ? MIB_IF_TYPE_LOOPBACK
                   : Info->ifi_type == ARPHRD_ETHER ? MIB_IF_TYPE_ETHERNET
                   : Info->ifi_type == ARPHRD_IEEE80211 ? IF_TYPE_IEEE80211
                                                        : MIB_IF_TYPE_OTHER;
    int Left = int(IFLA_PAYLOAD(H));
    for (auto *A = IFLA_RTA(Info); RTA_OK(A, Left); A = RTA_NEXT(A, Left)) {
        if (A->rta_type == IFLA_IFNAME)
            Adapter.Name = Text(A);
        else if (A->rta_type == IFLA_ADDRESS)
            Adapter.HardwareAddress = QByteArray(static_cast<const char *>(RTA_DATA(A)), int(RTA_PAYLOAD(A)));
        else if ((A->rta_type & NLA_TYPE_MASK) == IFLA_LINKINFO)
            Adapter.Kind = LinkKind(A);
    }
    Adapters.append(Adapter);
}

void ReadAddress(const nlmsghdr *H, QMap<int, QList<TIpv4Address>> &Addresses)
{
    const auto *Info = static_cast<const ifaddrmsg *>(NLMSG_DATA(H));
    if (Info->ifa_family != AF_INET)
        return;
    // IFA_FLAGS carries all 32 bits of the flags where the header has room for 8.
    std::uint32_t Flags = Info->ifa_flags;
    QByteArray Local, Address;
    int Left = int(IFA_PAYLOAD(H));
    for (auto *A = IFA_RTA(Info); RTA_OK(A, Left); A = RTA_NEXT(A, Left)) {
        const QByteArray Data(static_cast<const char *>(RTA_DATA(A)), int(RTA_PAYLOAD(A)));
        if (A->rta_type == IFA_LOCAL)
            Local = Data;
        else if (A->rta_type == IFA_ADDRESS)
            Address = Data;
        else if (A->rta_type == IFA_FLAGS && Data.size() == 4)
            std::memcpy(&Flags, Data.constData(), 4);
    }
    // On a point-to-point link IFA_ADDRESS is the peer; the machine's own address is IFA_LOCAL.
    const QByteArray &Own = Local.size() == 4 ? Local : Address;
    if (Own.size() != 4)
        return;
    const auto *B = reinterpret_cast<const unsigned char *>(Own.constData());
    const quint32 Value = (quint32(B[0]) << 24) | (quint32(B[1]) << 16) | (quint32(B[2]) << 8) | B[3];
    // The kernel marks addresses without a lifetime permanent; a DHCP client gives its addresses one.
    Addresses[Info->ifa_index].append({DottedQuad(Value), Info->ifa_prefixlen, (Flags & IFA_F_PERMANENT) == 0});
}

} // namespace

bool ReadNetlinkAdapters(QList<TAdapterFacts> &Adapters, QString *Error)
{
    Adapters.clear();
    TNetlinkSocket Socket;
    if (!Socket.IsOpen()) {
        *Error = QStringLiteral("netlink socket: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    QMap<int, QList<TIpv4Address>> Addresses;
    const auto Link = [&](const nlmsghdr *H) {
        if (H->nlmsg_type == RTM_NEWLINK)
            ReadLink(H, Adapters);
    };
    const auto Address = [&](const nlmsghdr *H) {
        if (H->nlmsg_type == RTM_NEWADDR)
            ReadAddress(H, Addresses);
    };
    if (!Socket.Dump(RTM_GETLINK, AF_UNSPEC, Link, Error) || !Socket.Dump(RTM_GETADDR, AF_INET, Address, Error)) {
        Adapters.clear();
        return false;
    }
    for (TAdapterFacts &Adapter : Adapters)
        Adapter.Addresses = Addresses.value(Adapter.Index);
    return true;
}
