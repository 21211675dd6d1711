#include "tools/netsh/NetshCommand.h"

#include <QMap>

#include <algorithm>
#include <array>

namespace {

enum TTag { tagName, tagSource, tagAddr, tagMask, tagGateway, tagGwMetric, tagRegister, tagValidate };

struct TTagName
{
    const char *Text;
    TTag Tag;
};

// Both spellings of the address tag are netsh's own, older and newer.
constexpr std::array<TTagName, 9> TagNames{{{"name", tagName},
                                            {"source", tagSource},
                                            {"addr", tagAddr},
                                            {"address", tagAddr},
                                            {"mask", tagMask},
                                            {"gateway", tagGateway},
                                            {"gwmetric", tagGwMetric},
                                            {"register", tagRegister},
                                            {"validate", tagValidate}}};

QString TagWordOf(TTag Tag)
{
    return QLatin1StringView(
        std::find_if(TagNames.begin(), TagNames.end(), [Tag](const TTagName &Name) { return Name.Tag == Tag; })->Text);
}

// The tags of each form of a command, in the order untagged values take them. The static form has
// every tag the command knows.
QList<TTag> TagsOf(TNetshTarget Target, TNetshSource Source)
{
    bool Dhcp = Source == TNetshSource::Dhcp;
    if (Target == TNetshTarget::Address)
        return Dhcp ? QList<TTag>{tagName, tagSource}
                    : QList<TTag>{tagName, tagSource, tagAddr, tagMask, tagGateway, tagGwMetric};
    return Dhcp ? QList<TTag>{tagName, tagSource, tagRegister, tagValidate}
                : QList<TTag>{tagName, tagSource, tagAddr, tagRegister, tagValidate};
}

bool Is(const QString &Word, std::initializer_list<const char *> Keywords)
{
    for (const char *Keyword : Keywords)
        if (Word.compare(QLatin1StringView(Keyword), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString Quoted(const QString &Token) { return u'\'' + Token + u'\''; }

// "a, b or c"
QString Alternatives(std::initializer_list<const char *> Words)
{
    QStringList List;
    for (const char *Word : Words)
        List << QLatin1StringView(Word);
    QString Last = List.takeLast();
    return List.isEmpty() ? Last : List.join(", ") + " or " + Last;
}

struct TFail
{
    QString Message;
};

class TArgumentReader
{
public:
    TArgumentReader(TNetshTarget Target, QStringList Tokens)
        : FTarget(Target), FTags(TagsOf(Target, TNetshSource::Static)), FTokens(std::move(Tokens))
    {
    }

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
        FNextTag = FTags.indexOf(Tag) + 1;
    }

    // A tag once written fixes the order from there on: an untagged value takes the first tag after
    // the last one written that its form takes and that has no value yet.
    void StorePositional(const QString &Value)
    {
        QList<TTag> Form = TagsOf(FTarget, SourceSoFar());
        for (qsizetype I = FNextTag; I < FTags.size(); ++I)
            if (Form.contains(FTags[I]) && !Values.contains(FTags[I])) {
                Store(FTags[I], TagWordOf(FTags[I]), Value);
                return;
            }
        throw TFail{"unexpected " + Quoted(Value)};
    }

    // Until a source is given, the static form, which has every tag.
    TNetshSource SourceSoFar() const
    {
        return Is(Values.value(tagSource), {"dhcp"}) ? TNetshSource::Dhcp : TNetshSource::Static;
    }

    TNetshTarget FTarget;
    QList<TTag> FTags;
    QStringList FTokens;
    qsizetype FNext = 0;
    qsizetype FNextTag = 0;
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

    bool Given(TTag Tag) const { return FReader.Values.contains(Tag); }

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
        if (!Given(tagGateway) || Is(FReader.Values[tagGateway], {"none"}))
            return QString();
        return Address(tagGateway) == 0 ? QString() : FReader.Values[tagGateway];
    }

    // A metric belongs to a gateway, even to none.
    QString GatewayMetric() const
    {
        if (!Given(tagGwMetric))
            return QString();
        Required(tagGateway);
        QString Text = FReader.Values[tagGwMetric];
        bool Ok = false;
        uint Metric = Text.toUInt(&Ok);
        if (!Ok || Text.startsWith(u'+') || Metric > 9999)
            throw TFail{Quoted(Text) + " is not a gateway metric (0 to 9999)"};
        return QString::number(Metric);
    }

    QString DnsServer() const
    {
        if (Is(Required(tagAddr), {"none"}))
            return QString();
        return UsableAddress(tagAddr);
    }

    // One of the tag's words, spelled as the list spells it.
    QString Choice(TTag Tag, std::initializer_list<const char *> Words) const
    {
        QString Value = Required(Tag);
        for (const char *Word : Words)
            if (Is(Value, {Word}))
                return QLatin1StringView(Word);
        throw TFail{"unknown " + TagWordOf(Tag) + u' ' + Quoted(Value) + ", expected " + Alternatives(Words)};
    }

    void OptionalChoice(TTag Tag, std::initializer_list<const char *> Words) const
    {
        if (Given(Tag))
            Choice(Tag, Words);
    }

    void NothingBut(const QList<TTag> &Allowed, const QString &Why) const
    {
        for (auto I = FReader.Values.cbegin(); I != FReader.Values.cend(); ++I)
            if (!Allowed.contains(I.key()))
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
    Command.Source = Check.Choice(tagSource, {"static", "dhcp"}) == u"dhcp" ? TNetshSource::Dhcp : TNetshSource::Static;
    if (Command.Source == TNetshSource::Dhcp) {
        Check.NothingBut(TagsOf(Command.Target, TNetshSource::Dhcp), "source=dhcp");
    } else if (Command.Target == TNetshTarget::Address) {
        Command.Address = Check.UsableAddress(tagAddr);
        Command.Mask = Check.Mask();
        Command.Gateway = Check.Gateway();
        Command.GatewayMetric = Check.GatewayMetric();
    } else {
        Command.Address = Check.DnsServer();
    }
    // NetworkManager registers no names in DNS and takes a server without trying it: these two are
    // only checked.
    Check.OptionalChoice(tagRegister, {"none", "primary", "both"});
    Check.OptionalChoice(tagValidate, {"yes", "no"});
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
        "usage: netsh interface ip set address [name=]NAME [source=]dhcp\n"
        "       netsh interface ip set address [name=]NAME [source=]static [addr=]ADDRESS [mask=]MASK\n"
        "                                      [[gateway=]GATEWAY|none [[gwmetric=]METRIC]]\n"
        "       netsh interface ip set dns [name=]NAME [source=]dhcp\n"
        "                                  [[register=]none|primary|both] [[validate=]yes|no]\n"
        "       netsh interface ip set dns [name=]NAME [source=]static [addr=]ADDRESS|none\n"
        "                                  [[register=]none|primary|both] [[validate=]yes|no]\n"
        "\n"
        "A value is given with its tag (name=NAME) or without it, in the order above. A tag fixes the order\n"
        "from there on: a value without a tag takes the next tag after the last one written that has no value\n"
        "yet, so in 'set dns source=static name=NAME ADDRESS' the ADDRESS is the addr.\n"
        "Tags and words (static, dhcp, none, primary, yes ...) are case-insensitive; 'interface' may be 'int',\n"
        "'ip' may be 'ipv4', 'addr' may be 'address'. A tag and its value may have blanks around '=' (name = NAME).\n"
        "\n"
        "NAME is a NetworkManager connection; nmcli changes its IPv4 settings, then brings it up:\n"
        "  address dhcp        ipv4.method auto, no addresses, no gateway, ipv4.route-metric -1 (default)\n"
        "  address static      ipv4.method manual, ipv4.addresses ADDRESS/prefix length of MASK,\n"
        "                      ipv4.gateway GATEWAY (none or 0.0.0.0: no gateway), ipv4.route-metric METRIC\n"
        "                      (0 to 9999; NetworkManager gives it to the default route and to the\n"
        "                      connection's other routes)\n"
        "  dns dhcp            ipv4.dns cleared, ipv4.ignore-auto-dns no: the servers DHCP hands out\n"
        "  dns static          ipv4.dns ADDRESS (none: no server), ipv4.ignore-auto-dns yes\n"
        "  register, validate  checked, then ignored: NetworkManager registers no names in DNS and takes\n"
        "                      a server without trying it first\n"
        "\n"
        "Environment: NETSH_NMCLI  the nmcli to run (default: nmcli on PATH)\n"
        "             NETSH_DRY_RUN=1  print the nmcli command lines instead of running them\n");
}
