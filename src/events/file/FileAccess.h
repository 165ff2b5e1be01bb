#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string_view>

// Whole-file reading and writing for the event file and the HTML page. Both
// raise EFileError with the file system's reason.

// A file's bytes as they stood at one moment, for reading once. Another program
// (a sync tool, an editor) may cut the file short or rewrite it while it is
// read: a read during which the file changed is read again, and a file that
// keeps changing raises.
class FileBytes {
public:
    explicit FileBytes(const QString& FileName);

    std::string_view view() const { return FView; }

    struct Free {
        void operator()(char* Data) const { std::free(Data); }
    };
    using Buffer = std::unique_ptr<char[], Free>;

private:
    Buffer FBuffer;
    std::string_view FView;
};

// Called by FileBytes after each reading of a file's bytes, before they are
// checked against the file as it then stands; empty to call nothing.
void setAfterFileReadForTests(std::function<void()> Hook);

// The system's reason why nothing can be found at FileName (no such file, a
// folder on the way that may not be searched); empty when something is there.
QString missingFileReason(const QString& FileName);

// Replaces the file in one step: the bytes go to a temporary file in the same
// folder, which is flushed and then renamed over the old file. A failure at
// any point leaves the old file as it was.
void writeFileAtomically(const QString& FileName, QByteArrayView Bytes);
