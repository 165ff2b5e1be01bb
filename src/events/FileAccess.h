#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <string_view>

// Whole-file reading and writing for the event file and the HTML page. Both
// raise EFileError with the file system's reason.

QByteArray readWholeFile(const QString& FileName);

// A file's bytes, for reading once: mapped into memory where the file is a
// regular file (the system hands over its cached pages, with no copy into new
// memory), else read whole. Quillet's own saves replace the file by renaming a
// new one over it, so the mapped file is never cut short while it is read.
class FileBytes {
public:
    explicit FileBytes(const QString& FileName);
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    std::string_view view() const { return FView; }

private:
    QByteArray FRead;
    void* FMapping = nullptr;
    size_t FMappedSize = 0;
    std::string_view FView;
};

// Replaces the file in one step: the bytes go to a temporary file in the same
// folder, which is flushed and then renamed over the old file. A failure at
// any point leaves the old file as it was.
void writeFileAtomically(const QString& FileName, QByteArrayView Bytes);
