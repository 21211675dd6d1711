// The IPv4 address entry widget.
#include "platform/IpAddressEdit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QValidator>

#include <algorithm>

namespace {

bool IsAsciiDigit(QChar C) { return C >= QLatin1Char('0') && C <= QLatin1Char('9'); }

// Up to three digits worth at most 255: QLineEdit refuses any edit that breaks this, so the keystroke that
// would make an octet exceed 255 is dropped as it is typed.
class OctetValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &Input, int &) const override
    {
        if (Input.size() > 3 || !std::all_of(Input.cbegin(), Input.cend(), IsAsciiDigit))
            return Invalid;
        return Input.isEmpty() || Input.toInt() <= 255 ? Acceptable : Invalid;
    }
};

// One octet of a dotted address: empty, or a number 0..255 in at most three digits.
bool ParseOctet(const QString &Text, QString *Out)
{
    const QString T = Text.trimmed();
    if (T.isEmpty()) {
        *Out = QString();
        return true;
    }
    if (T.size() > 3 || !std::all_of(T.cbegin(), T.cend(), IsAsciiDigit) || T.toInt() > 255)
        return false;
    *Out = QString::number(T.toInt());
    return true;
}

} // namespace

// ---- IpOctetEdit ----------------------------------------------------------------------------------------

IpOctetEdit::IpOctetEdit(IpAddressEdit *Owner, int Index) : QLineEdit(Owner), FOwner(Owner), FIndex(Index)
{
    setFrame(false);
    setAlignment(Qt::AlignCenter);
    setMaxLength(3);
    setValidator(new OctetValidator(this));
}

void IpOctetEdit::keyPressEvent(QKeyEvent *Event)
{
    if (Event->matches(QKeySequence::Copy)) {
        FOwner->Copy();
        Event->accept();
        return;
    }
    if (Event->matches(QKeySequence::Paste)) {
        FOwner->Paste();
        Event->accept();
        return;
    }
    const bool Plain = !(Event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const bool Shift = Event->modifiers() & Qt::ShiftModifier;
    const bool AtStart = cursorPosition() == 0 && !hasSelectedText();
    const bool AtEnd = cursorPosition() == text().size() && !hasSelectedText();
    switch (Event->key()) {
    case Qt::Key_Backspace:
        if (Plain && AtStart && FIndex > 0) {
            FOwner->MoveTo(FIndex - 1, FOwner->Octet(FIndex - 1)->text().size());
            Event->accept();
            return;
        }
        break;
    case Qt::Key_Left:
        if (Plain && !Shift && AtStart && FIndex > 0) {
            FOwner->MoveTo(FIndex - 1, FOwner->Octet(FIndex - 1)->text().size());
            Event->accept();
            return;
        }
        break;
    case Qt::Key_Right:
        if (Plain && !Shift && AtEnd && FIndex < 3) {
            FOwner->MoveTo(FIndex + 1, 0);
            Event->accept();
            return;
        }
        break;
    default:
        break;
    }

    const QString Typed = Event->text();
    if (Plain && Typed.size() == 1 && Typed[0].isPrint()) {
        Event->accept();
        if (Typed[0] == QLatin1Char('.')) {
            if (!text().isEmpty() && FIndex < 3)
                FOwner->MoveTo(FIndex + 1, -1);
            return;
        }
        if (!IsAsciiDigit(Typed[0]))
            return;
        const QString Before = text();
        QLineEdit::keyPressEvent(Event);
        if (text() != Before && text().size() == 3 && cursorPosition() == 3 && FIndex < 3)
            FOwner->MoveTo(FIndex + 1, -1);
        return;
    }
    QLineEdit::keyPressEvent(Event);
}

void IpOctetEdit::focusInEvent(QFocusEvent *Event)
{
    QLineEdit::focusInEvent(Event);
    FOwner->OctetEntered(FIndex);
}

void IpOctetEdit::focusOutEvent(QFocusEvent *Event)
{
    QLineEdit::focusOutEvent(Event);
    FOwner->OctetLeft(FIndex);
}

// ---- IpAddressEdit -----------------------------------------------------------------------------------------

IpAddressEdit::IpAddressEdit(QWidget *Parent) : QWidget(Parent)
{
    for (int I = 0; I < 4; ++I) {
        FOctets[I] = new IpOctetEdit(this, I);
        connect(FOctets[I], &QLineEdit::textChanged, this, &IpAddressEdit::OctetChanged);
    }
    setFocusProxy(FOctets[0]);
    setBackgroundRole(QPalette::Base);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    LayoutOctets();
}

// The octets go first, while their focus handlers can still reach a whole edit.
IpAddressEdit::~IpAddressEdit()
{
    for (IpOctetEdit *&O : FOctets) {
        delete O;
        O = nullptr;
    }
}

std::uint32_t IpAddressEdit::Address() const
{
    std::uint32_t A = 0;
    for (int I = 0; I < 4; ++I)
        A = (A << 8) | std::uint32_t(OctetValue(I));
    return A;
}

void IpAddressEdit::SetAddress(std::uint32_t Address)
{
    SetText(QStringLiteral("%1.%2.%3.%4")
                .arg(Address >> 24)
                .arg((Address >> 16) & 0xFF)
                .arg((Address >> 8) & 0xFF)
                .arg(Address & 0xFF));
}

void IpAddressEdit::Clear()
{
    SetText(QStringLiteral("..."));
}

bool IpAddressEdit::IsBlank() const
{
    return FilledCount() == 0;
}

int IpAddressEdit::FilledCount() const
{
    return int(std::count_if(FOctets.begin(), FOctets.end(), [](const IpOctetEdit *O) { return !O->text().isEmpty(); }));
}

QString IpAddressEdit::Text() const
{
    QStringList Parts;
    for (const IpOctetEdit *O : FOctets)
        Parts << O->text();
    return Parts.join(QLatin1Char('.'));
}

bool IpAddressEdit::SetText(const QString &Text)
{
    const QStringList Parts = Text.trimmed().split(QLatin1Char('.'));
    if (Parts.size() != 4)
        return false;
    std::array<QString, 4> Octets;
    for (int I = 0; I < 4; ++I)
        if (!ParseOctet(Parts[I], &Octets[I]))
            return false;
    const QString Before = this->Text();
    FUpdating = true;
    for (int I = 0; I < 4; ++I)
        FOctets[I]->setText(Octets[I]);
    FUpdating = false;
    if (this->Text() != Before)
        emit Changed();
    return true;
}

bool IpAddressEdit::SetRange(int Field, int Low, int High)
{
    if (Field < 0 || Field > 3)
        return false;
    FLow[Field] = std::clamp(std::min(Low, High), 0, 255);
    FHigh[Field] = std::clamp(std::max(Low, High), 0, 255);
    return true;
}

void IpAddressEdit::SetFocusField(int Field)
{
    if (Field < 0 || Field > 3) {
        Field = 0;
        for (int I = 3; I >= 0; --I)
            if (FOctets[I]->text().isEmpty())
                Field = I;
    }
    MoveTo(Field, -1);
}

void IpAddressEdit::Copy() const
{
    QGuiApplication::clipboard()->setText(Text());
}

void IpAddressEdit::Paste()
{
    SetText(QGuiApplication::clipboard()->text());
}

void IpAddressEdit::TypeKey(QKeyEvent *Event)
{
    FOctets[FCurrent]->Key(Event);
}

QSize IpAddressEdit::sizeHint() const
{
    const int Frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const QFontMetrics FM = fontMetrics();
    const int Field = FM.horizontalAdvance(QStringLiteral("2550"));
    const int Dot = FM.horizontalAdvance(QLatin1Char('.')) + 2;
    return QSize(4 * Field + 3 * Dot + 2 * Frame, FOctets[0]->sizeHint().height() + 2 * Frame);
}

QSize IpAddressEdit::minimumSizeHint() const
{
    return sizeHint();
}

void IpAddressEdit::keyPressEvent(QKeyEvent *Event)
{
    TypeKey(Event);
}

void IpAddressEdit::paintEvent(QPaintEvent *)
{
    QPainter P(this);
    QStyleOptionFrame Panel;
    Panel.initFrom(this);
    Panel.rect = rect();
    Panel.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &Panel, this);
    Panel.midLineWidth = 0;
    Panel.state |= QStyle::State_Sunken;
    if (std::any_of(FOctets.begin(), FOctets.end(), [](const IpOctetEdit *O) { return O->hasFocus(); }))
        Panel.state |= QStyle::State_HasFocus;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &Panel, &P, this);

    P.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    for (int I = 0; I < 3; ++I) {
        const QRect L = FOctets[I]->geometry(), R = FOctets[I + 1]->geometry();
        P.drawText(QRect(L.right() + 1, L.top(), R.left() - L.right() - 1, L.height()), Qt::AlignCenter,
                   QStringLiteral("."));
    }
}

