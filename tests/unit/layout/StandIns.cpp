#include "tests/unit/layout/StandIns.h"
#include "framework/core/Reader.h"
#include "framework/core/Streams.h"
#include "framework/core/Writer.h"

namespace LayoutStandIns {

QStringList &Log()
{
    static QStringList Entries;
    return Entries;
}

namespace {
QString LoadingTag(const TComponent *C)
{
    return C->ComponentState().Contains(csLoading) ? QStringLiteral(" (loading)") : QString();
}
} // namespace

const TIdentMap ColorIdents = {
    {0, QStringLiteral("clBlack")},
    {0x800000, QStringLiteral("clNavy")},
    {clBtnFace, QStringLiteral("clBtnFace")},
    {clWindowText, QStringLiteral("clWindowText")},
};
const TIdentMap CharsetIdents = {
    {0, QStringLiteral("ANSI_CHARSET")},
    {1, QStringLiteral("DEFAULT_CHARSET")},
};

void RegisterStandIns()
{
    for (TClass C : {TForm1::StaticClass(), TkivBuiltInFileTheme::StaticClass(), TkivForm::StaticClass(),
                     TLabel::StaticClass(), TkivButton::StaticClass(), TkivMemo::StaticClass(),
                     TkivRadioGroup::StaticClass(), TkivImagePanel::StaticClass(), TTimer::StaticClass(),
                     TfrmMSNPopForm::StaticClass()}) {
        if (TClass Other = GetClass(C->Name()); Other && Other != C)
            UnRegisterClass(Other);
        RegisterClass(C);
    }
}

// ---- sub-objects ------------------------------------------------------------------------------

KIV_PUBLISHED(TFont)
{
    Property("Charset", &TFont::Charset, &TFont::SetCharset).Idents(&CharsetIdents);
    Property("Color", &TFont::Color, &TFont::SetColor).Idents(&ColorIdents);
    Property("Height", &TFont::Height, &TFont::SetHeight);
    Property("Name", &TFont::Name, &TFont::SetName);
    Property("Style", &TFont::Style, &TFont::SetStyle);
}

KIV_PUBLISHED(TSizeConstraints)
{
    Property("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight).Default(0);
    Property("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth).Default(0);
}

void TPicture::DefineProperties(TFiler *Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        QStringLiteral("Data"),
        [this](TStream *S) {
            FData.resize(S->Size());
            S->ReadBuffer(FData.data(), FData.size());
        },
        [this](TStream *S) { S->WriteBuffer(FData); }, !FData.isEmpty());
}

KIV_PUBLISHED(TPicture) {}

// ---- the theme ---------------------------------------------------------------------------------

void TkivBuiltInFileTheme::DefineProperties(TFiler *Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        QStringLiteral("SkinData"),
        [this](TStream *S) {
            TAutoFree<TMemoryStream> M(TMemoryStream::Create());
            M->LoadFromStream(S);
            FSkinData = M->Bytes();
        },
        [this](TStream *S) { S->WriteBuffer(FSkinData); }, !FSkinData.isEmpty());
}

void TkivBuiltInFileTheme::Loaded()
{
    inherited::Loaded();
    Log().append(QStringLiteral("Loaded ") + Name());
}

KIV_PUBLISHED(TkivBuiltInFileTheme)
{
    Property("ThemeFile", &TkivBuiltInFileTheme::ThemeFile, &TkivBuiltInFileTheme::SetThemeFile);
}

// ---- controls ----------------------------------------------------------------------------------

void TStandInControl::BeforeDestruction()
{
    if (FParent)
        FParent->FControls.removeOne(this);
    for (TStandInControl *C : std::as_const(FControls))
        C->FParent = nullptr;
    FControls.clear();
    inherited::BeforeDestruction();
}

void TStandInControl::SetParentComponent(TComponent *Value)
{
    if (FParent)
        FParent->FControls.removeOne(this);
    FParent = dynamic_cast<TStandInControl *>(Value);
    if (FParent)
        FParent->FControls.append(this);
}

void TStandInControl::GetChildren(TGetChildProc Proc, TComponent *Root)
{
    for (TStandInControl *C : std::as_const(FControls))
        if (C->Owner() == Root)
            Proc(C);
}

void TStandInControl::Notification(TComponent *AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFileTheme)
        FFileTheme = nullptr;
}

