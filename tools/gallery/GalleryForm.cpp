#include "tools/gallery/GalleryForm.h"

#include "framework/forms/Dialogs.h"
#include "skin/theme/Kivpublic.h"
#include "tools/gallery/GalleryPages.h"

#include <QFileDialog>
#include <QFileInfo>

#include <utility>

KIV_PUBLISHED(TGalleryForm)
{
    Field("Side", &TGalleryForm::Side);
    Field("Pages", &TGalleryForm::Pages);
    Field("Looks", &TGalleryForm::Looks);
    Field("LoadTheme", &TGalleryForm::LoadTheme);
    Field("ThemeName", &TGalleryForm::ThemeName);
    Field("Host", &TGalleryForm::Host);
    Field("FileTheme1", &TGalleryForm::FileTheme1);
    Method("PagesClick", &TGalleryForm::PagesClick);
    Method("LooksClick", &TGalleryForm::LooksClick);
    Method("LoadThemeClick", &TGalleryForm::LoadThemeClick);
}

namespace {

// The look chooser's items: the five styles in their order, then the theme file.
constexpr int ThemeFileItem = BlueGlass;

} // namespace

void TGalleryForm::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    for (const TGalleryPage &Page : GalleryPages())
        Pages->Items()->Add(Page.Title);
    Select(Looks, FStyle - 1);
    if (!GalleryPages().empty())
        ShowPage(GalleryPages().front().Name);
}

bool TGalleryForm::ShowPage(const QString &Name)
{
    const auto &List = GalleryPages();
    int Index = -1;
    for (int I = 0; I < int(List.size()); ++I)
        if (List[I].Name == Name)
            Index = I;
    if (Index < 0)
        return false;
    if (Index != FPage) {
        while (Host->ControlCount() > 0)
            Host->Controls(Host->ControlCount() - 1)->Free();
        FPage = Index;
        List[Index].Build(Host);
        Select(Pages, Index);
        ApplyLook();
    }
    return true;
}

void TGalleryForm::SetLook(TkivUIStyle Style)
{
    FStyle = Style;
    Select(Looks, Style == FromThemeFile ? ThemeFileItem : Style - 1);
    ApplyLook();
}

bool TGalleryForm::UseThemeFile(const QString &FileName)
{
    FileTheme1->SetThemeFile(FileName);
    if (!FileTheme1->CanUse())
        return false;
    ThemeName->SetCaption(QFileInfo(FileTheme1->ThemeFile()).fileName());
    SetLook(FromThemeFile);
    return true;
}

void TGalleryForm::Select(TRadioGroup *Group, int Index)
{
    // Setting the item clicks it; the handlers are for the user's choices only.
    const bool Was = std::exchange(FSelecting, true);
    Group->SetItemIndex(Index);
    FSelecting = Was;
}

void TGalleryForm::TakeScreenshot(const std::function<void()> &Shoot)
{
    if (FPage >= 0 && GalleryPages()[FPage].Scene)
        GalleryPages()[FPage].Scene(Shoot);
    else
        Shoot();
}

void TGalleryForm::ApplyLook()
{
    // Every page's controls take the look through the same path as a form's: style, then theme.
    ContainerApplyUIStyle(Host, FStyle, FStyle == FromThemeFile ? FileTheme1 : nullptr);
}

void TGalleryForm::PagesClick(TObject *)
{
    if (FSelecting)
        return;
    const int Index = Pages->ItemIndex();
    if (Index >= 0 && Index < int(GalleryPages().size()))
        ShowPage(GalleryPages()[Index].Name);
}

void TGalleryForm::LooksClick(TObject *)
{
    if (FSelecting)
        return;
    const int Index = Looks->ItemIndex();
    if (Index == ThemeFileItem && !FileTheme1->CanUse()) {
        // No theme file yet: ask for one; without it the look stays.
        LoadThemeClick(this);
        if (!FileTheme1->CanUse())
            Select(Looks, FStyle - 1);
        return;
    }
    if (Index >= 0)
        SetLook(Index == ThemeFileItem ? FromThemeFile : TkivUIStyle(Index + 1));
}

void TGalleryForm::LoadThemeClick(TObject *)
{
    const QString FileName = QFileDialog::getOpenFileName(nullptr, QStringLiteral("Load theme"), QString(),
                                                          QStringLiteral("Kivrona themes (*.kiv);;All files (*)"));
    if (FileName.isEmpty())
        return;
    try {
        if (!UseThemeFile(FileName))
            MessageDlg(QStringLiteral("Cannot open %1.").arg(FileName), mtError, {mbOK}, 0);
    } catch (const Exception &E) {
        Application->ShowException(E);
    }
}
