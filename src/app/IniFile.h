#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// Settings.ini in the Windows INI form: "[SECTION]" lines and "Key=Value" lines,
// section and key names kept exactly as written. Integers are decimal text and
// read back with their default when missing or unreadable ("0x" reads as
// hexadecimal); Booleans are 0 and 1, any other integer reading as true. Texts
// are written as UTF-8 and read as UTF-8, or as Windows-1252 when the bytes are
// not UTF-8 (a file of the Windows program).
class IniFile {
public:
    IniFile();
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    // Reads FileName; a missing or unreadable file reads as empty.
    void load(const QString& FileName);
    // Writes the whole file in one step; raises EFileError naming the file and the
    // reason when it cannot, leaving the old file as it was.
    void save(const QString& FileName) const;

    QString readString(const char* Section, const char* Key, const QString& Default) const;
    int readInteger(const char* Section, const char* Key, int Default) const;
    bool readBool(const char* Section, const char* Key, bool Default) const;
    // The values of every line of Section, in file order (also of repeated keys).
    QStringList readSectionValues(const char* Section) const;

    void writeString(const char* Section, const char* Key, const QString& Value);
    void writeInteger(const char* Section, const char* Key, int Value);
    void writeBool(const char* Section, const char* Key, bool Value);
    void eraseSection(const char* Section);

private:
    struct Data;
    std::unique_ptr<Data> d;
};

// The integer a Settings.ini value holds: optional sign, decimal digits or "0x"
// and hexadecimal digits (up to 32 bits), nothing else; false when unreadable.
bool parseIniInteger(const QString& Text, int& Value);