void TStandInControl::Loaded()
{
    inherited::Loaded();
    Log().append(QStringLiteral("Loaded ") + Name());
}

void TStandInControl::SetFileTheme(TkivBuiltInFileTheme *Value)
{
    FFileTheme = Value;
    if (Value)
        Value->FreeNotification(this);
    Log().append(QStringLiteral("FileTheme ") + Name() + LoadingTag(this));
}

KIV_PUBLISHED(TStandInControl) {}

void TForm::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FConstraints.reset(TSizeConstraints::Create());
    FFont.reset(TFont::Create());
}

// A root streams its non-visual components first, then its controls.
void TForm::GetChildren(TGetChildProc Proc, TComponent *Root)
{
    for (int I = 0; I < ComponentCount(); ++I)
        if (!Components(I)->HasParent())
            Proc(Components(I));
    inherited::GetChildren(Proc, Root);
}

void TForm::DefineProperties(TFiler *Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineProperty(
        QStringLiteral("TextHeight"), [this](TReader *R) { FTextHeight = int(R->ReadInteger()); },
        [this](TWriter *W) { W->WriteInteger(FTextHeight); }, FTextHeight != 0);
}

KIV_PUBLISHED(TForm)
{
    Property("Left", &TForm::Left, &TForm::SetLeft);
    Property("Top", &TForm::Top, &TForm::SetTop);
    Property("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons)
        .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
    Property("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle).Default(bsSizeable);
    Property("Caption", &TForm::Caption, &TForm::SetCaption);
    Property("ClientHeight", &TForm::Height, &TForm::SetHeight);
    Property("ClientWidth", &TForm::Width, &TForm::SetWidth);
    Property("Color", &TForm::Color, &TForm::SetColor).Idents(&ColorIdents);
    Property("Constraints", &TForm::Constraints);
    Property("Font", &TForm::Font);
    Property("FormStyle", &TForm::FormStyle, &TForm::SetFormStyle).Default(fsNormal);
    Property("OldCreateOrder", &TForm::OldCreateOrder, &TForm::SetOldCreateOrder);
    Property("Scaled", &TForm::Scaled, &TForm::SetScaled).Default(true);
    Property("OnActivate", &TForm::OnActivate, &TForm::OnActivate);
    Property("OnClick", &TForm::OnClick, &TForm::OnClick);
    Property("OnCreate", &TForm::OnCreate, &TForm::OnCreate);
    Property("OnDestroy", &TForm::OnDestroy, &TForm::OnDestroy);
    Property("OnHide", &TForm::OnHide, &TForm::OnHide);
    Property("OnMouseDown", &TForm::OnMouseDown, &TForm::OnMouseDown);
    Property("OnShow", &TForm::OnShow, &TForm::OnShow);
    Property("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch);
}

#define KIV_BOUNDS(C)                                        \
    Property("Left", &C::Left, &C::SetLeft);                 \
    Property("Top", &C::Top, &C::SetTop);                    \
    Property("Width", &C::Width, &C::SetWidth);              \
    Property("Height", &C::Height, &C::SetHeight)

KIV_PUBLISHED(TLabel)
{
    KIV_BOUNDS(TLabel);
    Property("Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify);
    Property("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(true);
    Property("Caption", &TLabel::Caption, &TLabel::SetCaption).Stored(&TLabel::IsCaptionStored);
    Property("Color", &TLabel::Color, &TLabel::SetColor).Idents(&ColorIdents).Stored(&TLabel::IsColorStored);
    Property("ParentColor", &TLabel::ParentColor, &TLabel::SetParentColor).Default(true);
    Property("Transparent", &TLabel::Transparent, &TLabel::SetTransparent).Default(false);
    Property("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(false);
}

KIV_PUBLISHED(TTimer)
{
    Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true);
    Property("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000);
    Property("OnTimer", &TTimer::OnTimer, &TTimer::OnTimer);
}

// The skin properties every skinned button writes.
#define KIV_BUTTON_SKIN(C)                                                                        \
    Property("AutoSize", &C::AutoSize, &C::SetAutoSize);                                          \
    Property("FileTheme", &C::FileTheme, &C::SetFileTheme);                                       \
    Property("UIStyle", &C::UIStyle, &C::SetUIStyle);                                             \
    Property("Transparent", &C::Transparent, &C::SetTransparent);                                 \
    Property("ModalResult", &C::ModalResult, &C::SetModalResult);                                 \
    Property("FocusedRectMargin", &C::FocusedRectMargin, &C::SetFocusedRectMargin);               \
    Property("Layout", &C::Layout, &C::SetLayout);                                                \
    Property("Spacing", &C::Spacing, &C::SetSpacing);                                             \
    Property("MouseContinuouslyDownInterval", &C::MouseContinuouslyDownInterval,                  \
             &C::SetMouseContinuouslyDownInterval);                                               \
    Property("ResHandle", &C::ResHandle, &C::SetResHandle)

KIV_PUBLISHED(TkivButton)
{
    KIV_BOUNDS(TkivButton);
    Property("Caption", &TkivButton::Caption, &TkivButton::SetCaption);
    Property("TabOrder", &TkivButton::TabOrder, &TkivButton::SetTabOrder).Default(-1);
    Property("OnClick", &TkivButton::OnClick, &TkivButton::OnClick);
    KIV_BUTTON_SKIN(TkivButton);
}

void TkivMemo::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FLines.reset(TStringList::Create());
}

KIV_PUBLISHED(TkivMemo)
{
    KIV_BOUNDS(TkivMemo);
    Property("Align", &TkivMemo::Align, &TkivMemo::SetAlign).Default(alNone);
    Property("Lines", &TkivMemo::Lines);
    Property("ScrollBars", &TkivMemo::ScrollBars, &TkivMemo::SetScrollBars).Default(ssNone);
    Property("TabOrder", &TkivMemo::TabOrder, &TkivMemo::SetTabOrder).Default(-1);
    Property("FileTheme", &TkivMemo::FileTheme, &TkivMemo::SetFileTheme);
    Property("UIStyle", &TkivMemo::UIStyle, &TkivMemo::SetUIStyle);
    Property("BorderColor", &TkivMemo::BorderColor, &TkivMemo::SetBorderColor).Idents(&ColorIdents);
}

void TkivRadioGroup::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FItems.reset(TStringList::Create());
    FFont.reset(TFont::Create());
}

// -1 unchecks all; anything past the items is refused as the real control does.
void TkivRadioGroup::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= FItems->Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Value));
    FItemIndex = Value;
}

KIV_PUBLISHED(TkivRadioGroup)
{
    KIV_BOUNDS(TkivRadioGroup);
    Property("Caption", &TkivRadioGroup::Caption, &TkivRadioGroup::SetCaption);
    Property("Items", &TkivRadioGroup::Items);
    Property("Columns", &TkivRadioGroup::Columns, &TkivRadioGroup::SetColumns);
    Property("TopMargin", &TkivRadioGroup::TopMargin, &TkivRadioGroup::SetTopMargin);
    Property("FontColor", &TkivRadioGroup::FontColor, &TkivRadioGroup::SetFontColor).Idents(&ColorIdents);
    Property("BorderColor", &TkivRadioGroup::BorderColor, &TkivRadioGroup::SetBorderColor).Idents(&ColorIdents);
    Property("Font", &TkivRadioGroup::Font).Stored(&TkivRadioGroup::ParentFontIsOff);
    Property("ParentColor", &TkivRadioGroup::ParentColor, &TkivRadioGroup::SetParentColor).Default(false);
    Property("ParentFont", &TkivRadioGroup::ParentFont, &TkivRadioGroup::SetParentFont).Default(true);
    Property("TabOrder", &TkivRadioGroup::TabOrder, &TkivRadioGroup::SetTabOrder).Default(-1);
    Property("TabStop", &TkivRadioGroup::TabStop, &TkivRadioGroup::SetTabStop).Default(false);
    Property("FileTheme", &TkivRadioGroup::FileTheme, &TkivRadioGroup::SetFileTheme);
    Property("UIStyle", &TkivRadioGroup::UIStyle, &TkivRadioGroup::SetUIStyle);
    Property("OnClick", &TkivRadioGroup::OnClick, &TkivRadioGroup::OnClick);
    Property("ItemIndex", &TkivRadioGroup::ItemIndex, &TkivRadioGroup::SetItemIndex);
}

KIV_PUBLISHED(TkivImagePanel)
{
    KIV_BOUNDS(TkivImagePanel);
    Property("Transparent", &TkivImagePanel::Transparent, &TkivImagePanel::SetTransparent).Default(false);
    Property("AutoSize", &TkivImagePanel::AutoSize, &TkivImagePanel::SetAutoSize);
    Property("DrawStyle", &TkivImagePanel::DrawStyle, &TkivImagePanel::SetDrawStyle).Default(kivStretch);
    Property("TabOrder", &TkivImagePanel::TabOrder, &TkivImagePanel::SetTabOrder).Default(-1);
}

// ---- the window frame --------------------------------------------------------------------------

void TkivTitleBarButton::Construct(TCollection *ACollection)
{
    inherited::Construct(ACollection);
    FPicNormal.reset(TPicture::Create());
    FPicMouseOn.reset(TPicture::Create());
    FPicMouseDown.reset(TPicture::Create());
}

KIV_PUBLISHED(TkivTitleBarButton)
{
    Property("UIStyle", &TkivTitleBarButton::UIStyle, &TkivTitleBarButton::SetUIStyle);
    Property("ButtonType", &TkivTitleBarButton::ButtonType, &TkivTitleBarButton::SetButtonType);
    Property("Transparent", &TkivTitleBarButton::Transparent, &TkivTitleBarButton::SetTransparent);
    Property("Top", &TkivTitleBarButton::Top, &TkivTitleBarButton::SetTop);
    Property("Visible", &TkivTitleBarButton::Visible, &TkivTitleBarButton::SetVisible);
    Property("PicNormal", &TkivTitleBarButton::PicNormal);
    Property("PicMouseOn", &TkivTitleBarButton::PicMouseOn);
    Property("PicMouseDown", &TkivTitleBarButton::PicMouseDown);
}

void TkivTitleBarSection::Construct(TCollection *ACollection)
{
    inherited::Construct(ACollection);
    FPicture.reset(TPicture::Create());
}

KIV_PUBLISHED(TkivTitleBarSection)
{
    Property("AutoSize", &TkivTitleBarSection::AutoSize, &TkivTitleBarSection::SetAutoSize);
    Property("Width", &TkivTitleBarSection::Width, &TkivTitleBarSection::SetWidth);
    Property("Align", &TkivTitleBarSection::Align, &TkivTitleBarSection::SetAlign);
    Property("Picture", &TkivTitleBarSection::Picture);
    Property("Stretch", &TkivTitleBarSection::Stretch, &TkivTitleBarSection::SetStretch);
}

void TkivTitleBar::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FFont.reset(TFont::Create());
}

