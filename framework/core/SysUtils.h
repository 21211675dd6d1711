#pragma once
// Exceptions and the small string, number and path helpers of the framework.

#include <QString>
#include <QByteArray>
#include <exception>

class Exception : public std::exception
{
public:
    explicit Exception(const QString &Msg = QString());
    ~Exception() override = default;

    QString Message() const { return FMessage; }
    void SetMessage(const QString &Value);
    virtual QString ClassName() const { return QStringLiteral("Exception"); }
    const char *what() const noexcept override { return FWhat.constData(); }

private:
    QString FMessage;
    QByteArray FWhat;
};

#define KIV_EXCEPTION(Name, Base)                                   \
    class Name : public Base                                        \
    {                                                               \
    public:                                                         \
        using Base::Base;                                           \
        QString ClassName() const override { return QStringLiteral(#Name); } \
    }

KIV_EXCEPTION(EConvertError, Exception);
KIV_EXCEPTION(EListError, Exception);
KIV_EXCEPTION(EResNotFound, Exception);
KIV_EXCEPTION(EInvalidOperation, Exception);
KIV_EXCEPTION(EInvalidGraphic, Exception);
KIV_EXCEPTION(EOutOfMemory, Exception);
KIV_EXCEPTION(EStreamError, Exception);
KIV_EXCEPTION(EFileStreamError, EStreamError);
KIV_EXCEPTION(EFOpenError, EFileStreamError);
KIV_EXCEPTION(EFCreateError, EFileStreamError);
KIV_EXCEPTION(EFilerError, EStreamError);
KIV_EXCEPTION(EReadError, EFilerError);
KIV_EXCEPTION(EWriteError, EFilerError);
KIV_EXCEPTION(EClassNotFound, EFilerError);
KIV_EXCEPTION(EPropertyError, Exception);
