// Pushing style and theme to components: the theme manager, ContainerApplyUIStyle, and a fresh load
// refreshing the form's skin components.

#include "framework/controls/ExtCtrls.h"
#include "framework/core/Reader.h"
#include "framework/forms/Forms.h"
#include "skin/theme/Kivpublic.h"
#include "tests/unit/QtPrinters.h"
#include "tests/unit/filetheme/FileThemeFixture.h"

#include <gtest/gtest.h>

using namespace FileThemeTest;

// A skinned frame as the frame unit makes it, known to the theme by its class name.
namespace ThemeManagerStandIns {

class TkivForm : public TkivStandIn
{
    KIV_OBJECT(TkivForm, TkivStandIn)
};
KIV_PUBLISHED(TkivForm) {}

} // namespace ThemeManagerStandIns

namespace {

class OnAForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form.reset(TForm::CreateNew(nullptr));
        Log().clear();
    }

    template <class T>
    T *Add(const QString &Name, TWinControl *Parent = nullptr)
    {
        T *C = T::Create(Form.get());
        C->SetName(Name);
        C->SetParent(Parent ? Parent : Form.get());
        return C;
    }

    TkivFileTheme *Theme(const QString &Name)
    {
        auto *T = TkivFileTheme::Create(Form.get());
        T->SetName(Name);
        return T;
    }

    TScopedDirs Dirs;
    TAutoFree<TForm> Form;
};

TEST_F(OnAForm, ManagerPushesStyleThenThemeToListedComponents)
{
    auto *A = Add<TkivStandIn>("A");
    auto *B = Add<TkivStandIn>("B");
    auto *C = Add<TkivStandIn>("C");
    TkivFileTheme *T = Theme("Theme1");
    auto *Mgr = TkivThemeManager::Create(Form.get());
    int Changes = 0;
    Mgr->OnUIStyleChanged = [&](TObject *Sender) {
        EXPECT_EQ(Sender, Mgr);
        ++Changes;
    };
    Mgr->CompList()->SetCommaText("B,Nobody,A");
    Log().clear();

    Mgr->SetUIStyle(WinXP);
    EXPECT_EQ(Log(), QStringList({"B.UIStyle=2", "B.FileTheme", "B.UIStyle=2", "A.UIStyle=2", "A.FileTheme",
                                  "A.UIStyle=2"}));
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(C->UIStyle(), DeepBlue);
    EXPECT_EQ(Mgr->CompList()->CommaText(), "B,Nobody,A");   // names that find nothing stay

    Mgr->SetUIStyle(WinXP);
    EXPECT_EQ(Changes, 1) << "the same style again raises no event";

    Mgr->SetFileTheme(T);
    EXPECT_EQ(A->FileTheme(), T);
    EXPECT_EQ(B->FileTheme(), T);
    EXPECT_EQ(Changes, 1);
}

// In a layout the theme reference is resolved after everything is read, and that push reaches the
// components listed, whichever order they were read in.
TEST_F(OnAForm, ManagerFromALayout)
{
    ReadComponentFromText("object Form1: TForm\n"
                          "  object kivThemeManager1: TkivThemeManager\n"
                          "    UIStyle = FromThemeFile\n"
                          "    FileTheme = kivFileTheme1\n"
                          "    CompList.Strings = (\n"
                          "      'A')\n"
                          "  end\n"
                          "  object kivFileTheme1: TkivFileTheme\n"
                          "  end\n"
                          "  object A: TkivStandIn\n"
                          "  end\n"
                          "end\n",
                          Form.get());
    auto *Mgr = dynamic_cast<TkivThemeManager *>(Form->FindComponent("kivThemeManager1"));
    auto *A = dynamic_cast<TkivStandIn *>(Form->FindComponent("A"));
    ASSERT_TRUE(Mgr && A);
    EXPECT_EQ(Mgr->CompList()->CommaText(), "A");
    EXPECT_EQ(A->UIStyle(), FromThemeFile);
    EXPECT_EQ(A->FileTheme(), Form->FindComponent("kivFileTheme1"));
}

TEST_F(OnAForm, RemovalDropsNamesAndTheThemeWithoutUpdating)
{
    auto *A = Add<TkivStandIn>("A");
    auto *B = Add<TkivStandIn>("B");
    TkivFileTheme *T = Theme("Theme1");
    auto *Mgr = TkivThemeManager::Create(Form.get());
    Mgr->CompList()->SetCommaText("A,B");
    Mgr->SetUIStyle(MacOS);
    Mgr->SetFileTheme(T);
    int Changes = 0;
    Mgr->OnUIStyleChanged = [&](TObject *) { ++Changes; };

    B->Free();
    EXPECT_EQ(Mgr->CompList()->CommaText(), "A");

    Log().clear();
    T->Free();
    EXPECT_EQ(Mgr->FileTheme(), nullptr);
    EXPECT_EQ(Mgr->UIStyle(), DeepBlue);
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(Log(), QStringList()) << "no UpdateAll";
    EXPECT_EQ(A->UIStyle(), MacOS);
}