KIV_PUBLISHED(TkivTitleBar) {}

void TkivForm::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    // The title bar comes first, owned by the frame itself.
    FTitleBar = TkivTitleBar::Create(this);
    FTitleBar->SetParentComponent(this);
    FTitleBar->SetTabOrder(0);
    FAlign = alClient;
    auto *Buttons = TOwnedCollection::Create(this, TkivTitleBarButton::StaticClass());
    FTitleBarButtons.reset(Buttons);
    auto *Sections = TOwnedCollection::Create(this, TkivTitleBarSection::StaticClass());
    FTitleBarSections.reset(Sections);
    // Default buttons the layout replaces.
    Buttons->Add();
    Buttons->Add();
}

KIV_PUBLISHED(TkivForm)
{
    KIV_BOUNDS(TkivForm);
    Property("TitleBarCustom", &TkivForm::TitleBarCustom, &TkivForm::SetTitleBarCustom);
    Property("FileTheme", &TkivForm::FileTheme, &TkivForm::SetFileTheme);
    Property("UIStyle", &TkivForm::UIStyle, &TkivForm::SetUIStyle);
    Property("UIStyleAutoUpdateSub", &TkivForm::UIStyleAutoUpdateSub, &TkivForm::SetUIStyleAutoUpdateSub);
    Property("BorderColor", &TkivForm::BorderColor, &TkivForm::SetBorderColor).Idents(&ColorIdents);
    Property("BorderWidth", &TkivForm::BorderWidth, &TkivForm::SetBorderWidth);
    Property("Color", &TkivForm::Color, &TkivForm::SetColor).Idents(&ColorIdents);
    Property("Caption", &TkivForm::Caption, &TkivForm::SetCaption);
    Property("TitleBarButtons", &TkivForm::TitleBarButtons);
    Property("TitleBarSections", &TkivForm::TitleBarSections);
    Property("TitleBarDrawAppIcon", &TkivForm::TitleBarDrawAppIcon, &TkivForm::SetTitleBarDrawAppIcon);
    Property("Font", &TkivForm::Font);
    Property("MenuBarColor", &TkivForm::MenuBarColor, &TkivForm::SetMenuBarColor);
    Property("MenuBarHeight", &TkivForm::MenuBarHeight, &TkivForm::SetMenuBarHeight);
    Property("RoundCorner", &TkivForm::RoundCorner, &TkivForm::SetRoundCorner);
    Property("RoundCornerBottom", &TkivForm::RoundCornerBottom, &TkivForm::SetRoundCornerBottom);
    Property("Version", &TkivForm::Version, &TkivForm::SetVersion);
}

