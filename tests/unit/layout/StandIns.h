#pragma once
// Stand-ins for the classes of the main window layout (the form, the skin's theme, window frame and
// controls) with just enough behaviour for streaming: published properties, a parent hook, and a
// log of what happened while loading. The real classes come with the controls and the skin.

#include "framework/core/Classes.h"
#include "framework/core/TypInfo.h"

#include <QStringList>

namespace LayoutStandIns {

// What the stand-ins saw: "Loaded Button1", "FileTheme Button1 (loading)" ...
QStringList &Log();

// Makes the stand-ins the registered classes of their names.
void RegisterStandIns();

KIV_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
KIV_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = TSet<TBorderIcon>;
KIV_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle>;
KIV_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom)
KIV_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)
KIV_ENUM(TUIStyle, DeepBlue, Silver, Bronze, Emerald, Graphite, FromThemeFile)
KIV_ENUM(TTitleBarButtonType, kivControlBox, kivClose, kivMax, kivMin)
KIV_ENUM(TSectionAlign, kivLeft, kivRight, kivClient)
KIV_ENUM(TImageDrawStyle, kivNormal, kivStretch, kivTile, kivCenter)
KIV_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
KIV_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
KIV_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)

extern const TIdentMap ColorIdents;
extern const TIdentMap CharsetIdents;
constexpr int clBtnFace = -16777201;   // system colour 15
constexpr int clWindowText = -16777208;

class TFont : public TPersistent
{
    KIV_OBJECT(TFont, TPersistent)
public:
    int Charset() const { return FCharset; }
    void SetCharset(int Value) { FCharset = Value; }
    int Color() const { return FColor; }
    void SetColor(int Value) { FColor = Value; }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    QString Name() const { return FName; }
    void SetName(const QString &Value) { FName = Value; }
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value) { FStyle = Value; }

private:
    int FCharset = 1;
    int FColor = clWindowText;
    int FHeight = -11;
    QString FName = QStringLiteral("MS Sans Serif");
    TFontStyles FStyle;
};

class TSizeConstraints : public TPersistent
{
    KIV_OBJECT(TSizeConstraints, TPersistent)
public:
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int Value) { FMinHeight = Value; }
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int Value) { FMinWidth = Value; }

private:
    int FMinHeight = 0;
    int FMinWidth = 0;
};

// A picture kept as the bytes of its "Data" property (graphic class name and the graphic's data).
class TPicture : public TPersistent
{
    KIV_OBJECT(TPicture, TPersistent)
public:
    QByteArray Data() const { return FData; }
    void SetData(const QByteArray &Value) { FData = Value; }
    void DefineProperties(TFiler *Filer) override;

private:
    QByteArray FData;
};

class TkivBuiltInFileTheme : public TComponent
{
    KIV_OBJECT(TkivBuiltInFileTheme, TComponent)
public:
    QString ThemeFile() const { return FThemeFile; }
    void SetThemeFile(const QString &Value) { FThemeFile = Value; }
    QByteArray SkinData() const { return FSkinData; }
    void SetSkinData(const QByteArray &Value) { FSkinData = Value; }
    void DefineProperties(TFiler *Filer) override;
    void Loaded() override;

private:
    QString FThemeFile;
    QByteArray FSkinData;
};

// The parent hook every stand-in control shares, and the properties several of them publish.
class TStandInControl : public TComponent
{
    KIV_OBJECT(TStandInControl, TComponent)
public:
    void BeforeDestruction() override;
    bool HasParent() const override { return true; }
    TComponent *GetParentComponent() const override { return FParent; }
    void SetParentComponent(TComponent *Value) override;
    void GetChildren(TGetChildProc Proc, TComponent *Root) override;
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void Loaded() override;
    QList<TStandInControl *> Controls() const { return FControls; }

