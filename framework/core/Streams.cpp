#include "framework/core/Streams.h"
#include "framework/core/TypInfo.h"

#include <QFile>
#include <QtNumeric>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString OSError(int Err)
{
    return QString::fromLocal8Bit(std::strerror(Err));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TStream

qint64 TStream::Read(void *, qint64)
{
    throw EStreamError(QStringLiteral("%1 does not support reading").arg(ClassName()));
}

qint64 TStream::Write(const void *, qint64)
{
    throw EStreamError(QStringLiteral("%1 does not support writing").arg(ClassName()));
}

qint64 TStream::Seek(qint64, TSeekOrigin)
{
    throw EStreamError(QStringLiteral("%1 does not support seeking").arg(ClassName()));
}

qint64 TStream::Size()
{
    const qint64 Pos = Seek(0, soFromCurrent);
    const qint64 Result = Seek(0, soFromEnd);
    Seek(Pos, soFromBeginning);
    return Result;
}

void TStream::SetSize(qint64)
{
}

void TStream::ReadBuffer(void *Buffer, qint64 Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count)
        throw EReadError(QStringLiteral("Stream read error"));
}

void TStream::WriteBuffer(const void *Buffer, qint64 Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError(QStringLiteral("Stream write error"));
}

qint64 TStream::CopyFrom(TStream *Source, qint64 Count)
{
    if (Count <= 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    const qint64 Result = Count;
    QByteArray Chunk(qMin<qint64>(Count, 64 * 1024), Qt::Uninitialized);
    while (Count > 0) {
        const qint64 N = qMin<qint64>(Count, Chunk.size());
        Source->ReadBuffer(Chunk.data(), N);
        WriteBuffer(Chunk.constData(), N);
        Count -= N;
    }
    return Result;
}

// ---------------------------------------------------------------------------------------------
// TCustomMemoryStream

qint64 TCustomMemoryStream::Read(void *Buffer, qint64 Count)
{
    if (FPosition < 0 || Count <= 0)
        return 0;
    const qint64 Available = FData.size() - FPosition;
    if (Available <= 0)
        return 0;
    const qint64 N = qMin(Count, Available);
    std::memcpy(Buffer, FData.constData() + FPosition, size_t(N));
    FPosition += N;
    return N;
}

qint64 TCustomMemoryStream::Seek(qint64 Offset, TSeekOrigin Origin)
{
    const qint64 Base = Origin == soFromBeginning ? 0 : Origin == soFromCurrent ? FPosition : FData.size();
    qint64 Result = 0;
    if (qAddOverflow(Base, Offset, &Result))
        throw EStreamError(QStringLiteral("Invalid stream position"));
    FPosition = Result;
    return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream *Stream)
{
    Stream->WriteBuffer(FData);
}

void TCustomMemoryStream::SaveToFile(const QString &FileName)
{
    TAutoFree<TFileStream> Stream(TFileStream::Create(FileName, fmCreate));
    SaveToStream(Stream.get());
}

void TCustomMemoryStream::SetData(const QByteArray &Data)
{
    FData = Data;
    FPosition = 0;
}

// ---------------------------------------------------------------------------------------------
// TMemoryStream

qint64 TMemoryStream::Write(const void *Buffer, qint64 Count)
{
    if (FPosition < 0 || Count <= 0)
        return 0;
    if (Count > std::numeric_limits<qint64>::max() - FPosition)
        return 0;
    const qint64 End = FPosition + Count;
    if (End > FData.size()) {
        const qint64 OldSize = FData.size();
        try {
            // Grow geometrically so a run of small writes stays linear.
            if (End > FData.capacity())
                FData.reserve(qMax<qint64>(End, FData.capacity() * 2));
            FData.resize(End);
        } catch (const std::bad_alloc &) {
            throw EStreamError(QStringLiteral("Out of memory while expanding memory stream"));
        }
        if (FPosition > OldSize)
            std::memset(FData.data() + OldSize, 0, size_t(FPosition - OldSize));
    }
    std::memcpy(FData.data() + FPosition, Buffer, size_t(Count));
    FPosition = End;
    return Count;
}

void TMemoryStream::SetSize(qint64 NewSize)
{
    if (NewSize < 0)
        throw EStreamError(QStringLiteral("Invalid stream size %1").arg(NewSize));
    const qint64 OldSize = FData.size();
    try {
        FData.resize(NewSize);
    } catch (const std::bad_alloc &) {
        throw EStreamError(QStringLiteral("Out of memory while expanding memory stream"));
    }
    if (NewSize > OldSize)
        std::memset(FData.data() + OldSize, 0, size_t(NewSize - OldSize));
    if (FPosition > NewSize)
        FPosition = NewSize;
}

void TMemoryStream::Clear()
{
    FData.clear();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream *Stream)
{
    Stream->SetPosition(0);
    const qint64 Count = Stream->Size();
    SetSize(Count);
    if (Count != 0)
        Stream->ReadBuffer(FData.data(), Count);
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const QString &FileName)
{
    TAutoFree<TFileStream> Stream(TFileStream::Create(FileName, fmOpenRead | fmShareDenyWrite));
    LoadFromStream(Stream.get());
}

// ---------------------------------------------------------------------------------------------
// TFileStream

namespace {

// Marker bytes for the share-mode locks, far beyond any data we would ever lock or write.
constexpr off_t MarkerBase = off_t(0x7FFFFFFF00000000LL);
enum TMarker { mkReadAccess, mkWriteAccess, mkDenyRead, mkDenyWrite };

bool LockMarker(int Fd, TMarker Marker)
{
    struct flock L {};
    L.l_type = F_RDLCK;
    L.l_whence = SEEK_SET;
    L.l_start = MarkerBase + Marker;
    L.l_len = 1;
    return fcntl(Fd, F_OFD_SETLK, &L) == 0;
}

// Whether another open file description holds the marker.
bool MarkerHeldByOthers(int Fd, TMarker Marker)
{
    struct flock L {};
    L.l_type = F_WRLCK;
    L.l_whence = SEEK_SET;
    L.l_start = MarkerBase + Marker;
    L.l_len = 1;
    if (fcntl(Fd, F_OFD_GETLK, &L) != 0)
        return false;
    return L.l_type != F_UNLCK;
}

// Takes this open's markers and checks them against everybody else's. False: a sharing violation.
bool AcquireShare(int Fd, bool CanRead, bool CanWrite, bool DenyRead, bool DenyWrite)
{
    struct TRule { bool Mine; TMarker Take; TMarker Opposite; };
    const TRule Rules[] = {
        {CanRead, mkReadAccess, mkDenyRead},
        {CanWrite, mkWriteAccess, mkDenyWrite},
        {DenyRead, mkDenyRead, mkReadAccess},
        {DenyWrite, mkDenyWrite, mkWriteAccess},
    };
    // Take first, check after: two racing opens can then both fail, but never both succeed.
    for (const TRule &R : Rules)
        if (R.Mine && !LockMarker(Fd, R.Take))
            return false;
    for (const TRule &R : Rules)
        if (R.Mine && MarkerHeldByOthers(Fd, R.Opposite))
            return false;
    return true;
}

} // namespace

void TFileStream::Construct(const QString &FileName, quint16 Mode)
{
    inherited::Construct();
    FFileName = FileName;
    const bool Creating = (Mode & fmCreate) == fmCreate;
    const quint16 Access = Creating ? fmOpenReadWrite : (Mode & 0x000F);
    const quint16 Share = Mode & 0x00F0;
    const bool CanRead = Access == fmOpenRead || Access == fmOpenReadWrite;
    const bool CanWrite = Access == fmOpenWrite || Access == fmOpenReadWrite;
    const bool DenyRead = Share == fmShareCompat || Share == fmShareExclusive || Share == fmShareDenyRead;
    const bool DenyWrite = Share == fmShareCompat || Share == fmShareExclusive || Share == fmShareDenyWrite;

    auto Fail = [&](const QString &Reason) -> void {
        CloseHandles();
        if (Creating)
            throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, Reason));
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, Reason));
    };

    if (!Creating && Access > fmOpenReadWrite)
        Fail(QStringLiteral("Invalid open mode"));
    if (FileName.isEmpty())
        Fail(OSError(ENOENT));
    int Flags = O_CLOEXEC | (CanRead && CanWrite ? O_RDWR : CanWrite ? O_WRONLY : O_RDONLY);
    if (Creating)
        Flags |= O_CREAT;
    const QByteArray Path = QFile::encodeName(FileName);
    do
        FHandle = ::open(Path.constData(), Flags, 0666);
    while (FHandle < 0 && errno == EINTR);
    if (FHandle < 0)
        Fail(OSError(errno));
    struct stat St {};
    if (fstat(FHandle, &St) == 0 && S_ISDIR(St.st_mode))
        Fail(OSError(EISDIR));
    // Shared record locks need a descriptor open for reading; a write-only open takes them on a
    // read-only companion (without one, a file we may not read, its share mode goes unenforced).
    int LockFd = FHandle;
    if (!CanRead) {
        FLockHandle = ::open(Path.constData(), O_RDONLY | O_CLOEXEC);
        LockFd = FLockHandle;
    }
    if (LockFd >= 0 && !AcquireShare(LockFd, CanRead, CanWrite, DenyRead, DenyWrite))
        Fail(QStringLiteral("The file is open elsewhere with a conflicting share mode"));
    if (Creating && ::ftruncate(FHandle, 0) != 0)
        Fail(OSError(errno));
}

