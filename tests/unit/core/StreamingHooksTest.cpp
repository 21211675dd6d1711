// The component model's side of layout streaming: ReadState/WriteState, the Left/Top design info
// of non-visual components, the "Strings" property of string lists, fields and events by name.

#include "framework/core/Classes.h"
#include "framework/core/Reader.h"
#include "framework/core/TypInfo.h"
#include "framework/core/Writer.h"
#include "tests/unit/QtPrinters.h"

#include <gtest/gtest.h>

class THookItem : public TComponent
{
    KIV_OBJECT(THookItem, TComponent)
public:
    void Construct(TComponent *AOwner) override
    {
        inherited::Construct(AOwner);
        FItems = TStringList::Create();
    }
    ~THookItem() override { FItems->Free(); }
    TStringList *Items() const { return FItems; }
    TNotifyEvent OnClick;

private:
    TStringList *FItems = nullptr;
};

class THookRoot : public TComponent
{
    KIV_OBJECT(THookRoot, TComponent)
public:
    void Item1Click(TObject *Sender) { Clicked = Sender; }
    THookItem *Item1 = nullptr;
    TObject *Clicked = nullptr;
};

KIV_PUBLISHED(THookItem)
{
    Property("Items", &THookItem::Items);
    Property("OnClick", &THookItem::OnClick, &THookItem::OnClick);
}

KIV_PUBLISHED(THookRoot)
{
    Method("Item1Click", &THookRoot::Item1Click);
    Field("Item1", &THookRoot::Item1);
}

TEST(StreamingHooks, NonVisualDesignInfoStringsFieldsAndEventsRoundTrip)
{
    const QByteArray Layout = "object Root: THookRoot\n"
                              "  object Item1: THookItem\n"
                              "    Items.Strings = (\n"
                              "      'Home1'\n"
                              "      'Home2')\n"
                              "    OnClick = Item1Click\n"
                              "    Left = 10\n"
                              "    Top = -4\n"
                              "  end\n"
                              "end\n";
    TAutoFree<THookRoot> Root(THookRoot::Create(nullptr));
    ReadComponentFromText(Layout, Root.get());
    ASSERT_NE(Root->Item1, nullptr);
    EXPECT_EQ(Root->Item1->Items()->ToStringList(), QStringList({"Home1", "Home2"}));
    EXPECT_EQ(Root->Item1->DesignInfo() & 0xFFFF, 10);
    EXPECT_EQ(qint16(Root->Item1->DesignInfo() >> 16), -4);
    Root->Item1->OnClick(Root->Item1);
    EXPECT_EQ(Root->Clicked, Root->Item1);
    EXPECT_FALSE(Root->Item1->ComponentState().Contains(csLoading));

    const QByteArray Written = WriteComponentToText(Root.get());
    TAutoFree<THookRoot> Copy(THookRoot::Create(nullptr));
    ReadComponentFromText(Written, Copy.get());
    ASSERT_NE(Copy->Item1, nullptr) << Written.toStdString();
    EXPECT_EQ(WriteComponentToText(Copy.get()), Written);
    EXPECT_EQ(Copy->Item1->Items()->ToStringList(), QStringList({"Home1", "Home2"}));
    EXPECT_EQ(Copy->Item1->DesignInfo(), Root->Item1->DesignInfo());
    EXPECT_EQ(Copy->Item1->OnClick.Method().Name, "Item1Click");
}

TEST(StreamingHooks, EmptyListsAndZeroDesignInfoAreNotWritten)
{
    TAutoFree<THookRoot> Root(THookRoot::Create(nullptr));
    THookItem::Create(Root.get())->SetName(QStringLiteral("Item1"));
    const QString Text = QString::fromLatin1(WriteComponentToText(Root.get()));
    EXPECT_FALSE(Text.contains(QStringLiteral("Strings"))) << Text.toStdString();
    EXPECT_FALSE(Text.contains(QStringLiteral("Left"))) << Text.toStdString();
}
