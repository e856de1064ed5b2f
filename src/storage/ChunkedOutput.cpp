#include "storage/ChunkedOutput.h"

#include <errno.h>

#include <algorithm>
#include <cstring>

#include "storage/ExactBytes.h"

namespace mdb {

ChunkedOutput::ChunkedOutput(Sink sink, qsizetype chunk)
    : sink_(std::move(sink)), chunk_(std::max<qsizetype>(chunk, 1)) {
    // a piece of text encoded after a nearly full chunk: room for both, so that the buffer
    // never grows by doubling
    buffer_.reserve(chunk_ + chunk_ / 2 + 64);
}

void ChunkedOutput::handOn(QByteArrayView piece) {
    if (failed_ || piece.isEmpty()) return;
    errno = 0;
    if (!sink_(piece)) {
        failed_ = true;
        error_ = errno != 0 ? errno : EIO;
        return;
    }
    handedOn_ += piece.size();
    last_ = piece.back();
}

void ChunkedOutput::append(QByteArrayView bytes) {
    if (failed_) return;
    // a large view goes on as it stands, once what waits before it has gone
    if (bytes.size() >= chunk_) {
        handOn(buffer_);
        buffer_.resize(0);  // keeps its room
        for (qsizetype at = 0; at < bytes.size() && !failed_; at += chunk_) {
            handOn(bytes.sliced(at, std::min(chunk_, bytes.size() - at)));
        }
        return;
    }
    buffer_.append(bytes.data(), bytes.size());
    settle();
}

void ChunkedOutput::settle() {
    if (buffer_.size() < chunk_) return;
    qsizetype at = 0;
    for (; buffer_.size() - at >= chunk_ && !failed_; at += chunk_) {
        handOn(QByteArrayView(buffer_).sliced(at, chunk_));
    }
    // What is left moves to the front: removing the front instead would leave the room there,
    // and the next encoder to append would take a new buffer.
    const qsizetype left = failed_ ? 0 : buffer_.size() - at;
    if (left > 0) std::memmove(buffer_.data(), buffer_.constData() + at, size_t(left));
    buffer_.resize(left);
}

bool ChunkedOutput::finish() {
    handOn(buffer_);
    buffer_.resize(0);
    return !failed_;
}

bool encodeExactlyInPieces(QStringView text, ChunkedOutput& out) {
    // a piece of text gives at most two bytes a character: half a chunk's bytes at most, so
    // that it fits beside a buffer that is nearly a chunk already
    constexpr qsizetype kPiece = ChunkedOutput::kChunk / 4;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype end = std::min(at + kPiece, text.size());
        // a surrogate pair stays in one piece: the encoder sees whole characters only
        if (end < text.size() && text[end - 1].isHighSurrogate()) ++end;
        if (!cp932::encodeExactly(text.sliced(at, end - at), out.buffer())) return false;
        out.settle();
        at = end;
    }
    return true;
}

}  // namespace mdb
