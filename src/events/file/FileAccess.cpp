#include "FileAccess.h"

#include <QFile>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "events/Exceptions.h"
#include "platform/MadeFileAttributes.h"
#include "platform/WholeWrite.h"

namespace {

// A file's size and the times of its last changes: when none of them moved
// while it was read, the bytes read are the file as it stood.
bool sameFile(const struct stat& A, const struct stat& B)
{
    return A.st_size == B.st_size && A.st_mtim.tv_sec == B.st_mtim.tv_sec && A.st_mtim.tv_nsec == B.st_mtim.tv_nsec &&
           A.st_ctim.tv_sec == B.st_ctim.tv_sec && A.st_ctim.tv_nsec == B.st_ctim.tv_nsec;
}

[[noreturn]] void raiseReadError(const QString& FileName, const QString& Reason)
{
    throw EFileError(QStringLiteral("Cannot read file \"%1\". %2").arg(FileName, Reason));
}

// Reads up to Size bytes at Out; returns how many there were before the end of the file.
size_t readUpTo(int Handle, char* Out, size_t Size, const QString& FileName)
{
    size_t done = 0;
    while (done < Size) {
        const ssize_t got = ::read(Handle, Out + done, Size - done);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            raiseReadError(FileName, QString::fromLocal8Bit(std::strerror(errno)));
        }
        done += static_cast<size_t>(got);
    }
    return done;
}

// Memory for Size bytes of a file: in a large file's case aligned to, and asking
// for, the large pages that the system hands out without stopping at each of
// the small ones.
FileBytes::Buffer newFileBuffer(size_t Size)
{
    constexpr size_t LargePage = 2 << 20;
    if (Size < LargePage)
        return FileBytes::Buffer(static_cast<char*>(std::malloc(std::max<size_t>(Size, 1))));
    const size_t rounded = (Size + LargePage - 1) / LargePage * LargePage;
    FileBytes::Buffer buffer(static_cast<char*>(std::aligned_alloc(LargePage, rounded)));
    if (buffer)
        ::madvise(buffer.get(), rounded, MADV_HUGEPAGE); // a hint: without it, small pages serve
    return buffer;
}

// A test's chance to change the file between a read and its check.
std::function<void()> afterFileRead;

struct OpenHandle {
    int Handle;
    ~OpenHandle() { ::close(Handle); }
    int handle() const { return Handle; }
};

} // namespace

FileBytes::FileBytes(const QString& FileName)
{
    // The file is read into memory, never mapped: a mapped file that another
    // program cuts short kills the reader at the first page past the new end.
    constexpr int Attempts = 5;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        // Without waiting: opening a named pipe waits for a program to write to it.
        const int handle = ::open(QFile::encodeName(FileName).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (handle < 0)
            throw EFileError(QStringLiteral("Cannot open file \"%1\". %2")
                                 .arg(FileName, QString::fromLocal8Bit(std::strerror(errno))));
        const OpenHandle file{handle};
        struct stat before {};
        if (::fstat(handle, &before) != 0)
            raiseReadError(FileName, QString::fromLocal8Bit(std::strerror(errno)));
        // A pipe, a device or a folder holds no event file that could be read, or
        // written back, as a whole.
        if (!S_ISREG(before.st_mode))
            raiseReadError(FileName, QStringLiteral("It is not a regular file."));
        const auto size = static_cast<size_t>(before.st_size);
        FBuffer = newFileBuffer(size);
        if (!FBuffer)
            throw std::bad_alloc();
        const size_t got = readUpTo(file.handle(), FBuffer.get(), size, FileName);
        if (afterFileRead)
            afterFileRead();
        char beyond = 0;
        const bool longer = readUpTo(file.handle(), &beyond, 1, FileName) != 0;
        struct stat after {};
        if (got == size && !longer && ::fstat(file.handle(), &after) == 0 && sameFile(before, after)) {
            FView = std::string_view(FBuffer.get(), size);
            return;
        }
    }
    raiseReadError(FileName, QStringLiteral("It kept changing while it was read."));
}

void setAfterFileReadForTests(std::function<void()> Hook)
{
    afterFileRead = std::move(Hook);
}

QString missingFileReason(const QString& FileName)
{
    struct stat status {};
    if (::stat(QFile::encodeName(FileName).constData(), &status) == 0)
        return {};
    return QString::fromLocal8Bit(std::strerror(errno));
}

void writeFileAtomically(const QString& FileName, QByteArrayView Bytes)
{
    struct stat old = {};
    const bool replaces = ::stat(QFile::encodeName(FileName).constData(), &old) == 0;
    QSaveFile file(FileName);
    // Unbuffered: a buffered write that failed when commit flushed it would go
    // unnoticed, and a cut file would replace the old one (a full disk).
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw EFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, file.errorString()));
    // The new file takes the old one's place for the users it was open to: its owner,
    // group and mode (outside a setgid folder it would take the saver's own group, and
    // the other members could no longer save it). A new file takes what the umask gives.
    if (replaces)
        giveOwnerGroupAndMode(file.handle(), old.st_uid, old.st_gid, old.st_mode & 0777);
    if (!writeWhole(file, Bytes) || !file.commit())
        throw EFileError(QStringLiteral("Cannot write file \"%1\". %2").arg(FileName, file.errorString()));
}
