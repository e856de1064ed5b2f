#include "storage/StorageError.h"

namespace mdb {

int errorNumber(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::FileNotFound:
            return 53;
        case ErrorKind::EndOfFileInRecord:
        case ErrorKind::MisalignedRecord:
            return 62;
        case ErrorKind::TooManyRecords:
            return 6;
        case ErrorKind::OpenFailed:
            return 75;
        case ErrorKind::ReadFailed:
            return 57;
        case ErrorKind::BadEncoding:
            return 1001;
        case ErrorKind::Unencodable:
            return 1002;
        case ErrorKind::UnwritableField:
            return 1003;
        case ErrorKind::WriteFailed:
            return 1004;
        case ErrorKind::NotRecordBoundary:
            return 1005;
        case ErrorKind::NotRegularFile:
            return 1006;
        case ErrorKind::FileTooLarge:
            return 1007;
        case ErrorKind::Utf8Text:
            return 1008;
        case ErrorKind::RecoveryFailed:
            return 1009;
        case ErrorKind::WrongFieldCount:
            return 1010;
        case ErrorKind::ChangedWhileSaving:
            return 1020;
    }
    return 0;
}

}  // namespace mdb
