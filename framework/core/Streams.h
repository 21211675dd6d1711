#pragma once
// Streams: the abstract TStream, memory streams, file streams with share modes, and read-only
// streams over the Qt resource system.

#include "framework/core/Classes.h"
#include "framework/core/SysUtils.h"

#include <QByteArray>
#include <QString>

enum TSeekOrigin { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

class TStream : public TObject
{
    KIV_OBJECT(TStream, TObject)
public:
    // Read and Write move as many bytes as they can and say how many; the *Buffer forms raise
    // when the whole count cannot be moved.
    virtual qint64 Read(void *Buffer, qint64 Count);
    virtual qint64 Write(const void *Buffer, qint64 Count);
    virtual qint64 Seek(qint64 Offset, TSeekOrigin Origin);
    void ReadBuffer(void *Buffer, qint64 Count);
    void WriteBuffer(const void *Buffer, qint64 Count);
    void WriteBuffer(const QByteArray &Bytes) { WriteBuffer(Bytes.constData(), Bytes.size()); }

    qint64 Position() { return Seek(0, soFromCurrent); }
    void SetPosition(qint64 Value) { Seek(Value, soFromBeginning); }
    virtual qint64 Size();
    virtual void SetSize(qint64 NewSize);

    // Copies Count bytes from Source's position; Count 0 (or less) copies the whole of Source from
    // its start.
    qint64 CopyFrom(TStream *Source, qint64 Count);
};

// A stream over a block of memory: the base of TMemoryStream and TResourceStream.
class TCustomMemoryStream : public TStream
{
    KIV_OBJECT(TCustomMemoryStream, TStream)
public:
    qint64 Read(void *Buffer, qint64 Count) override;
    qint64 Seek(qint64 Offset, TSeekOrigin Origin) override;
    qint64 Size() override { return FData.size(); }

    void *Memory() { return FData.data(); }
    QByteArray Bytes() const { return FData; }   // implicitly shared, so cheap
    void SaveToStream(TStream *Stream);
    void SaveToFile(const QString &FileName);

protected:
    void SetData(const QByteArray &Data);
    QByteArray FData;
    qint64 FPosition = 0;
};

class TMemoryStream : public TCustomMemoryStream
{
    KIV_OBJECT(TMemoryStream, TCustomMemoryStream)
public:
    qint64 Write(const void *Buffer, qint64 Count) override;
    void SetSize(qint64 NewSize) override;
    void Clear();
    void LoadFromStream(TStream *Stream);   // the whole of Stream, from its start
    void LoadFromFile(const QString &FileName);
};

// Open modes: one access mode, or fmCreate (create or truncate, then read/write), combined with one
// share mode.
enum : quint16 {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,      // treated as fmShareExclusive
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00,
};

// A file opened with a classic access and share mode. Share modes are kept with advisory
// open-file-description record locks (fcntl F_OFD_SETLK), so they hold between opens in the same
// process as well as between our processes; programs that take no locks are not stopped.
// Each open holds shared locks on marker bytes far past any real data: one for each access it has
// (read, write) and one for each access it denies others. It then checks that nobody else holds the
// opposite marker (a denial of an access it has, or an access it denies). A whole-file flock cannot
// express this matrix: a writer that shares everything must still stop a later opener that denies
// writing. Creating checks sharing before truncating, so a denied create leaves the file intact.
// Shared record locks need a descriptor open for reading, so a write-only open holds its locks on
// a read-only companion descriptor (a file it may not read goes without share checks).
class TFileStream : public TStream
{
    KIV_OBJECT(TFileStream, TStream)
public:
    void Construct(const QString &FileName, quint16 Mode);

    qint64 Read(void *Buffer, qint64 Count) override;
    qint64 Write(const void *Buffer, qint64 Count) override;
    qint64 Seek(qint64 Offset, TSeekOrigin Origin) override;
    qint64 Size() override;
    void SetSize(qint64 NewSize) override;

    QString FileName() const { return FFileName; }
    int Handle() const { return FHandle; }

protected:
    ~TFileStream() override;

private:
    void CloseHandles();
    QString FFileName;
    int FHandle = -1;
    int FLockHandle = -1;   // holds the share locks of a write-only open
};

// Read-only resources of the Qt resource system. A resource of type T named N lives at
// ":/kiv/T/N" plus the type's file extension, e.g. ":/kiv/forms/TFORM1" (window layouts) and
// ":/kiv/bitmaps/DEEPBLUE_BUTTON.bmp". Names are looked up as given, then in upper case
// (resource names are case-insensitive and conventionally stored upper-case).
inline const QString RT_RCDATA = QStringLiteral("forms");
inline const QString RT_BITMAP = QStringLiteral("bitmaps");

class TResourceStream : public TCustomMemoryStream
{
    KIV_OBJECT(TResourceStream, TCustomMemoryStream)
public:
    void Construct(const QString &ResName, const QString &ResType = RT_RCDATA);
    qint64 Write(const void *Buffer, qint64 Count) override;

    // The resource path of an existing resource, or an empty string.
    static QString FindResource(const QString &ResName, const QString &ResType = RT_RCDATA);
};
