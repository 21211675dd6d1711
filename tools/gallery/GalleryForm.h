#pragma once
// The gallery's window: the page list and the look chooser on the left, the page on the right. A look
// is one of the five styles or a theme file; choosing one restyles the page at once.

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/forms/Forms.h"
#include "skin/theme/Kivmgr.h"

#include <functional>

class TGalleryForm : public TForm
{
    KIV_OBJECT(TGalleryForm, TForm)
public:
    void Construct(TComponent *AOwner) override;

    TPanel *Side = nullptr;
    TRadioGroup *Pages = nullptr;
    TRadioGroup *Looks = nullptr;
    TButton *LoadTheme = nullptr;
    TLabel *ThemeName = nullptr;
    TPanel *Host = nullptr;
    TkivFileTheme *FileTheme1 = nullptr;

    void PagesClick(TObject *Sender);
    void LooksClick(TObject *Sender);
    void LoadThemeClick(TObject *Sender);

    // By --page name; false when there is none of that name.
    bool ShowPage(const QString &Name);
    void SetLook(TkivUIStyle Style);
    // False when there is no such file; raises the library's error for a file that is not a theme. Either
    // way the look stays as it was.
    bool UseThemeFile(const QString &FileName);
    // Calls Shoot with the current page's scene set (what it shows open, open).
    void TakeScreenshot(const std::function<void()> &Shoot);

private:
    void ApplyLook();
    void Select(TRadioGroup *Group, int Index);

    int FPage = -1;
    TkivUIStyle FStyle = DeepBlue;
    bool FSelecting = false;
};