    int Left() const { return FLeft; }
    void SetLeft(int Value) { FLeft = Value; }
    int Top() const { return FTop; }
    void SetTop(int Value) { FTop = Value; }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    QString Caption() const { return FCaption; }
    void SetCaption(const QString &Value) { FCaption = Value; }
    bool IsCaptionStored() const { return true; }
    int Color() const { return FColor; }
    void SetColor(int Value) { FColor = Value; }
    bool IsColorStored() const { return !FParentColor; }
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value) { FParentColor = Value; }
    bool ParentFont() const { return FParentFont; }
    bool ParentFontIsOff() const { return !FParentFont; }
    void SetParentFont(bool Value) { FParentFont = Value; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value) { FAutoSize = Value; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { FTransparent = Value; }
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int Value) { FTabOrder = Value; }
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value) { FTabStop = Value; }
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value) { FAlign = Value; }
    int BorderColor() const { return FBorderColor; }
    void SetBorderColor(int Value) { FBorderColor = Value; }
    TUIStyle UIStyle() const { return FUIStyle; }
    void SetUIStyle(TUIStyle Value) { FUIStyle = Value; }
    TkivBuiltInFileTheme *FileTheme() const { return FFileTheme; }
    void SetFileTheme(TkivBuiltInFileTheme *Value);

    TNotifyEvent OnClick;

protected:
    TStandInControl *FParent = nullptr;
    QList<TStandInControl *> FControls;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    QString FCaption;
    int FColor = clBtnFace;
    bool FParentColor = true;
    bool FParentFont = true;
    bool FAutoSize = true;
    bool FTransparent = false;
    int FTabOrder = -1;
    bool FTabStop = false;
    TAlign FAlign = alNone;
    int FBorderColor = 0;
    TUIStyle FUIStyle = DeepBlue;
    TkivBuiltInFileTheme *FFileTheme = nullptr;
};

class TForm : public TStandInControl
{
    KIV_OBJECT(TForm, TStandInControl)
public:
    void Construct(TComponent *AOwner) override;
    bool HasParent() const override { return false; }
    void GetChildren(TGetChildProc Proc, TComponent *Root) override;
    void DefineProperties(TFiler *Filer) override;

    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value) { FBorderIcons = Value; }
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value) { FBorderStyle = Value; }
    TSizeConstraints *Constraints() const { return FConstraints.get(); }
    TFont *Font() const { return FFont.get(); }
    bool OldCreateOrder() const { return FOldCreateOrder; }
    void SetOldCreateOrder(bool Value) { FOldCreateOrder = Value; }
    bool Scaled() const { return FScaled; }
    void SetScaled(bool Value) { FScaled = Value; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }
    int TextHeight() const { return FTextHeight; }
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value) { FFormStyle = Value; }

    TNotifyEvent OnActivate;
    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnHide;
    TMouseEvent OnMouseDown;
    TNotifyEvent OnShow;

private:
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormBorderStyle FBorderStyle = bsSizeable;
    TAutoFree<TSizeConstraints> FConstraints;
    TAutoFree<TFont> FFont;
    bool FOldCreateOrder = false;
    bool FScaled = true;
    int FPixelsPerInch = 96;
    int FTextHeight = 0;
    TFormStyle FFormStyle = fsNormal;
};

class TLabel : public TStandInControl
{
    KIV_OBJECT(TLabel, TStandInControl)
public:
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value) { FWordWrap = Value; }

private:
    TAlignment FAlignment = taLeftJustify;
    bool FWordWrap = false;
};

class TTimer : public TComponent
{
    KIV_OBJECT(TTimer, TComponent)
public:
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    int Interval() const { return FInterval; }
    void SetInterval(int Value) { FInterval = Value; }
    TNotifyEvent OnTimer;

private:
    bool FEnabled = true;
    int FInterval = 1000;
};

class TkivButton : public TStandInControl
{
    KIV_OBJECT(TkivButton, TStandInControl)
public:
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }
    int FocusedRectMargin() const { return FFocusedRectMargin; }
    void SetFocusedRectMargin(int Value) { FFocusedRectMargin = Value; }
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value) { FLayout = Value; }
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value) { FSpacing = Value; }
    int MouseContinuouslyDownInterval() const { return FInterval; }
    void SetMouseContinuouslyDownInterval(int Value) { FInterval = Value; }
    int ResHandle() const { return FResHandle; }
    void SetResHandle(int Value) { FResHandle = Value; }

