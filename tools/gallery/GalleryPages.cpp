#include "tools/gallery/GalleryPages.h"

#include "skin/theme/Kivthemes.h"

#include <algorithm>
#include <cstdio>

namespace {

std::vector<TGalleryPage> &Pages()
{
    static std::vector<TGalleryPage> List;
    return List;
}

} // namespace

const std::vector<TGalleryPage> &GalleryPages() { return Pages(); }

TGalleryPageRegistration::TGalleryPageRegistration(TGalleryPage Page)
{
    auto &List = Pages();
    auto At = std::lower_bound(List.begin(), List.end(), Page.Name,
                               [](const TGalleryPage &P, const QString &Name) { return P.Name < Name; });
    List.insert(At, std::move(Page));
}

void ReportClicked(const QString &Caption)
{
    // "&" marks the accelerator and "&&" stands for an ampersand.
    QString Text;
    for (qsizetype I = 0; I < Caption.size(); ++I) {
        if (Caption[I] == QLatin1Char('&') && ++I >= Caption.size())
            break;
        Text += Caption[I];
    }
    std::printf("clicked: %s\n", Text.toUtf8().constData());
    std::fflush(stdout);
}

KIV_PUBLISHED(TGallerySheet)
{
    Property("UIStyle", &TGallerySheet::UIStyle, &TGallerySheet::SetUIStyle).Default(DeepBlue);
    Property("FileTheme", &TGallerySheet::FileTheme, &TGallerySheet::SetFileTheme);
}

void TGallerySheet::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    SetColor(clWindow);
    FUIStyle = GetKIVFormStyle(AOwner);
}

void TGallerySheet::SetUIStyle(TkivUIStyle Value)
{
    FUIStyle = Value;
    LookChanged();
    Invalidate();
}

void TGallerySheet::SetFileTheme(TkivFileTheme *Value)
{
    if (FFileTheme == Value)
        return;
    if (FFileTheme)
        FFileTheme->RemoveFreeNotification(this);
    FFileTheme = Value;
    if (FFileTheme)
        FFileTheme->FreeNotification(this);
    SetUIStyle(FUIStyle);
}

void TGallerySheet::Notification(TComponent *AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFileTheme) {
        FFileTheme = nullptr;
        SetUIStyle(DeepBlue);
    }
}
