// Netvane's main window: its layout, the report on activation, the profiles and the commands it starts.
#include "app/Unit1.h"
#include "app/network/NetworkSource.h"
#include "framework/forms/Dialogs.h"
#include "platform/Kernel.h"
#include "platform/StdClasses.h"

#include <gtest/gtest.h>

namespace {

// A machine with a name and one name server but no adapter.
class TNoAdapterSource : public NetworkInfoSource
{
public:
    DWORD GetNetworkParams(FIXED_INFO *Buffer, DWORD *Size) override
    {
        if (!Buffer || *Size < sizeof(FIXED_INFO)) {
            *Size = sizeof(FIXED_INFO);
            return ERROR_BUFFER_OVERFLOW;
        }
        CopyFieldText(Buffer->HostName, sizeof Buffer->HostName, "vane", 4);
        CopyFieldText(Buffer->DnsServerList.IpAddress.String, 16, "10.0.0.1", 8);
        Buffer->NodeType = BROADCAST_NODETYPE;
        return NO_ERROR;
    }
    DWORD GetAdaptersInfo(IP_ADAPTER_INFO *, DWORD *) override { return ERROR_NO_DATA; }
};

const QString NoAdapterReport = QString::fromUtf8("Host Name：\t\tvane\nDNS Servers：\t\t10.0.0.1\nNode Type：\t\tBroadcast\n");

class NetvaneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application->Initialize();
        ShowExceptionHook = [](const QString &Message) { ADD_FAILURE() << "exception shown: " << Message.toStdString(); };
        SetNetworkSource(std::make_unique<TNoAdapterSource>());
        SetWinExecHook([this](const char *Line, UINT Show) {
            Log << QStringLiteral("exec %1 [%2]").arg(QString::fromUtf8(Line)).arg(Show);
            return UINT(33);
        });
        SetSleepHook([this](DWORD Ms) { Log << QStringLiteral("sleep %1").arg(Ms); });
        Form = TForm1::Create(nullptr);
    }
    void TearDown() override
    {
        Form->Free();
        ProcessPendingMessages();
        SetWinExecHook(nullptr);
        SetSleepHook(nullptr);
        SetNetworkSource(nullptr);
        ShowExceptionHook = nullptr;
    }
    QStringList Fields() const
    {
        QStringList Texts;
        for (HWND Field : AddressField) {
            DWORD A = 0;
            SendMessageA(Field, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&A));
            Texts << QStringLiteral("%1.%2.%3.%4").arg(A >> 24).arg((A >> 16) & 255).arg((A >> 8) & 255).arg(A & 255);
        }
        return Texts;
    }
    void ChooseProfile(int Index) { SendMessage(Form->kivRadioGroup1->Buttons(Index)->Handle(), BM_CLICK, 0, 0); }

    TForm1 *Form = nullptr;
    QStringList Log;
};

// The build places the packed theme in the layout; reading it makes the theme usable with the
// window's own light blue look.
TEST_F(NetvaneTest, TheLayoutCarriesTheEmbeddedTheme)
{
    TkivBuiltInFileTheme *Theme = Form->kivBuiltInFileTheme1;
    ASSERT_TRUE(Theme);
    EXPECT_TRUE(Theme->CanUse());
    EXPECT_EQ(Theme->GetColor(15), TColor(0x00FAE5D8));   // FormBackgroundColor
    EXPECT_EQ(Theme->GetInt(9), 7);                        // TitleBarButtonTopInt
    EXPECT_FALSE(Theme->GetBool(2));                       // ButtonTransparentBool
    TAutoFree<TBitmap> Button(TBitmap::Create());
    Theme->GetBitmap(1, Button.get());
    EXPECT_EQ(Button->Width(), 198);
    EXPECT_EQ(Button->Height(), 25);
    Theme->GetBitmap(5, Button.get(), 18, 2);
    EXPECT_EQ(Button->Width(), 25);
}