private:
    int FModalResult = 0;
    int FFocusedRectMargin = 0;
    TButtonLayout FLayout = blGlyphLeft;
    int FSpacing = 0;
    int FInterval = 0;
    int FResHandle = 0;
};

class TkivMemo : public TStandInControl
{
    KIV_OBJECT(TkivMemo, TStandInControl)
public:
    void Construct(TComponent *AOwner) override;
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value) { FScrollBars = Value; }
    TStrings *Lines() const { return FLines.get(); }

private:
    TScrollStyle FScrollBars = ssNone;
    TAutoFree<TStringList> FLines;
};

class TkivRadioGroup : public TStandInControl
{
    KIV_OBJECT(TkivRadioGroup, TStandInControl)
public:
    void Construct(TComponent *AOwner) override;
    TStrings *Items() const { return FItems.get(); }
    int Columns() const { return FColumns; }
    void SetColumns(int Value) { FColumns = Value; }
    int TopMargin() const { return FTopMargin; }
    void SetTopMargin(int Value) { FTopMargin = Value; }
    int FontColor() const { return FFontColor; }
    void SetFontColor(int Value) { FFontColor = Value; }
    TFont *Font() const { return FFont.get(); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);

private:
    TAutoFree<TStringList> FItems;
    int FColumns = 1;
    int FTopMargin = 0;
    int FFontColor = 0;
    TAutoFree<TFont> FFont;
    int FItemIndex = -1;
};

class TkivImagePanel : public TStandInControl
{
    KIV_OBJECT(TkivImagePanel, TStandInControl)
public:
    TImageDrawStyle DrawStyle() const { return FDrawStyle; }
    void SetDrawStyle(TImageDrawStyle Value) { FDrawStyle = Value; }

private:
    TImageDrawStyle FDrawStyle = kivStretch;
};

