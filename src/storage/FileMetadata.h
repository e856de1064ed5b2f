#pragma once

#include <sys/stat.h>

#include <QByteArray>

namespace mdb {

// Gives a new file (`fd`, not yet written) what the file at `from` has beside its bytes: owner,
// group, extended attributes (the access list of an ACL among them) and permission bits, in
// that order, since a change of owner clears the set-id bits and some attributes. Returns 0
// once the new file matches, or the errno of the first step that could not be taken (EPERM
// also when the result still differs): the caller must then keep the old file's inode instead.
int giveMetadata(int fd, const QByteArray& from, const struct stat& old);

}  // namespace mdb