void IpAddressEdit::resizeEvent(QResizeEvent *)
{
    LayoutOctets();
}

void IpAddressEdit::changeEvent(QEvent *Event)
{
    if (Event->type() == QEvent::FontChange || Event->type() == QEvent::StyleChange)
        LayoutOctets();
    QWidget::changeEvent(Event);
}

void IpAddressEdit::MoveTo(int Field, int Position)
{
    if (Field != FCurrent)
        OctetLeft(FCurrent);
    FCurrent = Field;
    IpOctetEdit *O = FOctets[Field];
    O->setFocus(Qt::OtherFocusReason);
    FCurrent = Field;   // setFocus may have run the focus handlers of the octets
    if (Position < 0)
        O->selectAll();
    else
        O->setCursorPosition(Position);
}

void IpAddressEdit::OctetEntered(int Field)
{
    FCurrent = Field;
    update();
}

void IpAddressEdit::OctetLeft(int Field)
{
    IpOctetEdit *O = FOctets[Field];
    if (!O->text().isEmpty()) {
        const int V = O->text().toInt(), Clamped = std::clamp(V, FLow[Field], FHigh[Field]);
        if (Clamped != V)
            O->setText(QString::number(Clamped));
    }
    update();
}

void IpAddressEdit::OctetChanged()
{
    if (!FUpdating)
        emit Changed();
}

QRect IpAddressEdit::InnerRect() const
{
    const int Frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    return rect().adjusted(Frame, Frame, -Frame, -Frame);
}

void IpAddressEdit::LayoutOctets()
{
    const QRect Inner = InnerRect();
    const int Dot = fontMetrics().horizontalAdvance(QLatin1Char('.')) + 2;
    const int Field = std::max(0, (Inner.width() - 3 * Dot) / 4);
    int X = Inner.left();
    for (int I = 0; I < 4; ++I) {
        const int W = I < 3 ? Field : std::max(0, Inner.right() + 1 - X);
        FOctets[I]->setGeometry(X, Inner.top(), W, Inner.height());
        X += Field + Dot;
    }
    update();
}

int IpAddressEdit::OctetValue(int Field) const
{
    return FOctets[Field]->text().toInt();    // blank reads 0
}