// The pictures of the window's own title-bar buttons are the program's resources.
TEST(NetvanePictures, EveryTitleButtonStateIsAResourceOf25By25)
{
    for (const char *Button : {"ControlBox", "Close", "Max", "Min"})
        for (const char *State : {"Normal", "MouseOn", "MouseDown"}) {
            const QString Name = QStringLiteral("TitleButton%1%2").arg(QLatin1String(Button), QLatin1String(State));
            SCOPED_TRACE(Name.toStdString());
            TAutoFree<TBitmap> Picture(TBitmap::Create());
            ASSERT_NO_THROW(Picture->LoadFromResourceName(HInstance, Name));
            EXPECT_EQ(Picture->Width(), 25);
            EXPECT_EQ(Picture->Height(), 25);
        }
}

TEST_F(NetvaneTest, TheLayoutHasEveryRoleWithItsTexts)
{
    ASSERT_TRUE(Form->kivForm1 && Form->Label5 && Form->Button1 && Form->Memo1 && Form->Button2 &&
                Form->kivRadioGroup1 && Form->kivImagePanel1 && Form->kivButton1);
    EXPECT_EQ(Form->Caption(), QStringLiteral("Netvane"));
    EXPECT_EQ(Form->ClientWidth(), 765);
    EXPECT_EQ(Form->ClientHeight(), 501);
    EXPECT_EQ(Form->Button1->Caption(), QStringLiteral("Get Device"));
    EXPECT_EQ(Form->Button2->Caption(), QStringLiteral("Change IP"));
    EXPECT_EQ(Form->kivButton1->Caption(), QStringLiteral("DHCP"));
    EXPECT_EQ(Form->kivRadioGroup1->Caption(), QString::fromUtf8("設定檔"));
    EXPECT_EQ(Form->kivRadioGroup1->Items()->Text(), QStringLiteral("Home1\nHome2\n"));
    EXPECT_EQ(Form->kivRadioGroup1->ItemIndex(), -1);
    const TLabel *Labels[] = {Form->Label1, Form->Label2, Form->Label3, Form->Label4};
    const char *Captions[] = {"IP 位址：", "子網路遮罩：", "預設閘道：", "慣用DNS伺服器："};
    for (int I = 0; I < 4; ++I) {
        ASSERT_TRUE(Labels[I]);
        EXPECT_EQ(Labels[I]->Caption(), QString::fromUtf8(Captions[I]));
        EXPECT_EQ(Labels[I]->Parent(), Form->kivImagePanel1);
    }
    EXPECT_EQ(Form->Label5->BoundsRect(), Rect(16, 240, 16 + 529, 240 + 241));
    EXPECT_EQ(Form->Label5->Caption(), QString());
}

TEST_F(NetvaneTest, TheConstructorMakesFourAddressFieldsOnThePanel)
{
    for (int I = 0; I < 4; ++I) {
        ASSERT_TRUE(IsWindow(AddressField[I])) << I;
        EXPECT_EQ(GetParent(AddressField[I]), Form->kivImagePanel1->Handle());
        RECT R;
        GetWindowRect(AddressField[I], &R);
        POINT Origin{0, 0};
        ClientToScreen(Form->kivImagePanel1->Handle(), &Origin);
        EXPECT_EQ(R, (RECT{Origin.X + 120, Origin.Y + 25 + 35 * I, Origin.X + 260, Origin.Y + 45 + 35 * I})) << I;
        EXPECT_NE(SendMessageA(AddressField[I], IPM_ISBLANK, 0, 0), 0) << I;
    }
}