// ---- the main window ---------------------------------------------------------------------------

void TForm1::FormActivate(TObject *) { Log().append(QStringLiteral("FormActivate")); }
void TForm1::kivtempButton1Click(TObject *Sender)
{
    Log().append(QStringLiteral("kivtempButton1Click ") + static_cast<TComponent *>(Sender)->Name());
}
void TForm1::Button2Click(TObject *) { Log().append(QStringLiteral("Button2Click")); }
void TForm1::kivRadioGroup1Click(TObject *) { Log().append(QStringLiteral("kivRadioGroup1Click")); }
void TForm1::kivButton1Click(TObject *) { Log().append(QStringLiteral("kivButton1Click")); }

KIV_PUBLISHED(TForm1)
{
    Field("kivBuiltInFileTheme1", &TForm1::kivBuiltInFileTheme1);
    Field("kivForm1", &TForm1::kivForm1);
    Field("Label5", &TForm1::Label5);
    Field("Button1", &TForm1::Button1);
    Field("Memo1", &TForm1::Memo1);
    Field("Button2", &TForm1::Button2);
    Field("kivRadioGroup1", &TForm1::kivRadioGroup1);
    Field("kivImagePanel1", &TForm1::kivImagePanel1);
    Field("Label1", &TForm1::Label1);
    Field("Label2", &TForm1::Label2);
    Field("Label3", &TForm1::Label3);
    Field("Label4", &TForm1::Label4);
    Field("kivButton1", &TForm1::kivButton1);
    Method("FormActivate", &TForm1::FormActivate);
    Method("kivtempButton1Click", &TForm1::kivtempButton1Click);
    Method("Button2Click", &TForm1::Button2Click);
    Method("kivRadioGroup1Click", &TForm1::kivRadioGroup1Click);
    Method("kivButton1Click", &TForm1::kivButton1Click);
}

