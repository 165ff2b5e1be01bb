#pragma once

#include <QString>

#include <cstdint>

// What tells one version of a file from another without reading it: a save that
// replaces the file gives it a new inode, and a write in place changes its size or
// modification time. Equal identities mean the same content, as far as the file
// system can tell.
struct FileIdentity {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t Size = -1;
    std::int64_t ModifiedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at Path; the default value when there is no such file.
FileIdentity fileIdentityOf(const QString& Path);