TEST_F(NetvaneTest, ActivationFillsTheReportAndEveryActivationRebuildsIt)
{
    Form->Show();
    Application->ProcessMessagesUntil([&] { return !Form->Label5->Caption().isEmpty(); }, 5000);
    EXPECT_EQ(Form->Label5->Caption(), NoAdapterReport);
    EXPECT_EQ(Form->Memo1->Lines()->Count(), 1);
    EXPECT_EQ(Form->Memo1->Lines()->Strings(0), QStringLiteral("GetAdaptersInfo sizing failed with error 232"));

    // Another activation: the same report, not a doubled one; the memo keeps its lines.
    Form->FormActivate(Form);
    EXPECT_EQ(Form->Label5->Caption(), NoAdapterReport);
    EXPECT_EQ(Form->Memo1->Lines()->Count(), 2);
    EXPECT_TRUE(Log.isEmpty());
}

TEST_F(NetvaneTest, ProfilesFillTheFields)
{
    ChooseProfile(0);
    EXPECT_EQ(Fields(), QStringList({"192.168.1.251", "255.255.255.0", "192.168.1.254", "8.8.8.8"}));
    EXPECT_EQ(ProfileAddress[0], 0xC0A801FBu);
    EXPECT_EQ(ProfileAddress[3], 0x08080808u);

    // Home2 differs only in the first field.
    SendMessageA(AddressField[2], IPM_SETADDRESS, 0, MAKEIPADDRESS(10, 0, 0, 138));
    ChooseProfile(1);
    EXPECT_EQ(Fields(), QStringList({"192.168.1.250", "255.255.255.0", "192.168.1.254", "8.8.8.8"}));

    // Nothing selected: the handler leaves the fields as they are.
    SendMessageA(AddressField[0], IPM_SETADDRESS, 0, MAKEIPADDRESS(10, 0, 0, 7));
    Form->kivRadioGroup1->SetItemIndex(-1);
    Form->kivRadioGroup1Click(Form->kivRadioGroup1);
    EXPECT_EQ(Fields()[0], QStringLiteral("10.0.0.7"));
    EXPECT_EQ(ProfileAddress[0], 0xC0A801FAu);
}

TEST_F(NetvaneTest, ChangeIpStartsTwoHiddenCommandsTenSecondsApart)
{
    ChooseProfile(0);
    Form->Button2->Click();
    EXPECT_EQ(Log, QStringList({
                       "exec netsh interface ip set address name =\"Broadcom\" source = static addr = 192.168.1.251 "
                       "mask = 255.255.255.0 gateway =192.168.1.254  gwmetric = 1 [0]",
                       "sleep 10000",
                       "exec netsh  interface ip set dns name=\"Broadcom\" source=static addr=8.8.8.8 [0]",
                   }));
    EXPECT_EQ(AddressText, QStringLiteral("192.168.1.251"));
    EXPECT_EQ(DnsText, QStringLiteral("8.8.8.8"));
}

TEST_F(NetvaneTest, BlankFieldsGiveZeroAddressesAndTwoPressesRunFourCommands)
{
    Form->Button2->Click();
    Form->Button2->Click();
    ASSERT_EQ(Log.size(), 6);
    EXPECT_EQ(Log[0], QStringLiteral("exec netsh interface ip set address name =\"Broadcom\" source = static addr = "
                                     "0.0.0.0 mask = 0.0.0.0 gateway =0.0.0.0  gwmetric = 1 [0]"));
    EXPECT_EQ(Log[2], QStringLiteral("exec netsh  interface ip set dns name=\"Broadcom\" source=static addr=0.0.0.0 [0]"));
    EXPECT_EQ(Log.mid(3), Log.mid(0, 3));
}

TEST_F(NetvaneTest, DhcpStartsTheTwoAutomaticCommands)
{
    Form->kivButton1->Click();
    EXPECT_EQ(Log, QStringList({
                       "exec netsh interface ip set address \"Broadcom\" dhcp [0]",
                       "sleep 10000",
                       "exec netsh interface ip set dns \"Broadcom\" dhcp [0]",
                   }));
    EXPECT_TRUE(Form->Memo1->Lines()->Count() == 0);
}

} // namespace
