#pragma once

#include <QString>

namespace mdb {

// Why reading or writing a database file failed. The number is what the user is shown for
// failures without a message of their own.
enum class ErrorKind {
    FileNotFound,       // 53
    EndOfFileInRecord,  // 62: the file ends in the middle of a record
    TooManyRecords,     // 6: the record counter would pass 2147483647
    OpenFailed,         // 75: the file exists but cannot be opened (permission, a folder, ...)
    ReadFailed,         // 57: an I/O error while reading
    BadEncoding,        // 1001: bytes that are not valid code page 932, or a NUL byte
    Unencodable,        // 1002: a character code page 932 cannot hold
    UnwritableField,    // 1003: a comma, double quote or line end the line layout cannot hold
    WriteFailed,        // 1004: creating, writing or replacing the file failed
    NotRecordBoundary,  // 1005: an append refused because the file does not end between records
    MisalignedRecord,   // 62: a line holds more or fewer fields than one record (outside quotes)
    NotRegularFile,     // 1006: a FIFO, a socket or a device where a database file belongs
    FileTooLarge,       // 1007: a file beyond the size any database file can sensibly have
    Utf8Text,           // 1008: no code page 932 but UTF-8 (a byte-order mark, or valid UTF-8)
    RecoveryFailed,     // 1009: a file that a crash left half rewritten could not be put back
    WrongFieldCount,    // 1010: a line to append that is not as wide as its table's records
    // 1020: while a save ran, another program changed the file, or renamed or replaced it under
    // a rewrite in place; the save stopped there
    ChangedWhileSaving,
};

int errorNumber(ErrorKind kind);

struct StorageError {
    ErrorKind kind = ErrorKind::ReadFailed;
    QString fileName;        // bare file name, such as "mob_stat_db.txt"
    qint32 record = 0;       // 1-based record (or line for decoding errors), 0 when not known
    qint32 line = 0;         // MisalignedRecord: 1-based line where the record begins
    int field = 0;           // 1-based field, 0 when not known
    QString fieldName;       // name of that field, when known
    QString character;       // the offending character (Unencodable, UnwritableField)
    qint64 byteOffset = -1;  // BadEncoding: offset of the first bad byte; FileTooLarge: the size
    QString detail;          // the operating system's reason, for open and write failures
    int systemError = 0;     // the errno behind `detail`, 0 when there is none
    // WriteFailed: why the folder could not take a temporary file (an errno), 0 when it could
    int folderError = 0;
    // WriteFailed: the failure came while rewriting the file in place (after the folder refused)
    bool inPlace = false;
    // WriteFailed: the file already holds its new content, but making that durable failed
    bool replaced = false;
    // WriteFailed: a rewrite in place failed and the old content could not be put back
    bool damaged = false;
    // WriteFailed: no recovery copy of the old bytes could be kept (in `recoveryCopy`, the
    // folder), so the file was not rewritten in place. RecoveryFailed, and a `damaged` rewrite:
    // the copy that still holds the old bytes, which the next start puts back.
    bool noRecoveryCopy = false;
    QString recoveryCopy;
    // noRecoveryCopy: why the state folder could not be used, in words for the user (empty
    // when the folder was usable and the copy itself failed)
    QString stateProblem;
    // A temporary file of this or an earlier save that could not be removed, to be named.
    QString leftover;

    int number() const { return errorNumber(kind); }
};

}  // namespace mdb