class TkivTitleBarButton : public TCollectionItem
{
    KIV_OBJECT(TkivTitleBarButton, TCollectionItem)
public:
    void Construct(TCollection *ACollection) override;
    TUIStyle UIStyle() const { return FUIStyle; }
    void SetUIStyle(TUIStyle Value) { FUIStyle = Value; }
    TTitleBarButtonType ButtonType() const { return FButtonType; }
    void SetButtonType(TTitleBarButtonType Value) { FButtonType = Value; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { FTransparent = Value; }
    int Top() const { return FTop; }
    void SetTop(int Value) { FTop = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    TPicture *PicNormal() const { return FPicNormal.get(); }
    TPicture *PicMouseOn() const { return FPicMouseOn.get(); }
    TPicture *PicMouseDown() const { return FPicMouseDown.get(); }

private:
    TUIStyle FUIStyle = DeepBlue;
    TTitleBarButtonType FButtonType = kivControlBox;
    bool FTransparent = true;
    int FTop = 0;
    bool FVisible = true;
    TAutoFree<TPicture> FPicNormal, FPicMouseOn, FPicMouseDown;
};

class TkivTitleBarSection : public TCollectionItem
{
    KIV_OBJECT(TkivTitleBarSection, TCollectionItem)
public:
    void Construct(TCollection *ACollection) override;
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value) { FAutoSize = Value; }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    TSectionAlign Align() const { return FAlign; }
    void SetAlign(TSectionAlign Value) { FAlign = Value; }
    TPicture *Picture() const { return FPicture.get(); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value) { FStretch = Value; }

private:
    bool FAutoSize = false;
    int FWidth = 0;
    TSectionAlign FAlign = kivLeft;
    TAutoFree<TPicture> FPicture;
    bool FStretch = false;
};

// The frame's title bar: owned by the frame (not by the root), so it is never streamed; its Font
// is published as the frame's Font.
class TkivTitleBar : public TStandInControl
{
    KIV_OBJECT(TkivTitleBar, TStandInControl)
public:
    void Construct(TComponent *AOwner) override;
    TFont *Font() const { return FFont.get(); }

private:
    TAutoFree<TFont> FFont;
};

class TkivForm : public TStandInControl
{
    KIV_OBJECT(TkivForm, TStandInControl)
public:
    void Construct(TComponent *AOwner) override;
    bool TitleBarCustom() const { return FTitleBarCustom; }
    void SetTitleBarCustom(bool Value) { FTitleBarCustom = Value; }
    bool UIStyleAutoUpdateSub() const { return FUIStyleAutoUpdateSub; }
    void SetUIStyleAutoUpdateSub(bool Value) { FUIStyleAutoUpdateSub = Value; }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { FBorderWidth = Value; }
    TCollection *TitleBarButtons() const { return FTitleBarButtons.get(); }
    TCollection *TitleBarSections() const { return FTitleBarSections.get(); }
    bool TitleBarDrawAppIcon() const { return FTitleBarDrawAppIcon; }
    void SetTitleBarDrawAppIcon(bool Value) { FTitleBarDrawAppIcon = Value; }
    TFont *Font() const { return FTitleBar->Font(); }
    TkivTitleBar *TitleBar() const { return FTitleBar; }
    int MenuBarColor() const { return FMenuBarColor; }
    void SetMenuBarColor(int Value) { FMenuBarColor = Value; }
    int MenuBarHeight() const { return FMenuBarHeight; }
    void SetMenuBarHeight(int Value) { FMenuBarHeight = Value; }
    int RoundCorner() const { return FRoundCorner; }
    void SetRoundCorner(int Value) { FRoundCorner = Value; }
    int RoundCornerBottom() const { return FRoundCornerBottom; }
    void SetRoundCornerBottom(int Value) { FRoundCornerBottom = Value; }
    QString Version() const { return FVersion; }
    void SetVersion(const QString &Value) { FVersion = Value; }

private:
    bool FTitleBarCustom = true;
    bool FUIStyleAutoUpdateSub = false;
    int FBorderWidth = 0;
    TAutoFree<TOwnedCollection> FTitleBarButtons;
    TAutoFree<TOwnedCollection> FTitleBarSections;
    bool FTitleBarDrawAppIcon = true;
    TkivTitleBar *FTitleBar = nullptr;
    int FMenuBarColor = 0;
    int FMenuBarHeight = 0;
    int FRoundCorner = 0;
    int FRoundCornerBottom = 0;
    QString FVersion;
};

// The main window's form class: its published fields and handlers.
class TForm1 : public TForm
{
    KIV_OBJECT(TForm1, TForm)
public:
    TkivBuiltInFileTheme *kivBuiltInFileTheme1 = nullptr;
    TkivForm *kivForm1 = nullptr;
    TLabel *Label5 = nullptr;
    TkivButton *Button1 = nullptr;
    TkivMemo *Memo1 = nullptr;
    TkivButton *Button2 = nullptr;
    TkivRadioGroup *kivRadioGroup1 = nullptr;
    TkivImagePanel *kivImagePanel1 = nullptr;
    TLabel *Label1 = nullptr;
    TLabel *Label2 = nullptr;
    TLabel *Label3 = nullptr;
    TLabel *Label4 = nullptr;
    TkivButton *kivButton1 = nullptr;

    void FormActivate(TObject *Sender);
    void kivtempButton1Click(TObject *Sender);
    void Button2Click(TObject *Sender);
    void kivRadioGroup1Click(TObject *Sender);
    void kivButton1Click(TObject *Sender);
};

// The notification window's form class.
class TfrmMSNPopForm : public TForm
{
    KIV_OBJECT(TfrmMSNPopForm, TForm)
public:
    TLabel *lbl_title = nullptr;
    TLabel *lbl_text = nullptr;
    TTimer *Timer1 = nullptr;

    void FormCreate(TObject *Sender);
    void FormDestroy(TObject *Sender);
    void FormShow(TObject *Sender);
    void FormHide(TObject *Sender);
    void FormClick(TObject *Sender);
    void FormMouseDown(TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Timer1Timer(TObject *Sender);
};

} // namespace LayoutStandIns