TEST_F(OnAForm, ManagerSkipsComponentsWithoutTheProperties)
{
    auto *P = Add<TPanel>("Plain");
    auto *Mgr = TkivThemeManager::Create(Form.get());
    Mgr->CompList()->SetCommaText("Plain");
    EXPECT_NO_THROW(Mgr->SetUIStyle(Protein));
    EXPECT_EQ(P->Name(), "Plain");
}

TEST(ThemeManagerOwner, OutsideAFormUpdatesNothing)
{
    TAutoFree<TComponent> Holder(TComponent::Create(nullptr));
    Log().clear();
    auto *A = TkivStandIn::Create(Holder.get());
    A->SetName("A");
    auto *Mgr = TkivThemeManager::Create(Holder.get());
    Mgr->CompList()->Add("A");
    Mgr->SetUIStyle(WinXP);
    EXPECT_EQ(A->UIStyle(), DeepBlue);
}

TEST_F(OnAForm, ContainerPassesThemeThenStyleToItsDirectChildren)
{
    auto *Panel = Add<TPanel>("Panel1");
    Add<TkivStandIn>("A", Panel);
    Add<TPanel>("Plain", Panel);
    auto *Other = Add<TOtherStandIn>("O", Panel);
    Add<TkivStandIn>("B", Panel);
    auto *Grandchild = Add<TkivStandIn>("Deep", Add<TPanel>("Inner", Panel));
    TkivFileTheme *T = Theme("Theme1");
    Log().clear();

    ContainerApplyUIStyle(Panel, BlueGlass, T);
    // Child order: graphic controls before windowed ones (the framework's Controls order). A stand-in's
    // own FileTheme setter re-applies its old style before the new one arrives.
    EXPECT_EQ(Log(), QStringList({"A.FileTheme", "A.UIStyle=3", "A.UIStyle=5", "O.FileTheme", "B.FileTheme",
                                  "B.UIStyle=3", "B.UIStyle=5"}));
    EXPECT_EQ(Other->UIStyle(), BlueGlass);
    EXPECT_EQ(Other->FileTheme(), T);
    EXPECT_EQ(Grandchild->FileTheme(), nullptr) << "only direct children";
    EXPECT_NO_THROW(ContainerApplyUIStyle(nullptr, WinXP, T));
}

// A fresh load hands the theme again to the form's skin components that use it, so they refresh.
TEST_F(OnAForm, LoadRefreshesTheFormsSkinComponentsUsingTheTheme)
{
    TkivFileTheme *T = Theme("Theme1");
    TkivFileTheme *Elsewhere = Theme("Theme2");
    Add<TkivStandIn>("A")->SetFileTheme(T);
    Add<TkivStandIn>("B")->SetFileTheme(Elsewhere);
    Add<TOtherStandIn>("O")->SetFileTheme(T);
    Add<TkivStandIn>("C");
    Log().clear();

    T->SetThemeFile(MakeTheme(Dirs.Temp() + "a.kiv", {}));
    EXPECT_EQ(Log(), QStringList({"A.FileTheme", "A.UIStyle=3"}));

    // A failed load refreshes nobody.
    Log().clear();
    T->SetThemeFile("nowhere.kiv");
    EXPECT_EQ(Log(), QStringList());
}

// A frame on the form that uses the theme has its frame recomputed when the theme is reloaded, not when it
// is first loaded (the frame reads the theme itself then).
TEST_F(OnAForm, AReloadRecomputesTheFrameOfAFormWhoseFrameUsesTheTheme)
{
    TkivFileTheme *T = Theme("Theme1");
    Add<ThemeManagerStandIns::TkivForm>("kivForm1")->SetFileTheme(T);
    int FrameChanges = 0;
    const TWndMethod OldProc = Form->WindowProc;
    Form->WindowProc = [&](TMessage &M) {
        FrameChanges += M.Msg == WM_NCCALCSIZE;
        OldProc(M);
    };
    Form->HandleNeeded();
    FrameChanges = 0;

    T->SetThemeFile(MakeTheme(Dirs.Temp() + "a.kiv", {}));
    EXPECT_EQ(FrameChanges, 0) << "first load";
    T->SetThemeFile(MakeTheme(Dirs.Temp() + "b.kiv", {}));
    EXPECT_EQ(FrameChanges, 1) << "reload";
    Form->WindowProc = OldProc;
}

} // namespace
