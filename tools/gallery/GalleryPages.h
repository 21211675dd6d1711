#pragma once
// The gallery's pages: each builds its controls on the host panel, and may set the scene for a picture
// (open a menu, press a button) while --screenshot takes it.

#include "framework/controls/Controls.h"
#include "skin/theme/Kivmgr.h"

#include <QString>

#include <functional>
#include <vector>

class TWinControl;

struct TGalleryPage
{
    QString Name;     // the --page name
    QString Title;    // shown in the page list
    std::function<void(TWinControl *Host)> Build;
    // Sets the scene, calls Shoot while it stands (a menu's loop is modal, so the picture is taken inside
    // it), then clears it. Without one the page is pictured as it is.
    std::function<void(const std::function<void()> &Shoot)> Scene;
};

// Every page linked into the program, in the order of their names.
const std::vector<TGalleryPage> &GalleryPages();

// Adds a page; used by a static TGalleryPageRegistration in the page's own file.
struct TGalleryPageRegistration
{
    explicit TGalleryPageRegistration(TGalleryPage Page);
};

// The one line a test or a script reads when something in a page is used: "clicked: <caption>".
void ReportClicked(const QString &Caption);

// A page's own control, placed on the host: it takes the gallery's look as every skinned control does (the
// UIStyle and FileTheme properties the look chooser sets) and hands it on in LookChanged.
class TGallerySheet : public TCustomControl
{
    KIV_OBJECT(TGallerySheet, TCustomControl)
public:
    void Construct(TComponent *AOwner) override;

    TkivUIStyle UIStyle() const { return FUIStyle; }
    void SetUIStyle(TkivUIStyle Value);
    TkivFileTheme *FileTheme() const { return FFileTheme; }
    void SetFileTheme(TkivFileTheme *Value);

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;
    // The look changed; the sheet repaints after it.
    virtual void LookChanged() {}

private:
    TkivUIStyle FUIStyle = DeepBlue;
    TkivFileTheme *FFileTheme = nullptr;
};
