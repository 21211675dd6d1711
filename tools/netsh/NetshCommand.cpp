#include "tools/netsh/NetshCommand.h"

#include <QMap>

#include <algorithm>
#include <array>

namespace {

enum TTag { tagName, tagSource, tagAddr, tagMask, tagGateway, tagGwMetric };

struct TTagName
{
    const char *Text;
    TTag Tag;
};

// Both spellings of the address tag are netsh's own, older and newer.
constexpr std::array<TTagName, 7> TagNames{{{"name", tagName},
                                            {"source", tagSource},
                                            {"addr", tagAddr},
                                            {"address", tagAddr},
                                            {"mask", tagMask},
                                            {"gateway", tagGateway},
                                            {"gwmetric", tagGwMetric}}};

QString TagWordOf(TTag Tag)
{
    return QLatin1StringView(
        std::find_if(TagNames.begin(), TagNames.end(), [Tag](const TTagName &Name) { return Name.Tag == Tag; })->Text);
}

// The tags each command takes, in the order untagged values fill them.
QList<TTag> TagsOf(TNetshTarget Target)
{
    if (Target == TNetshTarget::Address)
        return {tagName, tagSource, tagAddr, tagMask, tagGateway, tagGwMetric};
    return {tagName, tagSource, tagAddr};
}

bool Is(const QString &Word, std::initializer_list<const char *> Keywords)
{
    for (const char *Keyword : Keywords)
        if (Word.compare(QLatin1StringView(Keyword), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString Quoted(const QString &Token) { return u'\'' + Token + u'\''; }

struct TFail
{
    QString Message;
};

class TArgumentReader
{
public:
    TArgumentReader(TNetshTarget Target, QStringList Tokens) : FTags(TagsOf(Target)), FTokens(std::move(Tokens)) {}

    // Values by tag, with the words the user wrote for the tags.
    QMap<TTag, QString> Values;
    QMap<TTag, QString> Spelling;

    void Read()
    {
        while (FNext < FTokens.size())
            ReadOne();
    }

private:
    std::optional<TTag> TagOf(const QString &Word) const
    {
        for (const TTagName &Name : TagNames)
            if (Word.compare(QLatin1StringView(Name.Text), Qt::CaseInsensitive) == 0 && FTags.contains(Name.Tag))
                return Name.Tag;
        return std::nullopt;
    }

    // A token that starts a tagged value ("=x", "tag=x", "tag="): never the value of the tag before it.
    bool StartsTagged(const QString &Token) const
    {
        qsizetype Eq = Token.indexOf(u'=');
        return Eq == 0 || (Eq > 0 && TagOf(Token.left(Eq).trimmed()));
    }

    QString TakeValue(const QString &TagWord)
    {
        if (FNext >= FTokens.size() || StartsTagged(FTokens[FNext]))
            throw TFail{Quoted(TagWord) + " needs a value"};
        return FTokens[FNext++];
    }

    void ReadOne()
    {
        QString Token = FTokens[FNext++];
        qsizetype Eq = Token.indexOf(u'=');
        if (Eq == 0)
            throw TFail{Quoted(Token) + " has no keyword before '='"};
        if (Eq > 0)
            ReadTagged(Token.left(Eq).trimmed(), Token.mid(Eq + 1)); // "tag=value", "tag= value"
        else if (FNext < FTokens.size() && FTokens[FNext].startsWith(u'='))
            ReadTagged(Token, FTokens[FNext++].mid(1)); // "tag =value", "tag = value"
        else
            StorePositional(Token);
    }

    void ReadTagged(const QString &TagWord, const QString &Rest)
    {
        std::optional<TTag> Tag = TagOf(TagWord);
        if (!Tag)
            throw TFail{"unknown keyword " + Quoted(TagWord)};
        Store(*Tag, TagWord, Rest.isEmpty() ? TakeValue(TagWord) : Rest);
    }

    void Store(TTag Tag, const QString &TagWord, const QString &Value)
    {
        if (Values.contains(Tag))
            throw TFail{Quoted(TagWord) + " is given twice"};
        if (Value.isEmpty())
            throw TFail{Quoted(TagWord) + " needs a value"};
        Values.insert(Tag, Value);
        Spelling.insert(Tag, TagWord);
    }

    void StorePositional(const QString &Value)
    {
        for (TTag Tag : FTags)
            if (!Values.contains(Tag)) {
                Store(Tag, TagWordOf(Tag), Value);
                return;
            }
        throw TFail{"unexpected " + Quoted(Value)};
    }

    QList<TTag> FTags;
    QStringList FTokens;
    qsizetype FNext = 0;
};

// Four decimal numbers 0 to 255 without leading zeros, which some readers take for octal.
std::optional<quint32> ParseDottedQuad(const QString &Text)
{
    QStringList Parts = Text.split(u'.');
    if (Parts.size() != 4)
        return std::nullopt;
    quint32 Value = 0;
    for (const QString &Part : Parts) {
        if (Part.isEmpty() || Part.size() > 3 || (Part.size() > 1 && Part.startsWith(u'0')))
            return std::nullopt;
        for (QChar C : Part)
            if (C < u'0' || C > u'9')
                return std::nullopt;
        uint Octet = Part.toUInt();
        if (Octet > 255)
            return std::nullopt;
        Value = (Value << 8) | Octet;
    }
    return Value;
}

class TCommandChecker
{
public:
    TCommandChecker(const TArgumentReader &Reader) : FReader(Reader) {}

    QString Required(TTag Tag) const
    {
        if (!FReader.Values.contains(Tag))
            throw TFail{"missing " + Quoted(TagWordOf(Tag))};
        return FReader.Values[Tag];
    }

    quint32 Address(TTag Tag) const
    {
        QString Text = Required(Tag);
        std::optional<quint32> Value = ParseDottedQuad(Text);
        if (!Value)
            throw TFail{Quoted(Text) + " is not an IPv4 address (" + FReader.Spelling[Tag] + ")"};
        return *Value;
    }

    // 0.0.0.0 is what blank address fields give; as an address, server or mask it means nothing was chosen.
    QString NonZero(TTag Tag, quint32 Value) const
    {
        if (Value == 0)
            throw TFail{Quoted(FReader.Values[Tag]) + " cannot be used as " + FReader.Spelling[Tag]};
        return FReader.Values[Tag];
    }

    QString UsableAddress(TTag Tag) const { return NonZero(Tag, Address(Tag)); }

    QString Mask() const
    {
        quint32 Value = Address(tagMask);
        quint32 HostPart = ~Value;
        // Contiguous: the host part is a run of low ones.
        if ((HostPart & (HostPart + 1)) != 0)
            throw TFail{Quoted(FReader.Values[tagMask]) + " is not a contiguous subnet mask"};
        return NonZero(tagMask, Value);
    }

    QString Gateway() const
    {
        if (!FReader.Values.contains(tagGateway) || Is(FReader.Values[tagGateway], {"none"}))
            return QString();
        return Address(tagGateway) == 0 ? QString() : FReader.Values[tagGateway];
    }

    QString GatewayMetric() const
    {
        if (!FReader.Values.contains(tagGwMetric))
            return QString();
        QString Text = FReader.Values[tagGwMetric];
        bool Ok = false;
        uint Metric = Text.toUInt(&Ok);
        if (!Ok || Text.startsWith(u'+') || Metric > 9999)
            throw TFail{Quoted(Text) + " is not a gateway metric (0 to 9999)"};
        return QString::number(Metric);
    }

    void NothingBut(std::initializer_list<TTag> Allowed, const QString &Why) const
    {
        for (auto I = FReader.Values.cbegin(); I != FReader.Values.cend(); ++I)
            if (std::find(Allowed.begin(), Allowed.end(), I.key()) == Allowed.end())
                throw TFail{Quoted(FReader.Spelling[I.key()]) + " is not used with " + Why};
    }

private:
    const TArgumentReader &FReader;
};

TNetshTarget ReadTarget(const QStringList &Args)
{
    const std::initializer_list<const char *> Expected[] = {{"interface", "int"}, {"ip", "ipv4"}, {"set"}};
    for (qsizetype I = 0; I < 3; ++I) {
        if (I >= Args.size())
            throw TFail{"incomplete command, expected 'interface ip set address|dns ...'"};
        if (!Is(Args[I], Expected[I]))
            throw TFail{"unknown command " + Quoted(Args[I])};
    }
    if (Args.size() < 4)
        throw TFail{"incomplete command, expected 'address' or 'dns' after 'set'"};
    if (Is(Args[3], {"address"}))
        return TNetshTarget::Address;
    if (Is(Args[3], {"dns"}))
        return TNetshTarget::Dns;
    throw TFail{"unknown command " + Quoted(Args[3])};
}

TNetshCommand Parse(const QStringList &Args)
{
    TNetshCommand Command;
    Command.Target = ReadTarget(Args);
    TArgumentReader Reader(Command.Target, Args.mid(4));
    Reader.Read();
    TCommandChecker Check(Reader);

    Command.Name = Check.Required(tagName);
    QString Source = Check.Required(tagSource);
    if (Is(Source, {"dhcp"})) {
        Command.Source = TNetshSource::Dhcp;
        Check.NothingBut({tagName, tagSource}, "source=dhcp");
        return Command;
    }
    if (!Is(Source, {"static"}))
        throw TFail{"unknown source " + Quoted(Source) + ", expected static or dhcp"};
    Command.Source = TNetshSource::Static;
    Command.Address = Check.UsableAddress(tagAddr);
    if (Command.Target == TNetshTarget::Address) {
        Command.Mask = Check.Mask();
        Command.Gateway = Check.Gateway();
        Command.GatewayMetric = Check.GatewayMetric();
    }
    return Command;
}

} // namespace

TNetshParse ParseNetshCommand(const QStringList &Args)
{
    try {
        return {Parse(Args), QString()};
    } catch (const TFail &Fail) {
        return {std::nullopt, Fail.Message};
    }
}

bool IsNetshHelpRequest(const QStringList &Args)
{
    for (const QString &Arg : Args)
        if (Arg == "-h" || Arg == "--help" || Arg == "/?" || Arg == "-?")
            return true;
    return false;
}

QString NetshUsage()
{
    return QStringLiteral(
        "usage: netsh interface ip set address name=NAME source=static addr=ADDRESS mask=MASK\n"
        "                                      [gateway=GATEWAY|none] [gwmetric=METRIC]\n"
        "       netsh interface ip set address name=NAME source=dhcp\n"
        "       netsh interface ip set dns name=NAME source=static addr=ADDRESS\n"
        "       netsh interface ip set dns name=NAME source=dhcp\n"
        "\n"
        "Keywords are case-insensitive; 'interface' may be 'int', 'ip' may be 'ipv4', 'addr' may be 'address'.\n"
        "A tag and its value may have blanks around '=' (name = NAME). Values without a tag fill the tags\n"
        "in the order above: netsh interface ip set address \"My Connection\" dhcp.\n"
        "NAME is a NetworkManager connection; the change is made with nmcli and the connection brought up.\n"
        "\n"
        "Environment: NETSH_NMCLI  the nmcli to run (default: nmcli on PATH)\n"
        "             NETSH_DRY_RUN=1  print the nmcli command lines instead of running them\n");
}