TFileStream::~TFileStream()
{
    CloseHandles();
}

void TFileStream::CloseHandles()
{
    for (int *Fd : {&FHandle, &FLockHandle})
        if (*Fd >= 0) {
            ::close(*Fd);
            *Fd = -1;
        }
}

qint64 TFileStream::Read(void *Buffer, qint64 Count)
{
    qint64 Done = 0;
    char *P = static_cast<char *>(Buffer);
    while (Done < Count) {
        const ssize_t N = ::read(FHandle, P + Done, size_t(Count - Done));
        if (N < 0 && errno == EINTR)
            continue;
        // An I/O error is not an end of file: say so instead of returning a short count.
        if (N < 0)
            throw EReadError(QStringLiteral("Cannot read file \"%1\". %2").arg(FFileName, OSError(errno)));
        if (N == 0)
            break;
        Done += N;
    }
    return Done;
}

qint64 TFileStream::Write(const void *Buffer, qint64 Count)
{
    qint64 Done = 0;
    const char *P = static_cast<const char *>(Buffer);
    while (Done < Count) {
        const ssize_t N = ::write(FHandle, P + Done, size_t(Count - Done));
        if (N < 0 && errno == EINTR)
            continue;
        if (N < 0)
            throw EWriteError(QStringLiteral("Cannot write file \"%1\". %2").arg(FFileName, OSError(errno)));
        if (N == 0)
            break;
        Done += N;
    }
    return Done;
}

