#pragma once
// An IPv4 address entry: four octet fields separated by painted dots, looking like one line edit.
//
// Typing takes digits only and refuses the keystroke that would make an octet exceed 255. The third digit
// or '.' moves on to the next octet ('.' in an empty octet does nothing), Backspace at the start of an
// octet moves back, Left/Right cross octet boundaries at the ends. Copy gives the dotted address (blank
// octets as empty text); Paste takes a dotted address into all four octets or is ignored.

#include <QLineEdit>
#include <QWidget>

#include <array>
#include <cstdint>

class IpAddressEdit;

// One octet field; its keys go through the address edit's navigation first.
class IpOctetEdit : public QLineEdit
{
    Q_OBJECT
public:
    IpOctetEdit(IpAddressEdit *Owner, int Index);
    // A key for this octet that did not come through Qt's delivery to it (sent to the whole edit, or
    // typed by code).
    void Key(QKeyEvent *Event) { keyPressEvent(Event); }

protected:
    void keyPressEvent(QKeyEvent *Event) override;
    void focusInEvent(QFocusEvent *Event) override;
    void focusOutEvent(QFocusEvent *Event) override;

private:
    IpAddressEdit *FOwner;
    int FIndex;
};

class IpAddressEdit : public QWidget
{
    Q_OBJECT
public:
    explicit IpAddressEdit(QWidget *Parent = nullptr);
    ~IpAddressEdit() override;

    // The packed address, first octet in the high byte; a blank octet reads 0.
    std::uint32_t Address() const;
    void SetAddress(std::uint32_t Address);
    void Clear();
    bool IsBlank() const;
    // Octets that are not blank.
    int FilledCount() const;
    // Dotted text, blanks as empty octets ("1..3.4").
    QString Text() const;
    // Fills all four octets from a dotted address; false (and nothing changes) when Text is not one.
    bool SetText(const QString &Text);
    // An octet outside its range is brought into it when the octet is left. False for a wrong field.
    bool SetRange(int Field, int Low, int High);
    // Field > 3 selects the first blank octet (or the first when none is blank).
    void SetFocusField(int Field);
    int CurrentField() const { return FCurrent; }
    IpOctetEdit *Octet(int Field) const { return FOctets[Field]; }

    void Copy() const;
    void Paste();
    // A key typed by code or sent to the whole edit: handled by the current octet.
    void TypeKey(QKeyEvent *Event);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Any change of any octet, by the user or by code (once per SetAddress, Clear, SetText).
    void Changed();

protected:
    void keyPressEvent(QKeyEvent *Event) override;
    void paintEvent(QPaintEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;
    void changeEvent(QEvent *Event) override;
private:
    friend class IpOctetEdit;
    // Moves to octet Field with the cursor at Position (-1: the whole octet selected).
    void MoveTo(int Field, int Position);
    void OctetEntered(int Field);
    void OctetLeft(int Field);
    void OctetChanged();
    void LayoutOctets();
    QRect InnerRect() const;
    int OctetValue(int Field) const;

    std::array<IpOctetEdit *, 4> FOctets{};
    std::array<int, 4> FLow{0, 0, 0, 0};
    std::array<int, 4> FHigh{255, 255, 255, 255};
    int FCurrent = 0;
    bool FUpdating = false;
};