void TfrmMSNPopForm::FormCreate(TObject *) { Log().append(QStringLiteral("FormCreate")); }
void TfrmMSNPopForm::FormDestroy(TObject *) { Log().append(QStringLiteral("FormDestroy")); }
void TfrmMSNPopForm::FormShow(TObject *) { Log().append(QStringLiteral("FormShow")); }
void TfrmMSNPopForm::FormHide(TObject *) { Log().append(QStringLiteral("FormHide")); }
void TfrmMSNPopForm::FormClick(TObject *) { Log().append(QStringLiteral("FormClick")); }
void TfrmMSNPopForm::FormMouseDown(TObject *, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    Log().append(QStringLiteral("FormMouseDown %1 %2 %3,%4")
                     .arg(GetEnumName(EnumTypeInfo<TMouseButton>(), Button))
                     .arg(Shift.Contains(ssShift) ? QStringLiteral("shift") : QStringLiteral("-"))
                     .arg(X)
                     .arg(Y));
}
void TfrmMSNPopForm::Timer1Timer(TObject *) { Log().append(QStringLiteral("Timer1Timer")); }

KIV_PUBLISHED(TfrmMSNPopForm)
{
    Field("lbl_title", &TfrmMSNPopForm::lbl_title);
    Field("lbl_text", &TfrmMSNPopForm::lbl_text);
    Field("Timer1", &TfrmMSNPopForm::Timer1);
    Method("FormCreate", &TfrmMSNPopForm::FormCreate);
    Method("FormDestroy", &TfrmMSNPopForm::FormDestroy);
    Method("FormShow", &TfrmMSNPopForm::FormShow);
    Method("FormHide", &TfrmMSNPopForm::FormHide);
    Method("FormClick", &TfrmMSNPopForm::FormClick);
    Method("FormMouseDown", &TfrmMSNPopForm::FormMouseDown);
    Method("Timer1Timer", &TfrmMSNPopForm::Timer1Timer);
}

} // namespace LayoutStandIns