qint64 TFileStream::Seek(qint64 Offset, TSeekOrigin Origin)
{
    const int Whence = Origin == soFromBeginning ? SEEK_SET : Origin == soFromCurrent ? SEEK_CUR : SEEK_END;
    const off_t Result = ::lseek(FHandle, off_t(Offset), Whence);
    if (Result < 0)
        throw EStreamError(QStringLiteral("Cannot seek in file \"%1\". %2").arg(FFileName, OSError(errno)));
    return Result;
}

qint64 TFileStream::Size()
{
    struct stat St {};
    if (fstat(FHandle, &St) != 0)
        throw EStreamError(QStringLiteral("Cannot read the size of \"%1\". %2").arg(FFileName, OSError(errno)));
    return St.st_size;
}

void TFileStream::SetSize(qint64 NewSize)
{
    if (::ftruncate(FHandle, off_t(NewSize)) != 0)
        throw EStreamError(QStringLiteral("Cannot set the size of \"%1\". %2").arg(FFileName, OSError(errno)));
    if (Position() > NewSize)
        SetPosition(NewSize);
}

// ---------------------------------------------------------------------------------------------
// TResourceStream

QString TResourceStream::FindResource(const QString &ResName, const QString &ResType)
{
    const QString Extension = ResType == RT_BITMAP ? QStringLiteral(".bmp") : QString();
    const QString Folder = QStringLiteral(":/kiv/%1/").arg(ResType);
    for (const QString &Name : {ResName, ResName.toUpper()}) {
        const QString Path = Folder + Name + Extension;
        if (!Name.isEmpty() && QFile::exists(Path))
            return Path;
    }
    return QString();
}

void TResourceStream::Construct(const QString &ResName, const QString &ResType)
{
    inherited::Construct();
    const QString Path = FindResource(ResName, ResType);
    QFile File(Path);
    if (Path.isEmpty() || !File.open(QIODevice::ReadOnly))
        throw EResNotFound(QStringLiteral("Resource %1 not found").arg(ResName));
    SetData(File.readAll());
}

qint64 TResourceStream::Write(const void *, qint64)
{
    throw EStreamError(QStringLiteral("Can't write to a read-only resource stream"));
}

KIV_PUBLISHED(TStream) {}
KIV_PUBLISHED(TCustomMemoryStream) {}
KIV_PUBLISHED(TMemoryStream) {}
KIV_PUBLISHED(TFileStream) {}
KIV_PUBLISHED(TResourceStream) {}
